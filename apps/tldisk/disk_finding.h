// What `tldisk check` finds on an install disk: each fault with the script file, section and
// line that leads the installer to it.
#pragma once

#include <string>
#include <string_view>

namespace tl::tools {

// The kinds of finding, as the report names them.
inline constexpr std::string_view kMissingFile = "missing-file";
inline constexpr std::string_view kBadCompressed = "bad-compressed";
inline constexpr std::string_view kNoVersion = "no-version";
inline constexpr std::string_view kRefusedName = "refused-name";
inline constexpr std::string_view kListTooLong = "list-too-long";
inline constexpr std::string_view kModelNameTooLong = "model-name-too-long";
inline constexpr std::string_view kMissingTag = "missing-tag";
inline constexpr std::string_view kSpaceTooSmall = "space-too-small";
inline constexpr std::string_view kMissingSection = "missing-section";
inline constexpr std::string_view kBadDeleteIni = "bad-deleteini";
inline constexpr std::string_view kBlankInValue = "blank-in-value";

struct Finding {
    std::string file;    // the script, as the disk names it ("INSTALL.INF", "WIN95\OEMSETUP.INF")
    int line = 0;        // 1-based; 0 when the section is not there at all
    std::string section; // without brackets
    std::string_view kind;
    std::string text;
};

} // namespace tl::tools
