// The copy list: the one table that says which files a copy run installs. The selection steps
// fill it, the version check marks entries in it, the copy engine walks it and the spooler
// registration builds the driver's dependent files from it.
//
// The table keeps its historic byte layout, because tests and the spooler code read the entries'
// bytes: 160 entries of 144 bytes, entry i at byte i * 144:
//
//   byte 0      flag: kind character "0".."6" in bits 0-6, bit 7 the version-check mark,
//               0 ends the list
//   byte 1      disk digit "1".."9" ("0" in the name entry of a font pair)
//   byte 2      separator ":" (written, never read)
//   bytes 3..   the file name, NUL-terminated (at most 140 bytes of text)
//
// The list ends at the first entry whose flag is 0, or after the 160th entry. Fillers only append
// through `Append`/`AppendFontPair`, which refuse what does not fit instead of writing past the
// table or cutting a name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tl {

inline constexpr std::size_t kCopyListEntries = 160;
inline constexpr std::size_t kCopyEntrySize = 144;
inline constexpr std::size_t kCopyNameOffset = 3;
// The name field holds 141 bytes: 140 of text and the NUL.
inline constexpr std::size_t kCopyNameMax = kCopyEntrySize - kCopyNameOffset - 1;

// Flag bytes the fillers write.
inline constexpr std::uint8_t kFlagSkipped = '0';
inline constexpr std::uint8_t kFlagSystemFile = '1';
inline constexpr std::uint8_t kFlagDemoFile = '3';
inline constexpr std::uint8_t kFlagFont = '5';
inline constexpr std::uint8_t kFlagRenamed = '6';
inline constexpr std::uint8_t kFlagVersionCheck = 0x80; // bit 7, or-ed into a kind character
inline constexpr std::uint8_t kFlagDriver = kFlagSystemFile | kFlagVersionCheck;     // 0xB1
inline constexpr std::uint8_t kFlagDevice = '2' | kFlagVersionCheck;                 // 0xB2
inline constexpr std::uint8_t kFlagRenamedDriver = kFlagRenamed | kFlagVersionCheck; // 0xB6
inline constexpr char kCopySeparator = ':';

// Kinds as the walkers read them. Anything above 6 (a flag below "0" gives such a kind too) is
// passed over like kind 0.
inline constexpr int kKindSkipped = 0;
inline constexpr int kKindSystemFile = 1;
inline constexpr int kKindDevice = 2;
inline constexpr int kKindDemoFile = 3;
inline constexpr int kKindFont = 5;
inline constexpr int kKindRenamed = 6;

// The kind of a flag byte: the flag minus 0x30, bit 7 cleared (the low seven bits of the
// difference, taken as a byte).
constexpr int CopyKind(std::uint8_t flag) {
    return static_cast<std::uint8_t>(flag - 0x30u) & 0x7F;
}

// Why a filler's write was refused; nothing was written then.
enum class CopyListError {
    None,
    ListFull,    // the 160 entries are taken (or a font pair needs two and one is left)
    NameTooLong, // more than 140 bytes: it would not fit the entry, and a cut name is wrong
    BadName,     // empty, or holding a NUL
    BadFlag,     // flag 0 would end the list instead of adding an entry
};

// A fixed English text for the caller's report.
std::string_view CopyListErrorText(CopyListError error);

class CopyList {
public:
    CopyList() = default;

    // Entries up to the first zero flag, at most 160.
    std::size_t Count() const;
    bool Empty() const { return Flag(0) == 0; }

    // Reading entry i (i < 160).
    std::uint8_t Flag(std::size_t i) const { return bytes_[i * kCopyEntrySize]; }
    int Kind(std::size_t i) const { return CopyKind(Flag(i)); }
    char DiskDigit(std::size_t i) const {
        return static_cast<char>(bytes_[i * kCopyEntrySize + 1]);
    }
    // The disk digit minus "0"; a digit below "0" gives a negative number.
    int DiskNumber(std::size_t i) const { return DiskDigit(i) - '0'; }
    std::string_view Name(std::size_t i) const;

    // The 144 bytes of entry i, and the whole table.
    std::span<const std::uint8_t, kCopyEntrySize> EntryBytes(std::size_t i) const;
    std::span<const std::uint8_t> Bytes() const { return bytes_; }

    // Starts a fill from entry 0: the list is empty afterwards.
    void Clear() { bytes_.fill(0); }

    // Writes an entry (flag, disk digit, ":", name) behind the last one and ends the list behind
    // it where there is room. Returns the entry's index through `index` when given.
    CopyListError Append(std::uint8_t flag, char diskDigit, std::string_view name,
                         std::size_t* index = nullptr);

    // A font file entry (flag "5") directly followed by its name entry (flag "0", disk "0", the
    // font's registry name); both or neither are written.
    CopyListError AppendFontPair(char diskDigit, std::string_view fileName,
                                 std::string_view registryName);

    // Overwrites the flag of an existing entry (marking it skipped, or setting the version-check
    // mark); refused (false) for a zero flag or an index at or behind the end of the list.
    bool SetFlag(std::size_t i, std::uint8_t flag);
    bool MarkSkipped(std::size_t i) { return SetFlag(i, kFlagSkipped); }

    // Ends the list at entry `count` (the entries behind it are dropped); refused (false) when
    // the list holds fewer entries.
    bool Truncate(std::size_t count);

private:
    std::span<std::uint8_t, kCopyEntrySize> Entry(std::size_t i);
    void WriteEntry(std::size_t i, std::uint8_t flag, char diskDigit, std::string_view name);

    std::array<std::uint8_t, kCopyListEntries * kCopyEntrySize> bytes_{};
};

} // namespace tl
