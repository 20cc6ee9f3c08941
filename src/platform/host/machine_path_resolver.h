// Windows paths of the simulated PC -> host paths inside the machine folder.
#pragma once

#include "platform/code_page.h"
#include "platform/host/machine_config.h"
#include "platform/host/path_resolver.h"

#include <optional>
#include <string>

namespace tl::host {

struct FullPath {
    std::string path;            // "C:\DIR\FILE", ANSI, "." and ".." resolved
    DWORD error = kErrorSuccess; // 123 for a name Windows refuses, 3 for no usable path
    explicit operator bool() const { return error == kErrorSuccess; }
};

class MachinePathResolver final : public PathResolver {
public:
    // The current directory starts as the program file's directory, as when Windows starts a
    // program from its icon.
    MachinePathResolver(const MachineConfig& config, const CodePage& codePage);

    ResolvedPath Resolve(std::string_view windowsPath, PathUse use) const override;

    // GetFullPathNameA: the absolute form of a path against the current directory. Trailing dots
    // and blanks of each name are dropped, as Windows does.
    FullPath GetFullPathName(std::string_view windowsPath) const;

    // SetCurrentDirectoryA: 0 on success, else the error (2/3 not found, 21 no medium, 267 not a
    // directory).
    DWORD SetCurrentDirectory(std::string_view windowsPath);
    const std::string& GetCurrentDirectory() const { return currentDirectory_; }

    // The folder behind a drive root: 3 for a drive that does not exist, 21 for one without a
    // medium.
    ResolvedPath DriveRoot(char letter) const;

private:
    const MachineConfig& config_;
    const CodePage& codePage_;
    std::string currentDirectory_;
};

} // namespace tl::host
