// The host spooler on a simulated PC: what it writes to registry.reg and WIN.INI, the sizes its
// enumerations ask for, and what it refuses. The port contract covers what Windows shares.
#include "host_pc.h"
#include "platform/host/ini_text.h"
#include "platform/host/spooler_records.h"

namespace tl::host {
namespace {

using namespace std::string_literals;

class HostSpoolerTest : public ::testing::Test {
protected:
    HostSpoolerTest()
        : pc("", {{"drive_c/WINDOWS/SYSTEM/TL600.DRV", "x"},
                  {"drive_c/WINDOWS/SYSTEM/TLMON.DLL", "x"},
                  {"drive_c/WINDOWS/SYSTEM/TLPROC.DLL", "x"}}) {}

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
        info.priority = info.defaultPriority = 1;
        return info;
    }
    Spooler& Spool() { return pc.Ports().spooler; }
    bool Add(const PrinterInfo2& info) {
        return Spool().ClosePrinter(Spool().AddPrinter({}, 2, info));
    }
    // kErrorSuccess for a call that succeeded, else the spooler's last error.
    DWORD Refusal(bool done) { return done ? kErrorSuccess : Spool().GetLastError(); }
    HostRegistrySpoolerStore Store() { return HostRegistrySpoolerStore(pc.machine->Registry()); }
    bool RegistryHolds(std::string_view text) {
        return pc.folder.ReadFile("registry.reg").find(text) != std::string::npos;
    }

    test::HostPc pc;
};

TEST_F(HostSpoolerTest, EnumerationsAreSizedLikeTheThirtyTwoBitApi) {
    std::vector<DriverInfo1> drivers;
    std::vector<PrinterInfo5> printers;
    DWORD needed = 99, returned = 99;
    ASSERT_TRUE(Spool().EnumPrinterDrivers({}, {}, 1, &drivers, 800, &needed, &returned));
    EXPECT_EQ(needed + returned, 0u);
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, Driver("Telmora 600")));
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, Driver("Generic")));
    // 4 bytes per DRIVER_INFO_1 and each name with its NUL: (4 + 12) + (4 + 8).
    EXPECT_EQ(
        Refusal(Spool().EnumPrinterDrivers({}, "Windows 4.0", 1, &drivers, 27, &needed, &returned)),
        kErrorInsufficientBuffer);
    EXPECT_EQ(needed, 28u);
    EXPECT_EQ(returned + drivers.size(), 0u);
    EXPECT_FALSE(Spool().EnumPrinterDrivers({}, {}, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(needed, 28u);
    ASSERT_TRUE(Spool().EnumPrinterDrivers({}, "windows 4.0", 1, &drivers, 28, &needed, &returned));
    ASSERT_EQ(returned, 2u);
    EXPECT_EQ(drivers[0].name + "," + drivers[1].name, "Telmora 600,Generic");

    ASSERT_TRUE(Add(Printer("Telmora 600")));
    // 20 bytes per PRINTER_INFO_5, then "Telmora 600" and "LPT1:" with their NULs.
    EXPECT_EQ(
        Refusal(Spool().EnumPrinters(kPrinterEnumLocal, {}, 5, &printers, 37, &needed, &returned)),
        kErrorInsufficientBuffer);
    EXPECT_EQ(needed, 38u);
    EXPECT_EQ(returned, 0u);
    PrinterInfo2 second = Printer("Second");
    second.attributes = kPrinterAttributeEnableBidi;
    ASSERT_TRUE(Add(second));
    // The default flag answers the default printer only; other flags find nothing here.
    ASSERT_TRUE(
        Spool().EnumPrinters(kPrinterEnumDefault, {}, 5, &printers, 4000, &needed, &returned));
    ASSERT_EQ(returned, 1u);
    EXPECT_EQ(printers[0].printerName, "Telmora 600");
    EXPECT_EQ(printers[0].portName, "LPT1:");
    EXPECT_EQ(printers[0].attributes, 0x804u);
    EXPECT_EQ(printers[0].deviceNotSelectedTimeout, 15000u);
    EXPECT_EQ(printers[0].transmissionRetryTimeout, 45000u);
    ASSERT_TRUE(Spool().EnumPrinters(0x10, {}, 5, &printers, 4000, &needed, &returned));
    EXPECT_EQ(returned, 0u);

    EXPECT_EQ(Refusal(Spool().EnumPrinterDrivers({}, {}, 3, &drivers, 800, &needed, &returned)),
              kErrorInvalidLevel);
    EXPECT_EQ(Refusal(Spool().EnumPrinterDrivers({}, "Windows NT x86", 1, &drivers, 800, &needed,
                                                 &returned)),
              kErrorInvalidEnvironment);
    EXPECT_EQ(
        Refusal(Spool().EnumPrinterDrivers("\\\\SERVER", {}, 1, &drivers, 800, &needed, &returned)),
        kErrorInvalidName);
    EXPECT_EQ(Refusal(Spool().EnumPrinters(kPrinterEnumLocal, {}, 2, &printers, 4000, &needed,
                                           &returned)),
              kErrorInvalidLevel);
    EXPECT_EQ(Refusal(Spool().EnumPrinters(kPrinterEnumLocal, {}, 5, &printers, 4000, nullptr,
                                           &returned)),
              kErrorInvalidParameter);
}

TEST_F(HostSpoolerTest, RecordsStandInRegistryRegAndWinIniAsWindows95KeepsThem) {
    ASSERT_TRUE(Spool().AddPrintProcessor({}, "Windows 4.0", "TLPROC.DLL", "TLProc"));
    ASSERT_TRUE(Spool().AddMonitor({}, 2, {"TL Monitor", "Windows 4.0", "TLMON.DLL"}));
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, Driver("Telmora 600")));
    PrinterInfo2 printer = Printer("My Telmora");
    printer.printProcessor = "TLProc";
    ASSERT_TRUE(Add(printer));
    ASSERT_TRUE(Add(Printer("Second")));
    const std::string print = "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print";
    const std::string env = print + "\\Environments\\Windows 4.0";
    EXPECT_TRUE(
        RegistryHolds(env + "\\Print Processors\\TLProc]\r\n\"Driver\"=\"TLPROC.DLL\"\r\n"));
    EXPECT_TRUE(RegistryHolds(print + "\\Monitors\\TL Monitor]\r\n\"Driver\"=\"TLMON.DLL\"\r\n"));
    EXPECT_TRUE(RegistryHolds(
        env + "\\Drivers\\Telmora 600]\r\n\"Driver\"=\"TL600.DRV\"\r\n"
              "\"Data File\"=\"TL600.DRV\"\r\n\"Configuration File\"=\"TL600.DRV\"\r\n"
              "\"Help File\"=\"\"\r\n\"Dependent Files\"=hex(7):54,4c,36,30,30,2e,44,52,56,00,"
              "54,4c,4d,"));
    EXPECT_TRUE(
        RegistryHolds("4c,00,00\r\n\"Monitor\"=\"TL Monitor\"\r\n\"Datatype\"=\"RAW\"\r\n"));
    EXPECT_TRUE(RegistryHolds(print +
                              "\\Printers\\My Telmora]\r\n\"Name\"=\"My Telmora\"\r\n"
                              "\"Port\"=\"LPT1:\"\r\n\"Printer Driver\"=\"Telmora 600\"\r\n"
                              "\"Print Processor\"=\"TLProc\"\r\n\"Datatype\"=\"RAW\"\r\n"));
    // The newer default printer took the default from the first.
    EXPECT_TRUE(
        RegistryHolds("\"Parameters\"=\"\"\r\n\"Attributes\"=dword:00000800\r\n"
                      "\"Priority\"=dword:00000001\r\n\"Default Priority\"=dword:00000001\r\n"));
    EXPECT_TRUE(RegistryHolds("\\Printers\\Second]\r\n\"Name\"=\"Second\"\r\n"));
    EXPECT_TRUE(RegistryHolds("\"Attributes\"=dword:00000804\r\n"));
    // WIN.INI for older programs; only the default printer is the device of [windows].
    const IniText winIni(pc.folder.ReadFile("drive_c/WINDOWS/WIN.INI"));
    EXPECT_EQ(winIni.Get("Devices", "My Telmora"), "TL600,LPT1:");
    EXPECT_EQ(winIni.Get("PrinterPorts", "My Telmora"), "TL600,LPT1:,15,45");
    EXPECT_EQ(winIni.Get("PrinterPorts", "Second"), "TL600,LPT1:,15,45");
    EXPECT_EQ(winIni.Get("windows", "device"), "Second,TL600,LPT1:");

    // Opened again, the spooler knows what it was told before.
    pc.machine.reset();
    pc.Open();
    EXPECT_FALSE(Spool().AddPrinter({}, 2, Printer("MY TELMORA")));
    EXPECT_EQ(Spool().GetLastError(), kErrorPrinterAlreadyExists);
    const std::vector<DriverRecord> drivers = ReadDrivers(Store());
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_EQ(drivers[0].dependentFiles, (std::vector<std::string>{"TL600.DRV", "TLMON.DLL"}));
}

TEST_F(HostSpoolerTest, DriverRecordsKeepFileNamesAndAReplacedDriverDropsStaleValues) {
    DriverInfo3 info = Driver("Telmora 600");
    info.driverPath = "C:\\WINDOWS\\SYSTEM\\TL600.DRV";
    info.helpFile = info.defaultDataType = std::nullopt;
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

TEST_F(HostSpoolerTest, RefusesWhatWindows95RefusesAndKeepsNothingOfIt) {
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, Driver("Telmora 600")));
    ASSERT_TRUE(Add(Printer("Telmora 600")));
    const MonitorInfo2 monitor{"TL Monitor", {}, "TLMON.DLL"};
    ASSERT_TRUE(Spool().AddMonitor({}, 2, monitor));
    PrinterInfo2 other = Printer("Other");
    other.printProcessor = "TLProc";
    EXPECT_EQ(Refusal(!!Spool().AddPrinter({}, 2, other)), kErrorUnknownPrintProcessor);
    EXPECT_EQ(Refusal(!!Spool().AddPrinter({}, 2, Printer("TELMORA 600"))),
              kErrorPrinterAlreadyExists);
    EXPECT_EQ(Refusal(!!Spool().AddPrinter({}, 2, Printer("X", "None"))),
              kErrorUnknownPrinterDriver);
    EXPECT_EQ(Refusal(!!Spool().AddPrinter({}, 2, Printer("A,B"))), kErrorInvalidPrinterName);
    EXPECT_EQ(Refusal(!!Spool().AddPrinter({}, 2, Printer(""))), kErrorInvalidPrinterName);
    EXPECT_EQ(Refusal(Spool().AddMonitor({}, 2, monitor)), kErrorPrintMonitorAlreadyInstalled);
    EXPECT_EQ(Refusal(Spool().AddMonitor({}, 2, {"local port", {}, "TLMON.DLL"})),
              kErrorPrintMonitorAlreadyInstalled);
    EXPECT_EQ(Refusal(Spool().AddMonitor({}, 2, {"Empty", {}, ""})), kErrorInvalidParameter);
    EXPECT_EQ(Refusal(Spool().AddMonitor({}, 1, {"M", {}, "TLMON.DLL"})), kErrorInvalidLevel);
    // Libraries are looked for in the system directory; a folder is no library.
    pc.folder.MakeDirectory("drive_c/WINDOWS/SYSTEM/DIR.DLL");
    for (const char* library : {"GONE.DLL", "DIR.DLL", "D:\\TLMON.DLL"}) {
        EXPECT_EQ(Refusal(Spool().AddMonitor({}, 2, {"M", {}, library})), kErrorModNotFound);
        EXPECT_EQ(Refusal(Spool().AddPrintProcessor({}, {}, library, "P")), kErrorModNotFound);
    }
    DriverInfo3 gone = Driver("Gone");
    gone.configFile = "GONE.DRV";
    EXPECT_EQ(Refusal(Spool().AddPrinterDriver({}, 3, gone)), kErrorFileNotFound);
    EXPECT_EQ(Refusal(Spool().AddPrintProcessor({}, {}, "TLPROC.DLL", "winprint")),
              kErrorPrintProcessorAlreadyInstalled);
    EXPECT_EQ(Refusal(Spool().AddPrintProcessor({}, "Windows NT x86", "TLPROC.DLL", "P")),
              kErrorInvalidEnvironment);
    EXPECT_EQ(ReadPrinters(Store()).size(), 1u);
    EXPECT_EQ(ReadMonitors(Store()).size(), 1u);
    EXPECT_TRUE(ReadPrintProcessors(Store()).empty());
    EXPECT_EQ(ReadDrivers(Store()).size(), 1u);

    // The built-in processor in any case, a driver named in other letters, libraries under a
    // full path or in small letters; a closed handle closes no more.
    other.printProcessor = "WINPRINT";
    other.driverName = "TELMORA 600";
    PrinterHandle added = Spool().AddPrinter({}, 2, other);
    ASSERT_TRUE(added);
    EXPECT_TRUE(Spool().ClosePrinter(added));
    EXPECT_EQ(Refusal(Spool().ClosePrinter(added)), kErrorInvalidHandle);
    EXPECT_TRUE(Spool().AddMonitor({}, 2, {"Full", {}, "C:\\WINDOWS\\SYSTEM\\TLMON.DLL"}));
    EXPECT_TRUE(Spool().AddPrintProcessor({}, {}, "tlproc.dll", "TLProc"));
}

TEST_F(HostSpoolerTest, AFailedWriteReportsFailureAndKeepsNothingButWhatWasKept) {
    ASSERT_TRUE(Spool().AddPrinterDriver({}, 3, Driver("Telmora 600")));
    // The registry port shares the registry; what it kept stays when a spooler change is dropped.
    Registry& registry = pc.Ports().registry;
    HKEY fonts{};
    ASSERT_EQ(registry.RegCreateKeyEx(kHkeyLocalMachine, "Software\\Fonts", 0, kKeyAllAccess,
                                      &fonts, nullptr),
              0);
    ASSERT_EQ(
        registry.RegSetValueEx(fonts, "TL Font", kRegSz, reinterpret_cast<const BYTE*>("A"), 2), 0);
    // A folder where the file should be: the replacement cannot be renamed over it.
    std::filesystem::remove(pc.machine->RegistryFile());
    pc.folder.MakeDirectory("registry.reg/in the way");
    EXPECT_FALSE(Spool().AddPrinter({}, 2, Printer("Telmora 600")));
    EXPECT_EQ(Spool().GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(Spool().AddMonitor({}, 2, {"TL Monitor", {}, "TLMON.DLL"}));
    EXPECT_EQ(Spool().GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(ReadPrinters(Store()).empty());
    EXPECT_TRUE(ReadMonitors(Store()).empty());
    EXPECT_EQ(ReadDrivers(Store()).size(), 1u);
    const RegistryKey* kept =
        pc.machine->Registry().Tree().Find("HKEY_LOCAL_MACHINE\\Software\\Fonts");
    ASSERT_NE(kept, nullptr);
    EXPECT_NE(kept->FindValue("TL Font"), nullptr);
}

} // namespace
} // namespace tl::host
