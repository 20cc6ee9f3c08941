#include "platform/host/ini_text.h"
#include "platform/host/spooler_host.h"
#include "platform/host/spooler_records.h"
#include "spooler_memory_registry.h"

#include <gtest/gtest.h>

#include <set>

namespace tl::host {
namespace {

using namespace std::string_literals;

class HostSpoolerTest : public ::testing::Test {
protected:
    HostSpoolerTest()
        : spooler(registry, [this](std::string_view file) {
              return missingFiles.count(std::string(file)) == 0;
          }) {}

    // A driver as the installer registers it.
    DriverInfo3 Driver(std::string name) {
        DriverInfo3 info;
        info.version = kWindows95DriverVersion;
        info.name = std::move(name);
        info.environment = std::string(kWindows95Environment);
        info.driverPath = "TL600.DRV";
        info.dataFile = "TL600.DRV";
        info.configFile = "TL600.DRV";
        info.helpFile = "";
        info.dependentFiles = "TL600.DRV\0TLUI.DLL\0TLMON.DLL\0\0"s;
        info.monitorName = "Telmora Monitor";
        info.defaultDataType = "RAW";
        return info;
    }

    PrinterInfo2 Printer(std::string name, std::string driver) {
        PrinterInfo2 info;
        info.printerName = std::move(name);
        info.portName = "LPT1:";
        info.driverName = std::move(driver);
        info.printProcessor = "WinPrint";
        info.datatype = "RAW";
        info.attributes = kPrinterAttributeEnableBidi | kPrinterAttributeDefault;
        info.priority = 1;
        info.defaultPriority = 1;
        return info;
    }

    void AddDriverAndPrinter(const std::string& driver, const std::string& printer) {
        ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, Driver(driver)));
        PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, Printer(printer, driver));
        ASSERT_TRUE(handle);
        ASSERT_TRUE(spooler.ClosePrinter(handle));
    }

    std::optional<std::string> Text(std::string_view key, std::string_view value) {
        return ValueText(registry.GetValue(key, value));
    }
    std::optional<DWORD> Number(std::string_view key, std::string_view value) {
        return ValueDword(registry.GetValue(key, value));
    }

    test::MemorySpoolerRegistry registry;
    std::set<std::string> missingFiles;
    HostSpooler spooler;
};

TEST_F(HostSpoolerTest, DriverEnumerationIsSizedLikeTheThirtyTwoBitApi) {
    std::vector<DriverInfo1> drivers;
    DWORD needed = 99;
    DWORD returned = 99;
    ASSERT_TRUE(spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 1, &drivers, 800, &needed,
                                           &returned));
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(returned, 0u);

    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, Driver("Telmora 600")));
    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, Driver("Generic")));
    // 4 bytes per DRIVER_INFO_1 and each name with its NUL: (4 + 12) + (4 + 8).
    EXPECT_FALSE(spooler.EnumPrinterDrivers(std::nullopt, "Windows 4.0", 1, &drivers, 27, &needed,
                                            &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInsufficientBuffer);
    EXPECT_EQ(needed, 28u);
    EXPECT_EQ(returned, 0u);
    EXPECT_TRUE(drivers.empty());

    ASSERT_TRUE(spooler.EnumPrinterDrivers(std::nullopt, "windows 4.0", 1, &drivers, needed,
                                           &needed, &returned));
    EXPECT_EQ(returned, 2u);
    ASSERT_EQ(drivers.size(), 2u);
    EXPECT_EQ(drivers[0].name, "Telmora 600");
    EXPECT_EQ(drivers[1].name, "Generic");

    // A sizing call without a buffer.
    EXPECT_FALSE(
        spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInsufficientBuffer);
    EXPECT_EQ(needed, 28u);
}

TEST_F(HostSpoolerTest, PrinterEnumerationIsSizedLikeTheThirtyTwoBitApi) {
    AddDriverAndPrinter("Telmora 600", "Telmora 600");
    std::vector<PrinterInfo5> printers;
    DWORD needed = 0;
    DWORD returned = 0;
    // 20 bytes per PRINTER_INFO_5, then "Telmora 600" and "LPT1:" with their NULs.
    EXPECT_FALSE(spooler.EnumPrinters(kPrinterEnumLocal, std::nullopt, 5, &printers, 37, &needed,
                                      &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInsufficientBuffer);
    EXPECT_EQ(needed, 38u);
    EXPECT_EQ(returned, 0u);

    ASSERT_TRUE(spooler.EnumPrinters(kPrinterEnumLocal, std::nullopt, 5, &printers, 4000, &needed,
                                     &returned));
    EXPECT_EQ(needed, 38u);
    ASSERT_EQ(returned, 1u);
    EXPECT_EQ(printers[0].printerName, "Telmora 600");
    EXPECT_EQ(printers[0].portName, "LPT1:");
    EXPECT_EQ(printers[0].attributes, 0x804u);
    EXPECT_EQ(printers[0].deviceNotSelectedTimeout, 15000u);
    EXPECT_EQ(printers[0].transmissionRetryTimeout, 45000u);

    // The default flag answers the default printer only; other flags find nothing here.
    PrinterInfo2 second = Printer("Second", "Telmora 600");
    second.attributes = kPrinterAttributeEnableBidi;
    ASSERT_TRUE(spooler.ClosePrinter(spooler.AddPrinter(std::nullopt, 2, second)));
    ASSERT_TRUE(spooler.EnumPrinters(kPrinterEnumDefault, std::nullopt, 5, &printers, 4000, &needed,
                                     &returned));
    ASSERT_EQ(returned, 1u);
    EXPECT_EQ(printers[0].printerName, "Telmora 600");
    ASSERT_TRUE(spooler.EnumPrinters(0x10, std::nullopt, 5, &printers, 4000, &needed, &returned));
    EXPECT_EQ(returned, 0u);
}

TEST_F(HostSpoolerTest, EnumerationsRefuseWhatWindowsRefuses) {
    std::vector<DriverInfo1> drivers;
    std::vector<PrinterInfo5> printers;
    DWORD needed = 0;
    DWORD returned = 0;
    EXPECT_FALSE(spooler.EnumPrinterDrivers(std::nullopt, std::nullopt, 3, &drivers, 800, &needed,
                                            &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidLevel);
    EXPECT_FALSE(spooler.EnumPrinterDrivers(std::nullopt, "Windows NT x86", 1, &drivers, 800,
                                            &needed, &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidEnvironment);
    EXPECT_FALSE(spooler.EnumPrinterDrivers("\\\\SERVER", std::nullopt, 1, &drivers, 800, &needed,
                                            &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidName);
    EXPECT_FALSE(spooler.EnumPrinters(kPrinterEnumLocal, std::nullopt, 2, &printers, 4000, &needed,
                                      &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidLevel);
    EXPECT_FALSE(spooler.EnumPrinters(kPrinterEnumLocal, std::nullopt, 5, &printers, 4000, nullptr,
                                      &returned));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidParameter);
}

TEST_F(HostSpoolerTest, RegistrationsLeaveTheWindows95Records) {
    ASSERT_TRUE(spooler.AddPrintProcessor(std::nullopt, "Windows 4.0", "TLPROC.DLL", "TLProc"));
    MonitorInfo2 monitor{"Telmora Monitor", std::string(kWindows95Environment), "TLMON.DLL"};
    ASSERT_TRUE(spooler.AddMonitor(std::nullopt, 2, monitor));
    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, Driver("Telmora 600")));
    PrinterInfo2 printer = Printer("My Telmora", "Telmora 600");
    printer.printProcessor = "TLProc";
    PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, printer);
    ASSERT_TRUE(handle);
    EXPECT_TRUE(spooler.ClosePrinter(handle));

    const std::string env = "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0";
    EXPECT_EQ(Text(env + "\\Print Processors\\TLProc", "Driver"), "TLPROC.DLL");
    EXPECT_EQ(
        Text("System\\CurrentControlSet\\control\\Print\\Monitors\\Telmora Monitor", "Driver"),
        "TLMON.DLL");

    const std::string driver = env + "\\Drivers\\Telmora 600";
    EXPECT_EQ(Text(driver, "Driver"), "TL600.DRV");
    EXPECT_EQ(Text(driver, "Data File"), "TL600.DRV");
    EXPECT_EQ(Text(driver, "Configuration File"), "TL600.DRV");
    EXPECT_EQ(Text(driver, "Help File"), "");
    EXPECT_EQ(Text(driver, "Monitor"), "Telmora Monitor");
    EXPECT_EQ(Text(driver, "Datatype"), "RAW");
    EXPECT_EQ(registry.GetValue(driver, "Dependent Files"),
              (SpoolerValue{kRegMultiSz, "TL600.DRV\0TLUI.DLL\0TLMON.DLL\0\0"s}));

    const std::string key = "System\\CurrentControlSet\\control\\Print\\Printers\\My Telmora";
    EXPECT_EQ(Text(key, "Name"), "My Telmora");
    EXPECT_EQ(Text(key, "Port"), "LPT1:");
    EXPECT_EQ(Text(key, "Printer Driver"), "Telmora 600");
    EXPECT_EQ(Text(key, "Print Processor"), "TLProc");
    EXPECT_EQ(Text(key, "Datatype"), "RAW");
    EXPECT_EQ(Number(key, "Attributes"), 0x804u);
    EXPECT_EQ(Number(key, "Priority"), 1u);
    EXPECT_EQ(Number(key, "Default Priority"), 1u);
    EXPECT_EQ(registry.GetValue(key, "Attributes"), (SpoolerValue{kRegDword, "\x04\x08\0\0"s}));
}

TEST_F(HostSpoolerTest, DriverRecordKeepsFileNamesAndStopsDependentsAtAnEmptyName) {
    DriverInfo3 info = Driver("Telmora 600");
    info.driverPath = "C:\\WINDOWS\\SYSTEM\\TL600.DRV";
    info.helpFile = std::nullopt;
    info.monitorName = std::nullopt;
    info.defaultDataType = std::nullopt;
    info.dependentFiles = "A.DRV\0\0B.DLL\0\0"s;
    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, info));
    std::vector<DriverRecord> drivers = ReadDrivers(registry);
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_EQ(drivers[0].driver, "TL600.DRV");
    EXPECT_EQ(drivers[0].dependentFiles, std::vector<std::string>{"A.DRV"});
    EXPECT_EQ(drivers[0].datatype, "RAW");
    EXPECT_FALSE(registry.GetValue(DriverKey("Telmora 600"), "Help File"));
    EXPECT_FALSE(registry.GetValue(DriverKey("Telmora 600"), "Monitor"));
}

TEST_F(HostSpoolerTest, ReplacingADriverKeepsItsKeyAndDropsStaleValues) {
    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, Driver("Telmora 600")));
    DriverInfo3 again = Driver("TELMORA 600");
    again.monitorName = std::nullopt;
    again.driverPath = "TL600B.DRV";
    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, again));
    std::vector<DriverRecord> drivers = ReadDrivers(registry);
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_EQ(drivers[0].name, "Telmora 600");
    EXPECT_EQ(drivers[0].driver, "TL600B.DRV");
    EXPECT_EQ(drivers[0].monitor, "");
}

TEST_F(HostSpoolerTest, AddPrinterRefusesTakenNamesUnknownDriversAndProcessors) {
    AddDriverAndPrinter("Telmora 600", "Telmora 600");

    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, Printer("TELMORA 600", "Telmora 600")));
    EXPECT_EQ(spooler.GetLastError(), kErrorPrinterAlreadyExists);

    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, Printer("Other", "No Such Driver")));
    EXPECT_EQ(spooler.GetLastError(), kErrorUnknownPrinterDriver);

    PrinterInfo2 processor = Printer("Other", "Telmora 600");
    processor.printProcessor = "TLProc";
    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, processor));
    EXPECT_EQ(spooler.GetLastError(), 1798u);

    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, Printer("A,B", "Telmora 600")));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidPrinterName);
    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, Printer("", "Telmora 600")));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidPrinterName);

    // The built-in processor in any case, and a driver named in other letter case.
    PrinterInfo2 copy = Printer("Telmora 600 (Copy 2)", "TELMORA 600");
    copy.printProcessor = "WINPRINT";
    PrinterHandle handle = spooler.AddPrinter(std::nullopt, 2, copy);
    ASSERT_TRUE(handle);
    EXPECT_TRUE(spooler.ClosePrinter(handle));
    EXPECT_FALSE(spooler.ClosePrinter(handle));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidHandle);
    EXPECT_EQ(ReadPrinters(registry).size(), 2u);
}

TEST_F(HostSpoolerTest, ANewDefaultPrinterTakesTheDefaultFromTheOthers) {
    AddDriverAndPrinter("Telmora 600", "First");
    ASSERT_TRUE(spooler.ClosePrinter(
        spooler.AddPrinter(std::nullopt, 2, Printer("Second", "Telmora 600"))));
    std::vector<PrinterRecord> printers = ReadPrinters(registry);
    ASSERT_EQ(printers.size(), 2u);
    EXPECT_EQ(printers[0].attributes, 0x800u);
    EXPECT_EQ(printers[1].attributes, 0x804u);
}

TEST_F(HostSpoolerTest, MonitorsAndProcessorsThatExistOrCannotLoadAreRefused) {
    MonitorInfo2 monitor{"Telmora Monitor", std::nullopt, "TLMON.DLL"};
    ASSERT_TRUE(spooler.AddMonitor(std::nullopt, 2, monitor));
    EXPECT_FALSE(spooler.AddMonitor(std::nullopt, 2, monitor));
    EXPECT_EQ(spooler.GetLastError(), kErrorPrintMonitorAlreadyInstalled);
    EXPECT_FALSE(spooler.AddMonitor(std::nullopt, 2, {"local port", std::nullopt, "X.DLL"}));
    EXPECT_EQ(spooler.GetLastError(), kErrorPrintMonitorAlreadyInstalled);
    EXPECT_FALSE(spooler.AddMonitor(std::nullopt, 2, {"Empty", std::nullopt, ""}));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidParameter);
    EXPECT_FALSE(spooler.AddMonitor(std::nullopt, 1, monitor));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidLevel);

    missingFiles = {"GONE.DLL", "GONE.DRV"};
    EXPECT_FALSE(spooler.AddMonitor(std::nullopt, 2, {"Gone", std::nullopt, "GONE.DLL"}));
    EXPECT_EQ(spooler.GetLastError(), kErrorModNotFound);
    EXPECT_FALSE(spooler.AddPrintProcessor(std::nullopt, std::nullopt, "GONE.DLL", "Gone"));
    EXPECT_EQ(spooler.GetLastError(), kErrorModNotFound);
    DriverInfo3 driver = Driver("Gone");
    driver.configFile = "GONE.DRV";
    EXPECT_FALSE(spooler.AddPrinterDriver(std::nullopt, 3, driver));
    EXPECT_EQ(spooler.GetLastError(), kErrorFileNotFound);

    EXPECT_FALSE(spooler.AddPrintProcessor(std::nullopt, std::nullopt, "X.DLL", "winprint"));
    EXPECT_EQ(spooler.GetLastError(), kErrorPrintProcessorAlreadyInstalled);
    EXPECT_FALSE(spooler.AddPrintProcessor(std::nullopt, "Windows NT x86", "X.DLL", "P"));
    EXPECT_EQ(spooler.GetLastError(), kErrorInvalidEnvironment);

    EXPECT_EQ(ReadMonitors(registry).size(), 1u);
    EXPECT_TRUE(ReadPrintProcessors(registry).empty());
    EXPECT_TRUE(ReadDrivers(registry).empty());
}

TEST_F(HostSpoolerTest, AFailedWriteReportsFailureAndKeepsNothing) {
    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, Driver("Telmora 600")));
    registry.failCommits = true;
    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, Printer("Telmora 600", "Telmora 600")));
    EXPECT_EQ(spooler.GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(spooler.AddPrinterDriver(std::nullopt, 3, Driver("Second")));
    EXPECT_TRUE(ReadPrinters(registry).empty());
    EXPECT_EQ(ReadDrivers(registry).size(), 1u);
}

// WIN.INI in memory, written through the profile calls.
class WinIniProfile final : public Profile {
public:
    DWORD GetPrivateProfileString(const char*, const char*, const char*, char*, DWORD,
                                  std::string_view) override {
        return 0;
    }
    UINT GetPrivateProfileInt(const char*, const char*, int value, std::string_view) override {
        return static_cast<UINT>(value);
    }
    BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                                   std::string_view file) override {
        EXPECT_EQ(file, kWinIni);
        if (section == nullptr || key == nullptr || value == nullptr) {
            return 0;
        }
        winIni.Set(section, key, value);
        return 1;
    }
    DWORD GetLastError() const override { return 0; }
    IniText winIni;
};

TEST(HostSpoolerWinIniTest, APrinterIsEnteredInWinIniForOlderPrograms) {
    test::MemorySpoolerRegistry registry;
    WinIniProfile profile;
    HostSpooler spooler(registry, {}, &profile);
    DriverInfo3 driver;
    driver.name = "Telmora 600";
    driver.driverPath = driver.dataFile = driver.configFile = "TL600.DRV";
    ASSERT_TRUE(spooler.AddPrinterDriver(std::nullopt, 3, driver));
    PrinterInfo2 printer;
    printer.printerName = "My Telmora";
    printer.portName = "LPT1:";
    printer.driverName = "TELMORA 600";
    printer.printProcessor = "WinPrint";
    printer.attributes = 0x804;
    ASSERT_TRUE(spooler.ClosePrinter(spooler.AddPrinter(std::nullopt, 2, printer)));
    printer.printerName = "Second";
    printer.attributes = 0x800;
    ASSERT_TRUE(spooler.ClosePrinter(spooler.AddPrinter(std::nullopt, 2, printer)));

    EXPECT_EQ(profile.winIni.Get("Devices", "My Telmora"), "TL600,LPT1:");
    EXPECT_EQ(profile.winIni.Get("PrinterPorts", "My Telmora"), "TL600,LPT1:,15,45");
    EXPECT_EQ(profile.winIni.Get("PrinterPorts", "Second"), "TL600,LPT1:,15,45");
    // Only the default printer becomes the device of [windows].
    EXPECT_EQ(profile.winIni.Get("windows", "device"), "My Telmora,TL600,LPT1:");
}

} // namespace
} // namespace tl::host
