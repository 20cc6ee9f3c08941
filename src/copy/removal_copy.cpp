#include "copy/removal_copy.h"

#include "platform/error_event.h"
#include "platform/file_system.h"
#include "state/copy_list.h"
#include "state/installer.h"
#include "state/removal_log.h"

#include <array>

namespace tl {

namespace {

constexpr int kCopyNames = 100;
constexpr DWORD kCopyPiece = 32768;

bool Exists(Installer& installer, std::string_view path) {
    return installer.platform.files.GetFileAttributes(path) != kInvalidFileAttributes;
}

bool Failed(Installer& installer, const char* call, std::string_view file) {
    RecordError(installer.platform, call, file, installer.platform.files.GetLastError());
    return false;
}

// The first free name of "R00" to "R99" in place of the file name's extension (TLCORE.DLL gives
// TLCORE.R00, README gives README.R00); empty when all are taken.
std::string RemovalCopyName(Installer& installer, std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.find('.', nameStart);
    std::string name(path.substr(0, dot));
    name += ".R00";
    for (int number = 0; number < kCopyNames; ++number) {
        name[name.size() - 2] = static_cast<char>('0' + number / 10);
        name[name.size() - 1] = static_cast<char>('0' + number % 10);
        if (!Exists(installer, name))
            return name;
    }
    return {};
}

} // namespace

bool CopyFileBytes(Installer& installer, std::string_view source, std::string_view target) {
    FileSystem& files = installer.platform.files;
    const FileHandle in = files.CreateFile(source, kGenericRead, kFileShareRead, kOpenExisting);
    if (!in)
        return Failed(installer, "CreateFile", source);
    const FileHandle out = files.CreateFile(target, kGenericWrite, kFileShareNone, kCreateNew);
    if (!out) {
        Failed(installer, "CreateFile", target);
        files.CloseHandle(in);
        return false;
    }
    std::array<char, kCopyPiece> buffer;
    bool copied = true;
    for (;;) {
        DWORD read = 0;
        if (!files.ReadFile(in, buffer.data(), kCopyPiece, &read)) {
            copied = Failed(installer, "ReadFile", source);
            break;
        }
        if (read == 0)
            break;
        DWORD written = 0;
        if (!files.WriteFile(out, buffer.data(), read, &written) || written != read) {
            copied = Failed(installer, "WriteFile", target);
            break;
        }
    }
    files.CloseHandle(in);
    files.CloseHandle(out);
    if (!copied)
        files.DeleteFile(target);
    return copied;
}

bool RecordInstalledFile(Installer& installer, int kind, std::string_view destination,
                         std::string_view earlierCopy) {
    const bool existed = Exists(installer, destination);
    std::string copy(earlierCopy);
    const bool makeCopy = existed && copy.empty();
    if (makeCopy)
        copy = RemovalCopyName(installer, destination);
    if (existed && copy.empty()) {
        // No free name: without a way back the earlier file is not replaced.
        RecordError(installer.platform, "RemovalCopy", destination, kErrorFileExists);
        return false;
    }
    const std::string kindText = std::to_string(kind);
    // The record comes first: a copy made without it would be left behind by an installation
    // that stopped in between, while a record without its copy only keeps the removal from
    // touching the file.
    if (!WriteRemovalRecord(installer, {removal_record::kFile, kindText, existed ? "1" : "0",
                                        destination, existed ? std::string_view(copy) : ""}))
        return false;
    return !makeCopy || CopyFileBytes(installer, destination, copy);
}

} // namespace tl
