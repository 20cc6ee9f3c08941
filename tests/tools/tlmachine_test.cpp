// tlmachine as a person or a script uses it: init a folder, show it, and read what it wrote
// through the same host adapters the installer runs on.
#include "platform/host/iconv_code_page.h"
#include "platform/host/ini_text.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/profile_host.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_records.h"
#include "platform/host/spooler_registry_host.h"
#include "support/program_run.h"
#include "support/temp_machine.h"
#include "sysfiles/ecp_ports.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using Outcome = tl::test::ProgramRun;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TlmachineTest : public ::testing::Test {
protected:
    static Outcome Tlmachine(const std::vector<std::string>& args) {
        return tl::test::RunProgram(tl::test::ProgramDir(TL_BINARY_DIR "/bin") / "tlmachine", args);
    }
    // `command` on this test's machine folder, with more options after it.
    Outcome On(const std::string& command, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {command, machine.string()});
        return Tlmachine(options);
    }

    tl::test::TempMachine folder;
    const fs::path root = folder.Root();
    const fs::path machine = root / "pc";
};

TEST_F(TlmachineTest, InitMakesAWindows95PcThatShowReports) {
    Outcome init = On("init", {"--free-bytes", "123456789"});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    EXPECT_TRUE(fs::is_regular_file(machine / "drive_c/WINDOWS/WIN.INI"));
    EXPECT_TRUE(fs::is_regular_file(machine / "drive_c/WINDOWS/SYSTEM.INI"));
    EXPECT_TRUE(fs::is_regular_file(machine / "drive_c/WINDOWS/FONTS/ARIAL.TTF"));
    EXPECT_TRUE(fs::is_directory(machine / "drive_c/WINDOWS/SYSTEM"));
    EXPECT_NE(ReadFile(machine / "machine.ini").find("FreeBytes=123456789"), std::string::npos);
    std::string registry = ReadFile(machine / "registry.reg");
    EXPECT_EQ(registry.rfind("REGEDIT4\r\n\r\n", 0), 0u);
    EXPECT_NE(registry.find("[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\"
                            "Environments\\Windows 4.0\\Print Processors\\WinPrint]"),
              std::string::npos);
    // Nothing of the staging folder is left beside it.
    for (const auto& entry : fs::directory_iterator(root)) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }

    Outcome show = On("show");
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_NE(show.out.find("Windows 4.0 in C:\\WINDOWS"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("Printers (0):"), std::string::npos);
    EXPECT_NE(show.out.find("  Local Port: SPOOLSS.DLL"), std::string::npos);
    EXPECT_NE(show.out.find("  WinPrint: SPOOLSS.DLL"), std::string::npos);
    EXPECT_NE(show.out.find("  굴림 & 굴림체 (TrueType): GULIM.TTF\n"), std::string::npos);
    EXPECT_NE(show.out.find("  device=*vcd\n"), std::string::npos);
    EXPECT_NE(show.out.find("Parallel ports: LPT1\n"), std::string::npos);
    EXPECT_NE(show.out.find("lpt.vxd: version 4.0.0.950\n"), std::string::npos);
}

TEST_F(TlmachineTest, ShowListsWhatTheSpoolerRegisteredAsJson) {
    ASSERT_EQ(On("init", {"--windows-dir", "D:\\WIN95", "--ecp", "LPT1", "--atom", "bi-di.386",
                          "--lpt-vxd-version", "none"})
                  .exitCode,
              0);
    std::ofstream(machine / "drive_d/WIN95/SYSTEM/TL600.DRV") << "driver";
    {
        tl::host::HostRegistry registry(machine / "registry.reg");
        std::string error;
        ASSERT_TRUE(registry.Load(error)) << error;
        tl::host::HostRegistrySpoolerStore store(registry);
        tl::host::HostSpooler spooler(store);
        tl::DriverInfo3 driver;
        driver.name = "Telmora 600";
        driver.driverPath = driver.dataFile = driver.configFile = "TL600.DRV";
        driver.helpFile = "";
        driver.dependentFiles = "TL600.DRV\0TL600.HLP\0\0"s;
        ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, driver));
        tl::PrinterInfo2 printer;
        printer.printerName = "Telmora \"600\"";
        printer.portName = "LPT1:";
        printer.driverName = "Telmora 600";
        printer.printProcessor = "WinPrint";
        printer.attributes = 0x804;
        printer.priority = printer.defaultPriority = 1;
        ASSERT_TRUE(spooler.ClosePrinter(spooler.AddPrinter(std::nullopt, 2, printer)));
    }
    Outcome show = Tlmachine({"show", "--json", machine.string()});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    const std::string& json = show.out;
    EXPECT_NE(json.find(R"("windowsDirectory":"D:\\WIN95","systemDirectory":"D:\\WIN95\\SYSTEM")"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("printers":[{"name":"Telmora \"600\"","port":"LPT1:",)"
                        R"("driver":"Telmora 600","printProcessor":"WinPrint","datatype":"RAW",)"
                        R"("attributes":2052,"priority":1,"defaultPriority":1}])"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("dependentFiles":["TL600.DRV","TL600.HLP"])"), std::string::npos);
    EXPECT_NE(json.find(R"("files":[{"name":"TL600.DRV","present":true},)"
                        R"({"name":"TL600.HLP","present":false}])"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("atoms":["bi-di.386"])"), std::string::npos);
    EXPECT_NE(json.find(R"("parallelPorts":[{"name":"LPT1","ecp":true}])"), std::string::npos);
    EXPECT_NE(json.find(R"("lptVxd":{"present":false,"version":null)"), std::string::npos);
}

TEST_F(TlmachineTest, InitCanStartFromPrintersAlreadyInstalled) {
    Outcome init = On("init", {"--driver", "Telmora 600", "--printer", "Telmora 600", "--printer",
                               "telmora 600 (Copy 2)", "--driver", "Other", "--printer", "Mine"});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    EXPECT_TRUE(fs::is_regular_file(machine / "drive_c/WINDOWS/SYSTEM/TELMORA6.DRV"));

    tl::host::HostRegistry registry(machine / "registry.reg");
    std::string error;
    ASSERT_TRUE(registry.Load(error)) << error;
    tl::host::HostRegistrySpoolerStore store(registry);
    std::vector<tl::host::PrinterRecord> printers = tl::host::ReadPrinters(store);
    ASSERT_EQ(printers.size(), 3u);
    EXPECT_EQ(printers[0].attributes, 0x804u);
    EXPECT_EQ(printers[1].driver, "Telmora 600");
    EXPECT_EQ(printers[1].attributes, 0x800u);
    EXPECT_EQ(printers[2].driver, "Other");

    tl::host::HostSpooler spooler(store);
    tl::PrinterInfo2 taken;
    taken.printerName = "TELMORA 600 (COPY 2)";
    taken.portName = "LPT1:";
    taken.driverName = "Telmora 600";
    taken.printProcessor = "WinPrint";
    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, taken));
    EXPECT_EQ(spooler.GetLastError(), tl::kErrorPrinterAlreadyExists);

    tl::host::IniText winIni(ReadFile(machine / "drive_c/WINDOWS/WIN.INI"));
    EXPECT_EQ(winIni.Get("windows", "device"), "Telmora 600,TELMORA6,LPT1:");
    EXPECT_EQ(winIni.Get("Devices", "Mine"), "OTHER,LPT1:");
}

TEST_F(TlmachineTest, EcpPortsOfANewMachineAreFoundByTheDetection) {
    ASSERT_EQ(On("init", {"--ecp", "LPT2"}).exitCode, 0);
    {
        tl::host::IconvCodePage codePage;
        tl::host::MachineConfigResult config = tl::host::LoadMachineConfig(machine, codePage);
        ASSERT_TRUE(config.config) << config.error;
        tl::host::MachinePathResolver resolver(*config.config, codePage);
        tl::host::HostProfile profile(resolver, config.config->windowsDirectory);
        tl::host::HostRegistry registry(machine / "registry.reg");
        std::string error;
        ASSERT_TRUE(registry.Load(error)) << error;
        tl::DetectEcpPorts(registry, profile);
    }
    Outcome show = On("show");
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_NE(show.out.find("Parallel ports: LPT1 LPT2 (ECP)\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("WIN.INI [tlsetup]: LPT1=0 LPT2=1 LPT3=0\n"), std::string::npos)
        << show.out;
}

TEST_F(TlmachineTest, MissingOrBrokenFoldersFailWithExitCodeTwo) {
    Outcome missing = Tlmachine({"show", (root / "nothing").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("no such machine folder"), std::string::npos) << missing.err;

    fs::create_directories(root / "empty");
    EXPECT_EQ(Tlmachine({"show", (root / "empty").string()}).exitCode, 2);

    ASSERT_EQ(On("init").exitCode, 0);
    std::string registry = ReadFile(machine / "registry.reg");
    std::ofstream(machine / "registry.reg", std::ios::trunc) << "REGEDIT4\r\n\r\n[HKEY_NOWHERE";
    Outcome broken = On("show");
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_NE(broken.err.find("registry.reg"), std::string::npos) << broken.err;

    std::ofstream(machine / "registry.reg", std::ios::trunc) << registry;
    std::ofstream(machine / "machine.ini", std::ios::app) << "[Machine]\nVersion=four\n";
    EXPECT_EQ(On("show").exitCode, 2);

    // init never writes over a folder that holds something.
    Outcome again = On("init");
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_NE(again.err.find("not an empty folder"), std::string::npos);
}

TEST_F(TlmachineTest, ARegistryNestedDeeperThanWindowsAllowsIsRefusedAsBroken) {
    ASSERT_EQ(On("init").exitCode, 0);
    std::string deep = "REGEDIT4\r\n\r\n[HKEY_USERS";
    for (int i = 0; i < 30000; ++i)
        deep += "\\k";
    std::ofstream(machine / "registry.reg", std::ios::trunc | std::ios::binary) << deep << "]\r\n";
    for (const char* command : {"show"}) {
        Outcome shown = On(command);
        EXPECT_EQ(shown.exitCode, 2) << command;
        EXPECT_NE(shown.err.find("registry.reg: line 3: a key nested deeper than 512 levels"),
                  std::string::npos)
            << shown.err;
    }
}

TEST_F(TlmachineTest, UsageErrorsAndHelp) {
    Outcome help = Tlmachine({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("tlmachine init DIR"), std::string::npos);
    for (std::string line :
         {"", "frobnicate", "init", "init a b", "show", "show a --xml", "init pc --ecp LPT4",
          "init pc --version 4", "init pc --free-bytes", "init pc --lpt-vxd-version 4.0.950"}) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            args.push_back(word);
        Outcome run = Tlmachine(args);
        EXPECT_EQ(run.exitCode, 1) << line;
        EXPECT_NE(run.err.find("tlmachine: "), std::string::npos) << line;
    }
    EXPECT_FALSE(fs::exists(fs::current_path() / "pc"));
}

} // namespace
