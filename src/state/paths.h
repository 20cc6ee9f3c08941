// The installer's directories and files, and the small path operations that start-up needs.
// Paths are Windows paths in ANSI (code page 949) bytes.
#pragma once

#include <string>
#include <string_view>

namespace tl {

struct Paths {
    std::string windowsDir; // upper-cased
    std::string systemDir;
    std::string privateSettingsFile; // full path of the private settings file
    std::string diskPath;            // where INSTALL.INF is, without trailing "\"
    std::string sourceDir;           // the disk path plus the driver folder, if any
    std::string fontDir;
    std::string installInfPath; // full path of the INSTALL.INF that was loaded
};

// The settings file's name when INSTALL.INF names none.
inline constexpr std::string_view kDefaultPrivateSettingsFile = "tlsetup.ini";
// Section "Install" of the private settings file.
inline constexpr const char* kInstallSection = "Install";

// `dir` + "\" + `name`.
std::string JoinPath(std::string_view dir, std::string_view name);

// The path cut before its last "\" (the directory of a file); the whole path when it has none.
std::string DirectoryOf(std::string_view path);

// Removes every trailing "\" ("A:\" gives "A:").
std::string RemoveTrailingBackslashes(std::string path);
// Removes one trailing "\" ("C:\FONTS\\" gives "C:\FONTS\").
std::string RemoveOneTrailingBackslash(std::string path);

// Upper-cases the ASCII letters of a code-page-949 text. The second byte of a double-byte
// character may fall in the ASCII letter range and is left as it is, as CharUpper does.
std::string UpperPath(std::string_view text);

} // namespace tl
