#include "startup/private_settings_name.h"

#include "copy/disk_name_report.h"
#include "dialogs/dialog_utils.h"
#include "state/inf_query.h"
#include "state/installer.h"

#include <string>
#include <vector>

namespace tl {
namespace {

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal as Windows compares file names here: ASCII letters without regard to case, a
// double-byte character of code page 949 exactly (its trail byte is never folded).
bool SameFileName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

// The files of the Windows directory that the run edits or writes besides the settings file.
std::vector<std::string> EditedFiles(const Installer& installer, std::optional<InfScript> script) {
    const SetupScripts& scripts = installer.scripts;
    std::vector<std::string> names{"WIN.INI", "SYSTEM.INI", LoadTextCopy(TextId::HandOffFile)};
    for (auto line = FindInfSection(scripts, script, LoadTextCopy(TextId::DeleteIniSection)); line;
         line = NextInfLine(scripts, line)) {
        std::string spec;
        // "20:SYSTEM.INI": place 2 is the Windows directory.
        if (GetInfField(scripts, line, 1, spec) && !spec.empty() && spec[0] == '2')
            names.emplace_back(NameAfterPrefix(spec, 3));
    }
    std::string demo;
    if (GetInfKey(scripts, script, LoadTextCopy(TextId::DemoFileSection), "file", demo))
        names.emplace_back(NameAfterPrefix(demo, 2));
    return names;
}

} // namespace

bool AcceptPrivateSettingsName(Installer& installer, std::optional<InfScript> script,
                               std::string_view name) {
    const std::string lineText = LoadTextCopy(TextId::PrivateIniSection) + ": " + std::string(name);
    if (!AcceptDiskName(installer, {}, name, lineText))
        return false;
    for (const std::string& edited : EditedFiles(installer, script)) {
        if (SameFileName(name, edited)) {
            ReportBadDiskName(installer, {}, name, lineText, "the installer edits this file");
            return false;
        }
    }
    return true;
}

} // namespace tl
