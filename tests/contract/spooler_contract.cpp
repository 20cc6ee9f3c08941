#include "port_contract.h"

namespace tl::test {
namespace {

TEST_P(SpoolerContract, EnumerationsAnswerWithTheSizeTheyNeed) {
    Spooler& spooler = Ports().spooler;
    DWORD needed = 0, returned = 7;
    std::vector<DriverInfo1> drivers;
    if (!spooler.EnumPrinterDrivers(std::nullopt, kWindows95Environment, 1, &drivers, 0, &needed,
                                    &returned)) {
        EXPECT_EQ(spooler.GetLastError(), kErrorInsufficientBuffer);
        EXPECT_GE(needed, kDriverInfo1Size + 2);
        EXPECT_EQ(returned, 0u);
        ASSERT_TRUE(spooler.EnumPrinterDrivers(std::nullopt, kWindows95Environment, 1, &drivers,
                                               needed, &needed, &returned));
    }
    EXPECT_EQ(drivers.size(), returned);
    for (const DriverInfo1& driver : drivers) {
        EXPECT_FALSE(driver.name.empty());
    }

    std::vector<PrinterInfo5> printers;
    if (!spooler.EnumPrinters(kPrinterEnumLocal, std::nullopt, 5, &printers, 0, &needed,
                              &returned)) {
        EXPECT_EQ(spooler.GetLastError(), kErrorInsufficientBuffer);
        EXPECT_GE(needed, kPrinterInfo5Size + 4);
        ASSERT_TRUE(spooler.EnumPrinters(kPrinterEnumLocal, std::nullopt, 5, &printers, needed,
                                         &needed, &returned));
    }
    EXPECT_EQ(printers.size(), returned);
}

TEST_P(SpoolerContract, APrinterNeedsAnInstalledDriver) {
    Spooler& spooler = Ports().spooler;
    PrinterInfo2 info;
    info.printerName = "TlContract Printer";
    info.portName = "LPT1:";
    info.driverName = "TlContract Driver That Is Not There";
    info.printProcessor = std::string(kBuiltInPrintProcessor);
    info.datatype = "RAW";
    EXPECT_FALSE(spooler.AddPrinter(std::nullopt, 2, info));
    if (!WineDiffers("AddPrinterA, unknown driver")) {
        EXPECT_EQ(spooler.GetLastError(), kErrorUnknownPrinterDriver);
    }
    EXPECT_FALSE(spooler.ClosePrinter(PrinterHandle{0x4321}));
}

} // namespace
} // namespace tl::test
