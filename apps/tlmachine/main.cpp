// tlmachine: makes and inspects machine folders, the simulated Windows 95 PCs that the host
// build of the installer runs against.
#include "init_command.h"
#include "machine_report.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_template.h"
#include "platform/host/version_block_writer.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFolder = 2;

constexpr std::string_view kHelp =
    "Usage:\n"
    "  tlmachine init DIR [options]   make DIR a fresh Windows 95 machine folder\n"
    "  tlmachine show DIR [--json]    show the printers, drivers, monitors, print processors,\n"
    "                                 fonts, atoms and SYSTEM.INI device lines of DIR\n"
    "  tlmachine --help               this text\n"
    "\n"
    "Options of init:\n"
    "  --windows-dir PATH             the Windows directory (default C:\\WINDOWS); the system\n"
    "                                 directory is PATH\\SYSTEM\n"
    "  --version MAJOR.MINOR          the version GetVersion reports (default 4.0)\n"
    "  --free-bytes N                 free space to report for the Windows drive\n"
    "  --lpt-vxd-version A.B.C.D|none the version of the parallel-port driver lpt.vxd in the\n"
    "                                 system directory (default 4.0.0.950); none: no lpt.vxd\n"
    "  --ecp LPTn                     make LPTn (1-3) an ECP port (may be repeated)\n"
    "  --atom NAME                    a global atom present at start (may be repeated)\n"
    "  --in-use PATH                  a file another program holds open: an exclusive open\n"
    "                                 fails with a sharing violation (may be repeated)\n"
    "  --read-only                    the Windows drive is write-protected\n"
    "  --english                      English (0409) date and time formats instead of Korean\n"
    "  --driver NAME                  a printer driver already installed, with its own driver\n"
    "                                 file in the system directory (may be repeated)\n"
    "  --printer NAME[=DRIVER]        a printer already installed on LPT1: (may be repeated);\n"
    "                                 DRIVER defaults to the driver of the same name, else the\n"
    "                                 last --driver; the first printer is the default one\n"
    "\n"
    "DIR must not exist or be empty. Exit codes: 0 done, 1 wrong usage, 2 the folder is missing,\n"
    "broken or cannot be made. Texts are UTF-8; the keys of --json stay as they are.\n";

int Usage(std::string_view message) {
    std::cerr << "tlmachine: " << message << "\nTry 'tlmachine --help'.\n";
    return kExitUsage;
}

template <typename T> bool ParseNumber(std::string_view text, T& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc{} && end == text.data() + text.size();
}

bool ParseVersion(std::string_view text, tl::host::MachineTemplateOptions& options) {
    std::size_t dot = text.find('.');
    unsigned major = 0;
    unsigned minor = 0;
    if (dot == std::string_view::npos || !ParseNumber(text.substr(0, dot), major) ||
        !ParseNumber(text.substr(dot + 1), minor) || major > 255 || minor > 255) {
        return false;
    }
    options.versionMajor = static_cast<tl::BYTE>(major);
    options.versionMinor = static_cast<tl::BYTE>(minor);
    return true;
}

// The options of init that are followed by a value.
bool TakesValue(std::string_view option) {
    constexpr std::string_view kOptions[] = {"--windows-dir",     "--version", "--free-bytes",
                                             "--lpt-vxd-version", "--ecp",     "--atom",
                                             "--in-use",          "--driver",  "--printer"};
    return std::find(std::begin(kOptions), std::end(kOptions), option) != std::end(kOptions);
}

int RunInit(const std::vector<std::string_view>& args) {
    tl::host::IconvCodePage codePage;
    tl::host::MachineTemplateOptions options;
    tl::tools::InstalledPrinters installed;
    std::optional<std::string_view> folder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= args.size()) {
                return std::nullopt;
            }
            return args[++i];
        };
        if (TakesValue(arg)) {
            std::optional<std::string_view> text = value();
            if (!text) {
                return Usage(std::string(arg) + " needs a value");
            }
            if (arg == "--windows-dir") {
                options.windowsDirectory = codePage.FromUtf8(*text);
            } else if (arg == "--version") {
                if (!ParseVersion(*text, options)) {
                    return Usage("--version takes MAJOR.MINOR, like 4.0");
                }
            } else if (arg == "--free-bytes") {
                std::uint64_t bytes = 0;
                if (!ParseNumber(*text, bytes)) {
                    return Usage("--free-bytes takes a count of bytes");
                }
                options.freeBytes = bytes;
            } else if (arg == "--lpt-vxd-version") {
                if (*text == "none") {
                    options.lptVxdVersion.reset();
                } else if (auto version = tl::host::ParseFourPartVersion(*text)) {
                    options.lptVxdVersion = version;
                } else {
                    return Usage("--lpt-vxd-version takes A.B.C.D or none");
                }
            } else if (arg == "--ecp") {
                int port = 0;
                if (text->size() != 4 || text->substr(0, 3) != "LPT" ||
                    !ParseNumber(text->substr(3), port) || port < 1 || port > 3) {
                    return Usage("--ecp takes LPT1, LPT2 or LPT3");
                }
                options.ecpPorts.push_back(port);
            } else if (arg == "--driver") {
                installed.drivers.push_back(codePage.FromUtf8(*text));
            } else if (arg == "--printer") {
                std::string printer = codePage.FromUtf8(*text);
                std::size_t equals = printer.find('=');
                std::string driver;
                if (equals != std::string::npos) {
                    driver = printer.substr(equals + 1);
                    printer.resize(equals);
                } else if (std::find(installed.drivers.begin(), installed.drivers.end(), printer) !=
                           installed.drivers.end()) {
                    driver = printer;
                } else if (!installed.drivers.empty()) {
                    driver = installed.drivers.back();
                } else {
                    return Usage("--printer " + std::string(*text) + " needs a --driver before it");
                }
                installed.printers.emplace_back(std::move(printer), std::move(driver));
            } else if (arg == "--in-use") {
                options.inUse.push_back(codePage.FromUtf8(*text));
            } else {
                options.atoms.push_back(codePage.FromUtf8(*text));
            }
        } else if (arg == "--read-only") {
            options.readOnly = true;
        } else if (arg == "--english") {
            options.englishLocale = true;
        } else if (!arg.empty() && arg.front() == '-') {
            return Usage("unknown option " + std::string(arg));
        } else if (folder) {
            return Usage("init takes one folder");
        } else {
            folder = arg;
        }
    }
    if (!folder) {
        return Usage("init needs a folder");
    }
    std::string error;
    if (!tl::tools::InitMachineFolder(std::string(*folder), options, installed, error)) {
        std::cerr << "tlmachine: " << error << "\n";
        return kExitFolder;
    }
    return kExitOk;
}

int RunShow(const std::vector<std::string_view>& args) {
    bool json = false;
    std::optional<std::string_view> folder;
    for (std::string_view arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (!arg.empty() && arg.front() == '-') {
            return Usage("unknown option " + std::string(arg));
        } else if (folder) {
            return Usage("show takes one folder");
        } else {
            folder = arg;
        }
    }
    if (!folder) {
        return Usage("show needs a folder");
    }
    tl::tools::MachineReportResult result = tl::tools::ReadMachineReport(std::string(*folder));
    if (!result.report) {
        std::cerr << "tlmachine: " << result.error << "\n";
        return kExitFolder;
    }
    std::cout << (json ? tl::tools::FormatReportJson(*result.report)
                       : tl::tools::FormatReportText(*result.report));
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage("a command is needed: init or show");
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kHelp;
        return kExitOk;
    }
    std::string_view command = args[0];
    args.erase(args.begin());
    if (command == "init") {
        return RunInit(args);
    }
    if (command == "show") {
        return RunShow(args);
    }
    return Usage("unknown command " + std::string(command));
}
