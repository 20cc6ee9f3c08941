#include "startup/option_flags.h"

#include "dialogs/dialog_utils.h"
#include "platform/error_event.h"
#include "state/inf_query.h"
#include "state/installer.h"
#include "sysfiles/ecp_ports.h"

#include <string>

namespace tl {
namespace {

// String-table ids of the sections and keys read here.
constexpr unsigned kWin95SetupSectionText = 71;

// The port-driver switch is read with the system's INI function into a buffer of this size.
constexpr DWORD kMessageValueSize = 384;

std::optional<InfLine> Section(const Installer& installer, std::string_view name) {
    return FindInfSection(installer.scripts, std::nullopt, name);
}

// The first line of a section, compared whole; an empty text for a missing section.
std::string FirstLine(const Installer& installer, std::string_view name) {
    std::optional<InfLine> line = Section(installer, name);
    if (!line)
        return {};
    std::optional<std::string_view> text = InfLineText(installer.scripts, *line);
    return text ? std::string(*text) : std::string{};
}

bool HasLines(const Installer& installer, std::string_view name, int atLeast) {
    return CountInfLines(installer.scripts, Section(installer, name)) >= atLeast;
}

bool ReadPortDriverMessage(Installer& installer) {
    if (!HasLines(installer, LoadTextCopy(TextId::VxdSection), 2))
        return false;
    // Read from the file itself with the INI function, not from the loaded script.
    std::string file = JoinPath(installer.paths.diskPath, LoadTextCopy(TextId::InstallInfFile));
    char value[kMessageValueSize] = {};
    installer.platform.profile.GetPrivateProfileString("VxD", "message", "", value, sizeof value,
                                                       file);
    return UpperPath(value) == "TRUE";
}

int ReadRebootMode(const Installer& installer) {
    std::string first = FirstLine(installer, "REBOOTSYSTEM");
    if (first == "1")
        return 1;
    if (first == "2")
        return 2;
    return 0;
}

bool ReadEcpCheck(const Installer& installer) {
    if (IsNoDriverSwitch(installer.commandLine))
        return false;
    std::optional<InfLine> line = Section(installer, "CheckECP");
    if (!line)
        return true;
    std::optional<std::string_view> text = InfLineText(installer.scripts, *line);
    return !text || text->empty() || text->front() != '0';
}

} // namespace

bool IsAddPrinterVersion(DWORD version) {
    DWORD major = version & 0xFFu;
    DWORD minor = (version >> 8) & 0xFFu;
    return major > 3 || (major == 3 && minor >= 90);
}

void ReadDriverPath(Installer& installer) {
    installer.paths.sourceDir = installer.paths.diskPath;
    std::string folder;
    if (!GetInfDotted(installer.scripts, LoadTextCopy(TextId::DriverPathKey), folder))
        return;
    installer.options.driverPath = true;
    if (!folder.empty())
        installer.paths.sourceDir = JoinPath(installer.paths.sourceDir, folder);
}

void ReadOptionFlags(Installer& installer) {
    OptionFlags& flags = installer.options;
    std::string fonts;
    flags.fontList =
        GetInfDotted(installer.scripts, LoadTextCopy(TextId::FontListKey), fonts) == 1 &&
        !fonts.empty();
    flags.portDriverMessage = ReadPortDriverMessage(installer);
    flags.demoFiles = HasLines(installer, LoadTextCopy(TextId::DemoFileSection), 1);
    flags.deleteInstaller =
        FirstLine(installer, LoadTextCopy(TextId::DeleteInstallerSection)) == "1";
    flags.rebootMode = ReadRebootMode(installer);
    flags.versionText = HasLines(installer, "InstVersion", 1);
    flags.ecpCheck = ReadEcpCheck(installer);
    if (flags.ecpCheck) {
        // The answer is for the printer's port software; one that cannot be written is recorded
        // and the installation goes on.
        if (const DWORD error =
                DetectEcpPorts(installer.platform.registry, installer.platform.profile))
            RecordError(installer.platform, "WriteProfileString", "WIN.INI", error);
    }
    flags.addPrinterMode = FirstLine(installer, LoadTextCopy(kWin95SetupSectionText)) == "1" &&
                           IsAddPrinterVersion(installer.platform.system.GetVersion());
    flags.versionType = FirstLine(installer, LoadTextCopy(TextId::VersionTypeSection)) == "1";
}

} // namespace tl
