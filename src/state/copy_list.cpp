#include "state/copy_list.h"

#include <algorithm>
#include <cstring>

namespace tl {

namespace {

CopyListError CheckName(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return CopyListError::BadName;
    }
    if (name.size() > kCopyNameMax) {
        return CopyListError::NameTooLong;
    }
    return CopyListError::None;
}

} // namespace

std::string_view CopyListErrorText(CopyListError error) {
    switch (error) {
    case CopyListError::None:
        return {};
    case CopyListError::ListFull:
        return "The copy list is full: at most 160 files can be installed in one step.";
    case CopyListError::NameTooLong:
        return "A file name in the setup script is longer than 140 characters.";
    case CopyListError::BadName:
        return "A file name in the setup script is empty.";
    case CopyListError::BadFlag:
        return "A copy-list entry needs a kind.";
    }
    return {};
}

std::size_t CopyList::Count() const {
    std::size_t count = 0;
    while (count < kCopyListEntries && Flag(count) != 0) {
        ++count;
    }
    return count;
}

std::string_view CopyList::Name(std::size_t i) const {
    const auto entry = EntryBytes(i);
    // The field always holds a NUL (the writer leaves the last byte 0), but never read past it.
    const auto first = entry.begin() + kCopyNameOffset;
    const auto end = std::find(first, entry.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(&*first), static_cast<std::size_t>(end - first)};
}

std::span<const std::uint8_t, kCopyEntrySize> CopyList::EntryBytes(std::size_t i) const {
    return std::span<const std::uint8_t, kCopyEntrySize>(bytes_.data() + i * kCopyEntrySize,
                                                         kCopyEntrySize);
}

std::span<std::uint8_t, kCopyEntrySize> CopyList::Entry(std::size_t i) {
    return std::span<std::uint8_t, kCopyEntrySize>(bytes_.data() + i * kCopyEntrySize,
                                                   kCopyEntrySize);
}

void CopyList::WriteEntry(std::size_t i, std::uint8_t flag, char diskDigit, std::string_view name) {
    auto entry = Entry(i);
    std::fill(entry.begin(), entry.end(), std::uint8_t{0});
    entry[0] = flag;
    entry[1] = static_cast<std::uint8_t>(diskDigit);
    entry[2] = static_cast<std::uint8_t>(kCopySeparator);
    std::memcpy(entry.data() + kCopyNameOffset, name.data(), name.size());
}

CopyListError CopyList::Append(std::uint8_t flag, char diskDigit, std::string_view name,
                               std::size_t* index) {
    if (flag == 0) {
        return CopyListError::BadFlag;
    }
    if (const CopyListError error = CheckName(name); error != CopyListError::None) {
        return error;
    }
    const std::size_t at = Count();
    if (at >= kCopyListEntries) {
        return CopyListError::ListFull;
    }
    WriteEntry(at, flag, diskDigit, name);
    if (at + 1 < kCopyListEntries) {
        bytes_[(at + 1) * kCopyEntrySize] = 0;
    }
    if (index != nullptr) {
        *index = at;
    }
    return CopyListError::None;
}

CopyListError CopyList::AppendFontPair(char diskDigit, std::string_view fileName,
                                       std::string_view registryName) {
    if (const CopyListError error = CheckName(fileName); error != CopyListError::None) {
        return error;
    }
    if (const CopyListError error = CheckName(registryName); error != CopyListError::None) {
        return error;
    }
    if (Count() + 2 > kCopyListEntries) {
        return CopyListError::ListFull;
    }
    Append(kFlagFont, diskDigit, fileName);
    Append(kFlagSkipped, '0', registryName);
    return CopyListError::None;
}

bool CopyList::SetFlag(std::size_t i, std::uint8_t flag) {
    if (flag == 0 || i >= Count()) {
        return false;
    }
    bytes_[i * kCopyEntrySize] = flag;
    return true;
}

bool CopyList::Truncate(std::size_t count) {
    if (count > Count()) {
        return false;
    }
    if (count < kCopyListEntries) {
        bytes_[count * kCopyEntrySize] = 0;
    }
    return true;
}

} // namespace tl
