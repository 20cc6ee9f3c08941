// The profile port over the files of a machine folder. Every call reads the file afresh, so
// edits that the installer makes with its own line code are seen at once; every change replaces
// the file atomically (a temporary file beside it, then a rename), so an interrupted write never
// leaves half an INI file.
#pragma once

#include "platform/host/drive_space.h"
#include "platform/host/fault_plan.h"
#include "platform/host/path_resolver.h"
#include "platform/profile.h"

#include <functional>
#include <optional>
#include <string>

namespace tl::host {

class IniText;

class HostProfile final : public Profile {
public:
    // windowsDirectory: the simulated PC's Windows directory ("C:\WINDOWS"), where file names
    // without a directory are looked for.
    HostProfile(const PathResolver& resolver, std::string windowsDirectory);

    DWORD GetPrivateProfileString(const char* appName, const char* keyName,
                                  const char* defaultValue, char* buffer, DWORD size,
                                  std::string_view fileName) override;
    UINT GetPrivateProfileInt(const char* appName, const char* keyName, int defaultValue,
                              std::string_view fileName) override;
    BOOL WritePrivateProfileString(const char* appName, const char* keyName, const char* value,
                                   std::string_view fileName) override;
    DWORD GetLastError() const override { return lastError_; }

    // The Windows path that a profile file name stands for.
    std::string ProfilePath(std::string_view fileName) const;

    // The free space a write uses up (none: the host's own, not counted).
    void SetDriveSpace(DriveSpace* space) { space_ = space; }
    // A test's fault plan (see fault_plan.h).
    void SetFaultPlan(FaultPlan* faults) { faults_ = faults; }
    // Where a failed write also leaves its error code (the file system's GetLastError), as
    // Windows keeps one last error for every call.
    void SetLastErrorSink(std::function<void(DWORD)> sink) { setLastError_ = std::move(sink); }

private:
    BOOL Fail(DWORD error) const;

    // The file's text; an empty text when it does not exist or cannot be read.
    IniText Read(std::string_view fileName) const;

    BOOL Failed(DWORD error) const { return Fail(error); }

    const PathResolver& resolver_;
    std::string windowsDirectory_;
    mutable DWORD lastError_ = kErrorSuccess;
    DriveSpace* space_ = nullptr;
    FaultPlan* faults_ = nullptr;
    std::function<void(DWORD)> setLastError_;
};

// GetPrivateProfileInt's reading of a value: optional sign, then decimal digits; below zero
// gives 0.
UINT ParseProfileInt(std::string_view text);

} // namespace tl::host
