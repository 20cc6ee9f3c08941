#include "destination/disk_space.h"

#include "dialogs/dialog_utils.h"
#include "platform/error_event.h"
#include "state/installer.h"

#include <limits>
#include <string>

namespace tl {

namespace {

// The root of the drive a directory lies on. "C:\WINDOWS" and "C:FONTS" both give "C:\", so a
// drive-relative path is tested on its drive rather than refused as a bad drive name.
std::string DriveRoot(std::string_view directory) {
    if (directory.size() >= 2 && directory[1] == ':') {
        return std::string(directory.substr(0, 2)) + "\\";
    }
    return std::string(directory.substr(0, 3));
}

// Restores the error mode it replaced, on every way out of the probe.
class CriticalErrorsOff {
public:
    explicit CriticalErrorsOff(System& system) : system_(system) {
        system_.SetErrorMode(kSemFailCriticalErrors);
    }
    ~CriticalErrorsOff() { system_.SetErrorMode(0); }
    CriticalErrorsOff(const CriticalErrorsOff&) = delete;
    CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

private:
    System& system_;
};

// a * b without wrapping: a count that large is "more than anything needs".
std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return a * b;
}

// "Drive X is not a valid disk drive" and "... is a read-only disk drive": the tail says which,
// so it names the message.
void ShowDriveMessage(Installer& installer, WindowHandle owner, std::string_view letter,
                      unsigned tailId) {
    const std::string text =
        LoadTextCopy(TextId::Drive) + std::string(letter) + LoadTextCopy(tailId);
    installer.windows.MessageBox(owner, text, LoadTextCopy(TextId::WarningCaption),
                                 MB_OK | MB_ICONHAND, MessageKey(tailId));
}

} // namespace

std::int64_t ParseSpaceNeeded(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (value > (kLimit - digit) / 10) {
            value = kLimit;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::optional<std::uint64_t> GetDriveFreeSpace(Platform& platform, std::string_view rootPath) {
    const CriticalErrorsOff guard(platform.system);
    DiskFreeSpace space;
    if (!platform.storage.GetDiskFreeSpace(rootPath, &space)) {
        return std::nullopt;
    }
    // The classic answer stops at 2 GB; the extended one has the true figure where the
    // system offers it.
    std::uint64_t free = SaturatingProduct(
        SaturatingProduct(space.freeClusters, space.sectorsPerCluster), space.bytesPerSector);
    DiskFreeSpaceEx wide;
    if (platform.storage.GetDiskFreeSpaceEx(rootPath, &wide) && wide.freeBytesAvailable > free) {
        free = wide.freeBytesAvailable;
    }
    return free;
}

bool TestDriveWritable(Platform& platform, char letter) {
    const CriticalErrorsOff guard(platform.system);
    std::string probe = "?:\\UTEMP.DAT";
    probe[0] = letter;
    FileHandle file = platform.files.CreateFile(probe, kGenericWrite, kFileShareNone, kCreateNew);
    if (file) {
        platform.files.CloseHandle(file);
        if (!platform.files.DeleteFile(probe)) {
            // The drive is writable all the same; the probe is left behind, and said so.
            RecordError(platform, "DeleteFile", probe, platform.files.GetLastError());
        }
        return true;
    }
    if (const DWORD error = platform.files.GetLastError(); error != kErrorFileExists) {
        RecordError(platform, "CreateFile", probe, error);
        return false;
    }
    // A file of that name is already there and may be someone's: opening it for writing,
    // without truncating it, proves the drive writable and leaves the file as it was.
    file = platform.files.CreateFile(probe, kGenericWrite, kFileShareRead, kOpenExisting);
    if (!file) {
        RecordError(platform, "CreateFile", probe, platform.files.GetLastError());
        return false;
    }
    platform.files.CloseHandle(file);
    return true;
}

bool CheckDriveSpace(Installer& installer, WindowHandle owner, WriteProbe writeProbe,
                     SpaceCheckDir which) {
    const std::string& directory =
        which == SpaceCheckDir::Font ? installer.paths.fontDir : installer.paths.windowsDir;
    const std::string_view letter = std::string_view(directory).substr(0, 1);

    const std::optional<std::uint64_t> freeBytes =
        GetDriveFreeSpace(installer.platform, DriveRoot(directory));
    if (!freeBytes) {
        ShowDriveMessage(installer, owner, letter, Id(TextId::InvalidDriveTail));
        return false;
    }

    const std::string& needed = installer.destination.spaceNeeded;
    const std::uint64_t freeKb = *freeBytes >> 10;
    const std::int64_t neededKb = ParseSpaceNeeded(needed);
    if (neededKb > 0 && static_cast<std::uint64_t>(neededKb) > freeKb) {
        const std::string text =
            LoadTextCopy(TextId::SpaceNeeded) + needed + LoadTextCopy(TextId::SpaceNeededTail);
        installer.windows.MessageBox(owner, text, LoadTextCopy(TextId::WarningCaption),
                                     MB_OK | MB_ICONEXCLAMATION, MessageKey(TextId::SpaceNeeded));
        return false;
    }

    if (writeProbe == WriteProbe::Skip) {
        return true;
    }
    if (letter.empty() || !TestDriveWritable(installer.platform, letter[0])) {
        ShowDriveMessage(installer, owner, letter, Id(TextId::ReadOnlyDriveTail));
        return false;
    }
    return true;
}

} // namespace tl
