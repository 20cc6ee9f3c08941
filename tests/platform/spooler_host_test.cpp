// The host spooler beyond the port contract and the whole-program installs: the calls Windows 95
// refuses, and that it keeps nothing of them.
#include "host_pc.h"
#include "platform/host/spooler_records.h"

namespace tl::host {
namespace {

using namespace std::string_literals;

class HostSpoolerTest : public ::testing::Test {
protected:
    static DriverInfo3 Driver(std::string name) {
        DriverInfo3 info;
        info.version = kWindows95DriverVersion;
        info.name = std::move(name);
        info.environment = std::string(kWindows95Environment);
        info.driverPath = info.dataFile = info.configFile = "TL600.DRV";
        info.helpFile = "";
        info.dependentFiles = "TL600.DRV\0TLMON.DLL\0\0"s;
        info.monitorName = "TL Monitor";
        info.defaultDataType = "RAW";
        return info;
    }
    static PrinterInfo2 Printer(std::string name, std::string driver = "Telmora 600") {
        PrinterInfo2 info;
        info.printerName = std::move(name);
        info.portName = "LPT1:";
        info.driverName = std::move(driver);
        info.printProcessor = "WinPrint";
        info.datatype = "RAW";
        info.attributes = kPrinterAttributeEnableBidi | kPrinterAttributeDefault;
        return info;
    }
    Spooler& Spool() { return pc.Ports().spooler; }
    DWORD Refusal(bool done) { return done ? kErrorSuccess : Spool().GetLastError(); }
    HostRegistrySpoolerStore Store() { return HostRegistrySpoolerStore(pc.machine->Registry()); }

    test::HostPc pc{"",
                    {{"drive_c/WINDOWS/SYSTEM/TL600.DRV", "x"},
                     {"drive_c/WINDOWS/SYSTEM/TLMON.DLL", "x"},
                     {"drive_c/WINDOWS/SYSTEM/TLPROC.DLL", "x"}}};
};

TEST_F(HostSpoolerTest, EnumerationsRefuseLevelsEnvironmentsAndServersWindows95Lacks) {
    std::vector<DriverInfo1> drivers;
    std::vector<PrinterInfo5> printers;
    DWORD needed = 0, returned = 0;
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, Driver("Telmora 600")));
    ASSERT_TRUE(Spool().ClosePrinter(Spool().AddPrinter({}, 2, Printer("Telmora 600"))));
    PrinterInfo2 second = Printer("Second");
    second.attributes = kPrinterAttributeEnableBidi;
    ASSERT_TRUE(Spool().ClosePrinter(Spool().AddPrinter({}, 2, second)));
    // 4 bytes per DRIVER_INFO_1 and the name with its NUL; 20 per PRINTER_INFO_5 and two names.
    EXPECT_EQ(Refusal(Spool().EnumPrinterDrivers({}, {}, 1, &drivers, 15, &needed, &returned)),
              kErrorInsufficientBuffer);
    EXPECT_EQ(needed, 16u);
    EXPECT_EQ(Refusal(Spool().EnumPrinters(kPrinterEnumDefault, {}, 5, &printers, 37, &needed,
                                           &returned)),
              kErrorInsufficientBuffer);
    EXPECT_EQ(needed, 38u);
    // The default flag answers the default printer only.
    ASSERT_TRUE(
        Spool().EnumPrinters(kPrinterEnumDefault, {}, 5, &printers, 4000, &needed, &returned));
    EXPECT_EQ(returned, 1u);
    const std::pair<DWORD, DWORD> refusals[] = {
        {Refusal(Spool().EnumPrinterDrivers({}, {}, 3, &drivers, 800, &needed, &returned)),
         kErrorInvalidLevel},
        {Refusal(Spool().EnumPrinterDrivers({}, "Windows NT x86", 1, &drivers, 800, &needed,
                                            &returned)),
         kErrorInvalidEnvironment},
        {Refusal(
             Spool().EnumPrinterDrivers("\\\\SERVER", {}, 1, &drivers, 800, &needed, &returned)),
         kErrorInvalidName},
        {Refusal(
             Spool().EnumPrinters(kPrinterEnumLocal, {}, 2, &printers, 4000, &needed, &returned)),
         kErrorInvalidLevel},
        {Refusal(
             Spool().EnumPrinters(kPrinterEnumLocal, {}, 5, &printers, 4000, nullptr, &returned)),
         kErrorInvalidParameter}};
    for (std::size_t i = 0; i < std::size(refusals); ++i) {
        EXPECT_EQ(refusals[i].first, refusals[i].second) << i;
    }
}

TEST_F(HostSpoolerTest, RefusesWhatWindows95RefusesAndKeepsNothingOfIt) {
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, Driver("Telmora 600")));
    ASSERT_TRUE(Spool().ClosePrinter(Spool().AddPrinter({}, 2, Printer("Telmora 600"))));
    const MonitorInfo2 monitor{"TL Monitor", {}, "TLMON.DLL"};
    ASSERT_TRUE(Spool().AddMonitor({}, 2, monitor));
    PrinterInfo2 other = Printer("Other");
    other.printProcessor = "TLProc";
    pc.folder.MakeDirectory("drive_c/WINDOWS/SYSTEM/DIR.DLL");
    const std::pair<DWORD, DWORD> cases[] = {
        {Refusal(!!Spool().AddPrinter({}, 2, other)), kErrorUnknownPrintProcessor},
        {Refusal(!!Spool().AddPrinter({}, 2, Printer("TELMORA 600"))), kErrorPrinterAlreadyExists},
        {Refusal(!!Spool().AddPrinter({}, 2, Printer(""))), kErrorInvalidPrinterName},
        {Refusal(Spool().AddMonitor({}, 2, monitor)), kErrorPrintMonitorAlreadyInstalled},
        {Refusal(Spool().AddMonitor({}, 2, {"local port", {}, "TLMON.DLL"})),
         kErrorPrintMonitorAlreadyInstalled},
        {Refusal(Spool().AddMonitor({}, 2, {"Empty", {}, ""})), kErrorInvalidParameter},
        {Refusal(Spool().AddMonitor({}, 1, {"M", {}, "TLMON.DLL"})), kErrorInvalidLevel},
        // A folder in the system directory is no library.
        {Refusal(Spool().AddMonitor({}, 2, {"M", {}, "DIR.DLL"})), kErrorModNotFound},
        {Refusal(Spool().AddPrintProcessor({}, {}, "TLPROC.DLL", "winprint")),
         kErrorPrintProcessorAlreadyInstalled},
        {Refusal(Spool().AddPrintProcessor({}, "Windows NT x86", "TLPROC.DLL", "P")),
         kErrorInvalidEnvironment}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].first, cases[i].second) << i;
    }
    EXPECT_EQ(ReadPrinters(Store()).size() + ReadMonitors(Store()).size(), 2u);
    EXPECT_TRUE(ReadPrintProcessors(Store()).empty());
    EXPECT_EQ(ReadDrivers(Store()).size(), 1u);

    // The built-in processor in any case, a driver named in other letters, libraries under a
    // full path or in small letters.
    other.printProcessor = "WINPRINT";
    other.driverName = "TELMORA 600";
    EXPECT_TRUE(Spool().ClosePrinter(Spool().AddPrinter({}, 2, other)));
    EXPECT_TRUE(Spool().AddMonitor({}, 2, {"Full", {}, "C:\\WINDOWS\\SYSTEM\\TLMON.DLL"}));
    EXPECT_TRUE(Spool().AddPrintProcessor({}, {}, "tlproc.dll", "TLProc"));
}

TEST_F(HostSpoolerTest, DriverRecordsKeepFileNamesAndAReplacedDriverDropsStaleValues) {
    DriverInfo3 info = Driver("Telmora 600");
    info.driverPath = "C:\\WINDOWS\\SYSTEM\\TL600.DRV";
    info.helpFile.reset();
    info.defaultDataType.reset();
    info.dependentFiles = "A.DRV\0\0B.DLL\0\0"s;
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, info));
    std::vector<DriverRecord> drivers = ReadDrivers(Store());
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_EQ(drivers[0].driver, "TL600.DRV");
    EXPECT_EQ(drivers[0].dependentFiles, std::vector<std::string>{"A.DRV"});
    EXPECT_EQ(drivers[0].datatype, "RAW");
    EXPECT_FALSE(Store().GetValue(DriverKey("Telmora 600"), "Help File"));

    DriverInfo3 again = Driver("TELMORA 600");
    again.monitorName = std::nullopt;
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, again));
    drivers = ReadDrivers(Store());
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_EQ(drivers[0].name, "Telmora 600");
    EXPECT_EQ(drivers[0].helpFile, "");
    EXPECT_EQ(drivers[0].monitor, "");
}

} // namespace
} // namespace tl::host
