#include "platform/host/iconv_code_page.h"
#include "platform/host/machine_config.h"
#include "platform/host/machine_path_resolver.h"
#include "platform/host/registry_host.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_records.h"
#include "platform/host/spooler_registry_host.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tl::host {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class SpoolerRegistryFileTest : public ::testing::Test {
protected:
    std::string FileText() const { return machine.ReadFile("registry.reg"); }

    static void Install(Spooler& spooler) {
        ASSERT_TRUE(spooler.AddPrintProcessor(std::nullopt, "Windows 4.0", "TLPROC.DLL", "TLProc"));
        ASSERT_TRUE(
            spooler.AddMonitor(std::nullopt, 2, {"TL Monitor", "Windows 4.0", "TLMON.DLL"}));
        DriverInfo3 driver;
        driver.version = kWindows95DriverVersion;
        driver.name = "Telmora 600";
        driver.environment = "Windows 4.0";
        driver.driverPath = driver.dataFile = driver.configFile = "TL600.DRV";
        driver.helpFile = "TL600.HLP";
        driver.dependentFiles = "TL600.DRV\0TLMON.DLL\0\0"s;
        driver.monitorName = "TL Monitor";
        driver.defaultDataType = "RAW";
        ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, driver));
        PrinterInfo2 printer;
        printer.printerName = "Telmora 600";
        printer.portName = "LPT1:";
        printer.driverName = "Telmora 600";
        printer.printProcessor = "TLProc";
        printer.datatype = "RAW";
        printer.attributes = 0x804;
        printer.priority = printer.defaultPriority = 1;
        PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, printer);
        ASSERT_TRUE(handle);
        ASSERT_TRUE(spooler.ClosePrinter(handle));
    }

    test::TempMachine machine;
    fs::path file = machine.Root() / "registry.reg";
};

TEST_F(SpoolerRegistryFileTest, RecordsStandInRegistryRegAsWindows95KeepsThem) {
    {
        HostRegistry registry(file);
        std::string error;
        ASSERT_TRUE(registry.Load(error)) << error;
        HostRegistrySpoolerStore store(registry);
        HostSpooler spooler(store);
        Install(spooler);
    }
    const std::string text = FileText();
    const std::string print = "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print";
    EXPECT_NE(text.find(print + "\\Environments\\Windows 4.0\\Print Processors\\TLProc]\r\n"
                                "\"Driver\"=\"TLPROC.DLL\"\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(print + "\\Monitors\\TL Monitor]\r\n\"Driver\"=\"TLMON.DLL\"\r\n"),
              std::string::npos);
    EXPECT_NE(text.find(print +
                        "\\Environments\\Windows 4.0\\Drivers\\Telmora 600]\r\n"
                        "\"Driver\"=\"TL600.DRV\"\r\n"
                        "\"Data File\"=\"TL600.DRV\"\r\n"
                        "\"Configuration File\"=\"TL600.DRV\"\r\n"
                        "\"Help File\"=\"TL600.HLP\"\r\n"
                        "\"Dependent Files\"=hex(7):54,4c,36,30,30,2e,44,52,56,00,54,4c,4d,"),
              std::string::npos)
        << text;
    // The rest of the driver's key after the dependent files' continuation lines.
    EXPECT_NE(text.find("4c,00,00\r\n"
                        "\"Monitor\"=\"TL Monitor\"\r\n"
                        "\"Datatype\"=\"RAW\"\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(print + "\\Printers\\Telmora 600]\r\n"
                                "\"Name\"=\"Telmora 600\"\r\n"
                                "\"Port\"=\"LPT1:\"\r\n"
                                "\"Printer Driver\"=\"Telmora 600\"\r\n"
                                "\"Print Processor\"=\"TLProc\"\r\n"
                                "\"Datatype\"=\"RAW\"\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"Attributes\"=dword:00000804\r\n\"Priority\"=dword:00000001\r\n"
                        "\"Default Priority\"=dword:00000001\r\n"),
              std::string::npos);

    // Opened again, the spooler knows what it was told before.
    HostRegistry reopened(file);
    std::string error;
    ASSERT_TRUE(reopened.Load(error)) << error;
    HostRegistrySpoolerStore store(reopened);
    HostSpooler spooler(store);
    std::vector<DriverInfo1> drivers;
    DWORD needed = 0;
    DWORD returned = 0;
    ASSERT_TRUE(spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 1, &drivers, 800, &needed,
                                           &returned));
    ASSERT_EQ(returned, 1u);
    EXPECT_EQ(drivers[0].name, "Telmora 600");
    PrinterInfo2 again;
    again.printerName = "TELMORA 600";
    again.portName = "LPT1:";
    again.driverName = "Telmora 600";
    again.printProcessor = "WinPrint";
    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, again));
    EXPECT_EQ(spooler.GetLastError(), kErrorPrinterAlreadyExists);
    EXPECT_EQ(ReadDrivers(store)[0].dependentFiles,
              (std::vector<std::string>{"TL600.DRV", "TLMON.DLL"}));
}

TEST_F(SpoolerRegistryFileTest, AFileThatCannotBeWrittenLeavesTheRegistryAsItWas) {
    HostRegistry registry(file);
    std::string error;
    ASSERT_TRUE(registry.Load(error)) << error;
    HostRegistrySpoolerStore store(registry);
    HostSpooler spooler(store);
    ASSERT_TRUE(spooler.AddMonitor(std::nullopt, 2, {"First", std::nullopt, "A.DLL"}));
    // The registry port shares the registry; what it kept stays when a spooler change is dropped.
    HKEY fonts{};
    ASSERT_EQ(registry.RegCreateKeyEx(kHkeyLocalMachine,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts", 0,
                                      kKeyAllAccess, &fonts, nullptr),
              0);
    const char fontFile[] = "TLFONT.TTF";
    ASSERT_EQ(registry.RegSetValueEx(fonts, "TL Font (TrueType)", kRegSz,
                                     reinterpret_cast<const BYTE*>(fontFile), sizeof fontFile),
              0);
    registry.RegCloseKey(fonts);
    // A folder where the file should be: the replacement cannot be renamed over it.
    fs::remove(file);
    fs::create_directories(file / "in the way");
    EXPECT_FALSE(spooler.AddMonitor(std::nullopt, 2, {"Second", std::nullopt, "B.DLL"}));
    EXPECT_EQ(spooler.GetLastError(), kErrorAccessDenied);
    EXPECT_EQ(ReadMonitors(store).size(), 1u);
    const RegistryKey* kept = registry.Tree().Find(
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts");
    ASSERT_NE(kept, nullptr);
    EXPECT_NE(kept->FindValue("TL Font (TrueType)"), nullptr);
}

TEST(SystemDirectoryProbeTest, FindsFilesThroughTheMachinesPathRules) {
    test::TempMachine machine;
    machine.WriteFile("drive_c/WINDOWS/SYSTEM/TL600.DRV", "driver");
    IconvCodePage codePage;
    MachineConfigResult config = LoadMachineConfig(machine.Root(), codePage);
    ASSERT_TRUE(config.config) << config.error;
    MachinePathResolver resolver(*config.config, codePage);
    SystemFileProbe probe = SystemDirectoryProbe(resolver, "C:\\WINDOWS\\SYSTEM");
    EXPECT_TRUE(probe("TL600.DRV"));
    EXPECT_TRUE(probe("tl600.drv"));
    EXPECT_TRUE(probe("C:\\WINDOWS\\SYSTEM\\TL600.DRV"));
    EXPECT_FALSE(probe("TLMON.DLL"));
    EXPECT_FALSE(probe("SYSTEM")); // a directory is no library
    EXPECT_FALSE(probe("D:\\TL600.DRV"));
}

} // namespace
} // namespace tl::host
