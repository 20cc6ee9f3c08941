// The profile port over the files of a machine folder. Every call reads the file afresh, so
// edits that the installer makes with its own line code are seen at once; every change replaces
// the file atomically (a temporary file beside it, then a rename), so an interrupted write never
// leaves half an INI file.
#pragma once

#include "platform/host/path_resolver.h"
#include "platform/profile.h"

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

private:
    // The file's text; an empty text when it does not exist or cannot be read.
    IniText Read(std::string_view fileName) const;

    BOOL Failed(DWORD error) {
        lastError_ = error;
        return 0;
    }

    const PathResolver& resolver_;
    std::string windowsDirectory_;
    DWORD lastError_ = kErrorSuccess;
};

// GetPrivateProfileInt's reading of a value: optional sign, then decimal digits; below zero
// gives 0.
UINT ParseProfileInt(std::string_view text);

} // namespace tl::host
