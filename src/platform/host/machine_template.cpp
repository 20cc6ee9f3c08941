#include "platform/host/machine_template.h"

#include "platform/host/machine_template_texts.h"
#include "platform/host/version_image_writer.h"

#include <algorithm>
#include <charconv>

namespace tl::host {
namespace {

constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE\\";
constexpr std::string_view kFontsKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
constexpr std::string_view kPrintKey =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print";

// Fonts of a fresh Korean Windows 95 (names in UTF-8 here, code page 949 in the machine).
struct FontEntry {
    std::string_view name;
    std::string_view file;
};
constexpr FontEntry kFonts[] = {
    {"Arial (TrueType)", "ARIAL.TTF"},           {"Courier New (TrueType)", "COUR.TTF"},
    {"Times New Roman (TrueType)", "TIMES.TTF"}, {"굴림 & 굴림체 (TrueType)", "GULIM.TTF"},
    {"바탕 & 바탕체 (TrueType)", "BATANG.TTF"},
};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Text(std::string_view text) {
    std::string data(text);
    data += '\0';
    return data;
}

// The bytes of a font file: a TrueType offset table with no tables. The installer and the
// simulated PC look only at font files' names and sizes.
std::string FontBytes(std::string_view file) {
    std::string bytes("\0\1\0\0\0\0\0\0\0\0\0\0", 12);
    bytes += "tlmachine font ";
    bytes += file;
    return bytes;
}

// The names of a Windows path after "X:\", or none when it is not a full path of a directory
// that Windows 95 could have: "X:\NAME[\NAME...]" without empty, "." or ".." names or characters
// that names cannot hold.
std::optional<std::vector<std::string>> DirectoryNames(std::string_view path) {
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\') {
        return std::nullopt;
    }
    char drive = Lower(path[0]);
    if (drive < 'a' || drive > 'z') {
        return std::nullopt;
    }
    std::vector<std::string> names;
    std::string_view rest = path.substr(3);
    while (true) {
        std::size_t cut = rest.find('\\');
        std::string_view name = rest.substr(0, cut);
        if (name.empty() || name.back() == '.' || name.back() == ' ' || name.front() == ' ') {
            return std::nullopt;
        }
        for (char c : name) {
            if (static_cast<unsigned char>(c) < 0x20 ||
                std::string_view("/:*?\"<>|").find(c) != std::string_view::npos) {
                return std::nullopt;
            }
        }
        names.emplace_back(name);
        if (cut == std::string_view::npos) {
            return names;
        }
        rest.remove_prefix(cut + 1);
    }
}

std::string FormatVersion(BYTE major, BYTE minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

// The parallel port as the BIOS enumerator lists it, an ECP port under its own device id.
void AddParallelPorts(const MachineTemplateOptions& options, MachineTemplate& machine) {
    for (int port = 1; port <= 3; ++port) {
        bool ecp = std::find(options.ecpPorts.begin(), options.ecpPorts.end(), port) !=
                   options.ecpPorts.end();
        if (port != 1 && !ecp) {
            continue;
        }
        std::string key = std::string(kLocalMachine) + "Enum\\BIOS\\" +
                          (ecp ? "*PNP0401" : "*PNP0400") + "\\0" + std::to_string(port - 1);
        std::string name = "LPT" + std::to_string(port);
        machine.registry.push_back({key, "Class", 1, Text("Ports")});
        machine.registry.push_back(
            {key, "DeviceDesc", 1, Text(ecp ? "ECP Printer Port" : "Printer Port")});
        machine.registry.push_back({key, "PortName", 1, Text(name)});
        machine.registry.push_back({key, "Mfg", 1, Text("(Standard port types)")});
    }
}

void AddSpooler(MachineTemplate& machine) {
    std::string print(kPrintKey);
    machine.registry.push_back(
        {print + "\\Environments\\Windows 4.0", "Directory", 1, Text("WIN40")});
    machine.registryKeys.push_back(print + "\\Environments\\Windows 4.0\\Drivers");
    machine.registry.push_back({print + "\\Environments\\Windows 4.0\\Print Processors\\WinPrint",
                                "Driver", 1, Text("SPOOLSS.DLL")});
    machine.registry.push_back(
        {print + "\\Monitors\\Local Port", "Driver", 1, Text("SPOOLSS.DLL")});
    machine.registryKeys.push_back(print + "\\Printers");
}

// The parallel-port virtual device driver: an LE image whose version resource says `version`.
std::string LptVxdBytes(const std::array<WORD, 4>& version) {
    VersionRecord record;
    record.fileVersion = version;
    record.productVersion = version;
    record.fileOS = kVosDosWindows32;
    record.fileType = kVftVxd;
    record.strings = {{"FileDescription", "Parallel port driver"},
                      {"FileVersion", std::to_string(version[0]) + "." +
                                          std::to_string(version[1]) + "." +
                                          std::to_string(version[3])},
                      {"OriginalFilename", "LPT.VXD"}};
    std::vector<BYTE> image = WriteLeImage(record);
    return std::string(image.begin(), image.end());
}

} // namespace

std::optional<std::filesystem::path> TemplateHostPath(const std::filesystem::path& machineDir,
                                                      std::string_view windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') {
        return std::nullopt;
    }
    std::filesystem::path path = machineDir / (std::string("drive_") + Lower(windowsPath[0]));
    std::string_view rest = windowsPath.substr(2);
    while (!rest.empty()) {
        std::size_t cut = rest.find('\\');
        std::string_view name = rest.substr(0, cut);
        if (!name.empty()) {
            path /= std::string(name);
        }
        if (cut == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(cut + 1);
    }
    return path;
}

MachineTemplateResult BuildMachineTemplate(const MachineTemplateOptions& options,
                                           const CodePage& codePage) {
    std::optional<std::vector<std::string>> names = DirectoryNames(options.windowsDirectory);
    if (!names) {
        return {std::nullopt,
                "the Windows directory must be a full path such as C:\\WINDOWS, not " +
                    codePage.ToUtf8(options.windowsDirectory)};
    }
    for (int port : options.ecpPorts) {
        if (port < 1 || port > 3) {
            return {std::nullopt, "ECP ports are LPT1, LPT2 or LPT3"};
        }
    }
    MachineTemplate machine;
    const std::string& windows = options.windowsDirectory;
    const std::string system = windows + "\\SYSTEM";
    const std::string fonts = windows + "\\FONTS";
    const char drive = static_cast<char>(Lower(windows[0]) - 'a' + 'A');

    std::string ini = "; A Windows 95 PC made by tlmachine init.\n[Machine]\n";
    ini += "WindowsDirectory=" + codePage.ToUtf8(windows) + "\n";
    ini += "SystemDirectory=" + codePage.ToUtf8(system) + "\n";
    ini += "Version=" + FormatVersion(options.versionMajor, options.versionMinor) + "\n";
    ini += std::string("Locale=") + (options.englishLocale ? "0409" : "0412") + "\n";
    if (options.freeBytes || options.readOnly) {
        ini += std::string("\n[Drive.") + drive + "]\n";
        if (options.freeBytes) {
            ini += "FreeBytes=" + std::to_string(*options.freeBytes) + "\n";
        }
        if (options.readOnly) {
            ini += "ReadOnly=1\n";
        }
    }
    if (!options.inUse.empty()) {
        ini += "\n[InUse]\n";
        for (const auto& path : options.inUse) {
            ini += codePage.ToUtf8(path) + "=1\n";
        }
    }
    if (!options.atoms.empty()) {
        ini += "\n[Atoms]\n";
        for (const auto& atom : options.atoms) {
            ini += codePage.ToUtf8(atom) + "=1\n";
        }
    }
    machine.machineIni = std::move(ini);

    // Parents first, so that a writer can make them in order.
    std::string parent = windows.substr(0, 2);
    for (const auto& name : *names) {
        parent += "\\" + name;
        machine.directories.push_back(parent);
    }
    machine.directories.push_back(system);
    machine.directories.push_back(fonts);

    std::string winIni = codePage.FromUtf8(machine_texts::kWinIniHead);
    winIni += "[fonts]\r\n";
    for (const auto& font : kFonts) {
        std::string name = codePage.FromUtf8(font.name);
        winIni += name + "=" + std::string(font.file) + "\r\n";
        machine.files.push_back({fonts + "\\" + std::string(font.file), FontBytes(font.file)});
        machine.registry.push_back({std::string(kFontsKey), name, 1, Text(font.file)});
    }
    winIni += codePage.FromUtf8(machine_texts::kWinIniTail);
    machine.files.push_back({windows + "\\WIN.INI", std::move(winIni)});
    machine.files.push_back({windows + "\\SYSTEM.INI", std::string(machine_texts::kSystemIni)});

    machine.registry.push_back(
        {std::string(kLocalMachine) + "Software\\Microsoft\\Windows\\CurrentVersion", "SystemRoot",
         1, Text(windows)});
    machine.registry.push_back(
        {std::string(kLocalMachine) + "Software\\Microsoft\\Windows\\CurrentVersion",
         "VersionNumber", 1,
         Text(FormatVersion(options.versionMajor, options.versionMinor) + ".950")});
    if (options.lptVxdVersion) {
        machine.files.push_back({system + "\\lpt.vxd", LptVxdBytes(*options.lptVxdVersion)});
    }
    AddSpooler(machine);
    AddParallelPorts(options, machine);
    return {std::move(machine), {}};
}

} // namespace tl::host
