// The file and storage ports over a machine folder: Windows paths resolved into the drive folders,
// with the drive states, write protection, files held open by other programs ([InUse]), sharing
// between this program's own handles and the reported free space that machine.ini describes.
#pragma once

#include "platform/file_system.h"
#include "platform/host/drive_space.h"
#include "platform/host/fault_plan.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/storage.h"

#include <array>
#include <filesystem>
#include <map>
#include <optional>

namespace tl::host {

class MachineFileSystem final : public FileSystem, public Storage, public DriveSpace {
public:
    MachineFileSystem(const MachineConfig& config, MachinePathResolver& resolver);
    ~MachineFileSystem() override;
    MachineFileSystem(const MachineFileSystem&) = delete;
    MachineFileSystem& operator=(const MachineFileSystem&) = delete;

    FileHandle CreateFile(std::string_view path, DWORD access, DWORD shareMode,
                          DWORD disposition) override;
    BOOL ReadFile(FileHandle file, void* buffer, DWORD count, DWORD* read) override;
    BOOL WriteFile(FileHandle file, const void* buffer, DWORD count, DWORD* written) override;
    DWORD SetFilePointer(FileHandle file, LONG distance, DWORD method) override;
    DWORD GetFileSize(FileHandle file) override;
    BOOL CloseHandle(FileHandle file) override;
    BOOL DeleteFile(std::string_view path) override;
    DWORD GetFileAttributes(std::string_view path) override;
    BOOL MoveFileEx(std::string_view existing, std::string_view newName, DWORD flags) override;
    DWORD GetLastError() const override { return lastError_; }
    // The error another adapter of the same PC (the profile functions) leaves for GetLastError.
    void SetLastError(DWORD error) { lastError_ = error; }

    BOOL GetFileTime(FileHandle file, FILETIME* creation, FILETIME* lastAccess,
                     FILETIME* lastWrite) override;
    BOOL SetFileTime(FileHandle file, const FILETIME* creation, const FILETIME* lastAccess,
                     const FILETIME* lastWrite) override;

    BOOL CreateDirectory(std::string_view path) override;
    BOOL RemoveDirectory(std::string_view path) override;
    BOOL SetCurrentDirectory(std::string_view path) override;
    std::string GetCurrentDirectory() const override;

    BOOL GetDiskFreeSpace(std::string_view rootPath, DiskFreeSpace* space) override;
    BOOL GetDiskFreeSpaceEx(std::string_view path, DiskFreeSpaceEx* space) override;
    DWORD GetLogicalDrives() const override;
    UINT GetDriveType(std::string_view rootPath) const override;

    char DriveOf(std::string_view windowsPath) const override;
    std::optional<std::uint64_t> Room(char drive) const override;
    void Count(char drive, std::int64_t change) override;

    // Whether another program holds the file open ([InUse]).
    bool IsInUse(const std::filesystem::path& host) const;
    // A test's fault plan, asked before every create, write, move, delete and read.
    void SetFaultPlan(FaultPlan* faults) { faults_ = faults; }
    // Handles not yet closed (a test's leak check).
    std::size_t OpenHandleCount() const { return files_.size(); }

private:
    struct OpenFile {
        int fd = -1;
        std::filesystem::path host;
        char drive = 0;
        DWORD access = 0;
        DWORD share = 0;
    };

    BOOL Fail(DWORD error);
    // The planned fault of the call, or 0.
    DWORD Fault(FaultKind kind, const std::filesystem::path& file) {
        return faults_ != nullptr ? faults_->Call(kind, file) : 0;
    }
    OpenFile* Find(FileHandle file);
    DWORD WriteRefusal(char letter) const;
    bool HasOpenHandle(const std::filesystem::path& host) const;
    bool SharingConflict(const std::filesystem::path& host, DWORD access, DWORD share) const;
    // Free bytes of a drive: what is left of FreeBytes, or the host's own count.
    std::optional<std::uint64_t> FreeBytes(char letter, std::uint64_t* total) const;
    void Release(char letter, std::uint64_t bytes);

    const MachineConfig& config_;
    MachinePathResolver& resolver_;
    std::map<std::uint32_t, OpenFile> files_;
    std::uint32_t nextHandle_ = 1;
    // What is left of each drive's FreeBytes: writing that grows files uses it up, deleting
    // and truncating gives it back.
    std::array<std::optional<std::uint64_t>, 26> budget_{};
    DWORD lastError_ = kErrorSuccess;
    FaultPlan* faults_ = nullptr;
};

} // namespace tl::host
