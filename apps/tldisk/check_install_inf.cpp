// The checks of INSTALL.INF: the names it gives, the disks' tag files, the demonstration file,
// the fonts and their space figures, and [DeleteIni].
#include "check_context.h"

#include "copy/disk_name_report.h"
#include "destination/disk_space.h"
#include "destination/font_select.h"
#include "sequencer/font_copy_list.h"
#include "state/copy_list.h"
#include "state/inf_query.h"
#include "text/disk_name.h"

#include <algorithm>

namespace tl::tools {
namespace {

constexpr int kLastDisk = 9;
constexpr std::size_t kDeleteIniFields = 5;

std::optional<std::string> FirstLine(const CheckedScript& script, std::string_view section) {
    const std::optional<InfLine> line = FindInfSection(script.scripts, std::nullopt, section);
    if (!line)
        return std::nullopt;
    return std::string(InfLineText(script.scripts, *line).value_or(""));
}

void CheckOneLineNames(CheckContext& context, const CheckedScript& install) {
    for (const std::string_view section : {"PRIVATE.INI", "OEM.INF"}) {
        const std::optional<std::string> name = FirstLine(install, section);
        if (name)
            CheckName(context, install, section, 0, *name, kDiskNameMax);
    }
    const std::optional<std::string> vxd = FirstLine(install, "VxD");
    if (vxd)
        CheckName(context, install, "VxD", 0, NameAfterPrefix(*vxd, 2), kDiskNameMax);
}

void CheckDiskTags(CheckContext& context, const CheckedScript& install) {
    for (int number = 1; number <= kLastDisk; ++number) {
        const std::string section = "DISK" + std::to_string(number);
        const std::optional<InfLine> line = FindInfSection(install.scripts, std::nullopt, section);
        if (!line)
            continue;
        std::string tag;
        GetInfField(install.scripts, line, 2, tag);
        if (tag.empty()) {
            context.Add(install, section, 0, kMissingTag, "the line names no tag file");
            continue;
        }
        if (!CheckName(context, install, section, 0, tag, kDiskNameMax))
            continue;
        // The installer knows a disk by its tag file at the disk's root.
        std::error_code error;
        const auto found = FindOnDisk(context.resolver.Disk(), tag);
        if (!found || !std::filesystem::is_regular_file(*found, error))
            context.Add(install, section, 0, kMissingTag,
                        "the tag file " + tag + " is not at the root of disk " +
                            std::to_string(number));
    }
}

void CheckDemoFile(CheckContext& context, const CheckedScript& install) {
    std::string value;
    if (!GetInfKey(install.scripts, std::nullopt, "DEMOFILE", "file", value) || value.size() <= 2)
        return;
    const std::string name = value.substr(2);
    if (CheckName(context, install, "DEMOFILE", 0, name, kCopyNameMax))
        CheckDiskFile(context, install, "DEMOFILE", 0, name);
}

// The line of `section` whose text is `text` (0 when none is).
std::size_t LineOf(const CheckedScript& script, std::string_view section, std::string_view text) {
    const IndexedSection* found = script.index.Find(section);
    if (!found)
        return 0;
    for (std::size_t i = 0; i < found->lines.size(); ++i) {
        if (found->lines[i].text == text)
            return i;
    }
    return found->lines.size();
}

void CheckFonts(CheckContext& context, const CheckedScript& install) {
    std::string list;
    GetInfKey(install.scripts, std::nullopt, "TRUETYPEFONTS", "FontList", list);
    const std::vector<std::string> fonts = SplitSelectedFonts(list);
    std::size_t entries = 0;
    for (const std::string& font : fonts) {
        const std::string section = font + ".TrueType";
        if (!FindInfSection(install.scripts, std::nullopt, section)) {
            context.Add(install, "TRUETYPEFONTS",
                        LineOf(install, "TRUETYPEFONTS", "FontList=" + list), kMissingSection,
                        "the font " + font + " has no [" + section + "]");
            continue;
        }
        std::vector<FontListFault> faults;
        const std::vector<FontPair> pairs = CollectFontPairs(install.scripts, {font}, faults);
        std::uint64_t bytes = 0;
        for (const FontPair& pair : pairs) {
            const std::string text =
                pair.line.substr(std::min(pair.line.size(), section.size() + 2));
            const std::size_t line = LineOf(install, section, text);
            if (!CheckName(context, install, section, line, pair.fileName, kCopyNameMax))
                continue;
            const std::optional<std::string> path =
                CheckDiskFile(context, install, section, line, pair.fileName);
            if (path)
                bytes += ExpandedSize(context, *path).value_or(0);
        }
        entries += 2 * pairs.size();
        std::string value;
        if (!GetInfKey(install.scripts, std::nullopt, "NEEDED.SPACE", font, value))
            continue;
        const std::int64_t kilobytes =
            std::max<std::int64_t>(ParseSpaceNeeded(SplitSpaceValue(value).size), 0);
        // The space check counts kilobytes of 1,000 bytes.
        if (static_cast<std::uint64_t>(kilobytes) * 1000 < bytes) {
            const IndexedSection* space = install.index.Find("NEEDED.SPACE");
            std::size_t line = 0;
            for (; space && line < space->lines.size(); ++line) {
                if (space->lines[line].text.rfind(font + "=", 0) == 0)
                    break;
            }
            context.Add(install, "NEEDED.SPACE", line, kSpaceTooSmall,
                        font + " = " + std::to_string(kilobytes) + " KB, but its files take " +
                            std::to_string(bytes) + " bytes");
        }
    }
    if (entries > kCopyListEntries)
        context.Add(install, "TRUETYPEFONTS", 0, kListTooLong,
                    "the fonts take " + std::to_string(entries) +
                        " copy-list entries (two a font file), more than " +
                        std::to_string(kCopyListEntries));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One action line of [DeleteIni] as the editor takes it; why not, or empty.
std::string DeleteIniFault(const CheckedScript& install, InfLine line) {
    std::array<std::string, kDeleteIniFields> fields;
    for (std::size_t n = 0; n < fields.size(); ++n)
        GetInfField(install.scripts, line, static_cast<int>(n + 1), fields[n]);
    const std::string& fileField = fields[0];
    if (fileField.size() < 4 || !IsDigit(fileField[0]) || !IsDigit(fileField[1]) ||
        fileField[2] != ':')
        return "\"" + fileField +
               "\" is not a place digit, a file digit, \":\" and an INI file name";
    const DiskNameFault iniFault = CheckDiskName(NameAfterPrefix(fileField, 3));
    if (iniFault != DiskNameFault::None)
        return "the INI file name \"" + fileField.substr(3) +
               "\": " + std::string(DiskNameFaultText(iniFault));
    if (fields[1].empty() || fields[2].empty())
        return "the line names no INI section or key";
    const std::string& removal = fields[3];
    if (removal.size() <= 2 || removal[1] != ':')
        return "\"" + removal + "\" is not a digit, \":\" and the file to take out";
    const DiskNameFault fileFault = CheckDiskName(NameAfterPrefix(removal, 2));
    if (fileFault != DiskNameFault::None)
        return "the file name \"" + removal.substr(2) +
               "\": " + std::string(DiskNameFaultText(fileFault));
    return {};
}

// Walked as the installer walks it: a line that does not begin with "2" sets the mode, and the
// line after it is an action line whatever it begins with.
void CheckDeleteIni(CheckContext& context, const CheckedScript& install) {
    std::optional<InfLine> line = FindInfSection(install.scripts, std::nullopt, "DeleteIni");
    std::size_t index = 0;
    while (line) {
        const std::string_view text = InfLineText(install.scripts, *line).value_or("");
        if (text.empty() || text.front() != '2') {
            line = NextInfLine(install.scripts, line);
            ++index;
            if (!line) {
                context.Add(install, "DeleteIni", index - 1, kBadDeleteIni,
                            "a mode line with no action line after it");
                break;
            }
        }
        const std::string fault = DeleteIniFault(install, *line);
        if (!fault.empty())
            context.Add(install, "DeleteIni", index, kBadDeleteIni, fault);
        line = NextInfLine(install.scripts, line);
        ++index;
    }
}

} // namespace

void CheckInstallInf(CheckContext& context, const CheckedScript& install) {
    CheckOneLineNames(context, install);
    CheckDiskTags(context, install);
    CheckDemoFile(context, install);
    CheckFonts(context, install);
    CheckDeleteIni(context, install);
}

} // namespace tl::tools
