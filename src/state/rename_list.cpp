#include "state/rename_list.h"

#include <algorithm>

namespace tl {

std::string_view RenameListErrorText(RenameListError error) {
    switch (error) {
    case RenameListError::None:
        return {};
    case RenameListError::NotHeld:
        return "The list of target file names has not been created.";
    case RenameListError::Full:
        return "The list of target file names is full.";
    case RenameListError::BadName:
        return "A target file name in the setup script is empty.";
    }
    return {};
}

std::optional<std::string_view> RenameList::Reader::Next() {
    if (pos_ >= bytes_.size() || bytes_[pos_] == '\0') {
        return std::nullopt;
    }
    const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(pos_);
    const auto end = std::find(first, bytes_.end(), '\0');
    const std::string_view name(&*first, static_cast<std::size_t>(end - first));
    pos_ += name.size() + 1;
    return name;
}

bool RenameList::Create(std::size_t capacity) {
    if (Held() || capacity == 0) {
        return false;
    }
    block_.assign(capacity, '\0');
    used_ = 0;
    return true;
}

bool RenameList::Grow(std::size_t extra) {
    if (!Held()) {
        return false;
    }
    block_.resize(block_.size() + extra, '\0');
    return true;
}

RenameListError RenameList::Append(std::string_view name) {
    if (!Held()) {
        return RenameListError::NotHeld;
    }
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return RenameListError::BadName;
    }
    // The name, its NUL, and the empty name that ends the list.
    if (block_.size() - used_ < name.size() + 2) {
        return RenameListError::Full;
    }
    std::copy(name.begin(), name.end(), block_.begin() + static_cast<std::ptrdiff_t>(used_));
    used_ += name.size();
    block_[used_++] = '\0';
    return RenameListError::None;
}

} // namespace tl
