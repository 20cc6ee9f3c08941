// A file port whose MoveFileEx is the Windows 95 stub (a replacement fails with 120), and whose
// chosen renames (by their order, from 1) fail with access denied.
#pragma once

#include "platform/file_system.h"
#include "platform/platform.h"

#include <set>

namespace tl::test {

class Windows95Moves final : public FileSystem {
public:
    Windows95Moves(FileSystem& inner, std::set<int> failingRenames)
        : inner_(inner), failing_(std::move(failingRenames)) {}

    FileHandle CreateFile(std::string_view path, DWORD access, DWORD share,
                          DWORD disposition) override {
        return Pass(inner_.CreateFile(path, access, share, disposition));
    }
    BOOL ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) override {
        return Pass(inner_.ReadFile(file, buffer, count, read));
    }
    BOOL WriteFile(FileHandle file, const void* buffer, DWORD count, DWORD* written) override {
        return Pass(inner_.WriteFile(file, buffer, count, written));
    }
    DWORD SetFilePointer(FileHandle file, LONG distance, DWORD method) override {
        return Pass(inner_.SetFilePointer(file, distance, method));
    }
    DWORD GetFileSize(FileHandle file) override { return Pass(inner_.GetFileSize(file)); }
    BOOL CloseHandle(FileHandle file) override { return Pass(inner_.CloseHandle(file)); }
    BOOL DeleteFile(std::string_view path) override { return Pass(inner_.DeleteFile(path)); }
    DWORD GetFileAttributes(std::string_view path) override {
        return Pass(inner_.GetFileAttributes(path));
    }
    BOOL MoveFileEx(std::string_view existing, std::string_view newName, DWORD flags) override {
        if ((flags & kMoveFileReplaceExisting) != 0)
            return Fail(120);
        if (failing_.count(++renames_) != 0)
            return Fail(kErrorAccessDenied);
        return Pass(inner_.MoveFileEx(existing, newName, flags));
    }
    DWORD GetLastError() const override { return own_ ? error_ : inner_.GetLastError(); }

private:
    template <typename T> T Pass(T result) { return own_ = false, result; }
    BOOL Fail(DWORD error) { return own_ = true, error_ = error, FALSE; }

    FileSystem& inner_;
    std::set<int> failing_;
    int renames_ = 0;
    bool own_ = false;
    DWORD error_ = 0;
};

// `platform` with its file port replaced.
inline Platform WithFiles(const Platform& p, FileSystem& files) {
    return Platform(files, p.storage, p.system, p.clock, p.codePage, p.events, p.profile,
                    p.registry, p.spooler, p.lz, p.versionInfo);
}

} // namespace tl::test
