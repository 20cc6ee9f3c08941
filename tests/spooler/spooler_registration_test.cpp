#include "spooler/driver_record.h"
#include "spooler/spooler_registration.h"

#include "platform/error_event.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

using namespace std::string_literals;

std::string Block(std::string_view monitor, std::string_view processor,
                  std::string_view dataType = "", std::string_view help = "TL600.HLP",
                  std::string_view driver = "TL600.DRV") {
    std::string block = "0\0"s + std::string(driver) + "\0\r1\0"s + std::string(dataType) +
                        "\0\r2\0"s + std::string(help) + "\0\r3\0"s + std::string(monitor) +
                        "\0\r4\0\0\r5\0"s + std::string(processor) + "\0\r\x1A"s;
    block.resize(1536, '\0');
    return block;
}

// A machine holding the driver's files, with the model's name chosen and its files listed.
class Registration {
public:
    explicit Registration(std::string_view registry = "")
        : machine(test::HarnessOptions().Registry(registry).Ini(
              "[Machine]\r\nWindowsDirectory=C:\\WINDOWS\r\n")) {
        for (const char* file : {"TL600.DRV", "TL600.HLP", "TLMON.DLL", "TLPROC.DLL", "TLFONT.DAT"})
            machine.Folder().WriteFile("drive_c/WINDOWS/SYSTEM/"s + file, "x");
        Installer& installer = machine.Get();
        installer.printerName = "Telmora 600";
        installer.paths.privateSettingsFile = "C:\\WINDOWS\\tlsetup.ini";
        installer.copyList.Append(kFlagDriver, '1', "TL600.DRV");
        installer.copyList.Append(kFlagSystemFile, '1', "TL600.HLP");
        installer.copyList.Append(kFlagSystemFile, '2', "TLMON.DLL");
        installer.copyList.Append(kFlagSystemFile, '2', "TLPROC.DLL");
    }

    int Run(std::string block) {
        machine.Get().catalogue.driverData = std::move(block);
        return RegisterWithSpooler(machine.Get(), {});
    }
    std::string RegistryText() const { return machine.Folder().ReadFile("registry.reg"); }
    bool Holds(std::string_view text) const {
        return RegistryText().find(text) != std::string::npos;
    }

    test::InstallerHarness machine;
};

// The error event names the call, the name and the code; nothing after the refusal is registered.
struct Refusal {
    const char* name;
    std::string block;
    const char* queueName;
    const char* call;
    const char* named;
    DWORD code;
    const char* notRegistered; // a registry key that must not be there afterwards
};

TEST(SpoolerRegistration, EveryRefusalFailsTheInstallationAndSaysWhatWasRefused) {
    const Refusal refusals[] = {
        {"print processor", Block("TL Monitor,TLMON.DLL", "TLPROC,NONE.DLL"), "",
         "AddPrintProcessorA", "TLPROC", 126, "Monitors\\TL Monitor]"},
        {"language monitor", Block("TL Monitor,NONE.DLL", "TLPROC,TLPROC.DLL"), "", "AddMonitorA",
         "TL Monitor", 126, "Drivers\\Telmora 600]"},
        {"driver", Block("", "", "", "TL600.HLP", "NONE1.DRV"), "", "AddPrinterDriverA",
         "Telmora 600", 2, "Print\\Printers\\"},
        {"printer", Block("", ""), "Telmora, 600", "AddPrinterA", "Telmora, 600", 1801,
         "Print\\Printers\\"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        Registration run;
        run.machine.Get().printerQueueName = refusal.queueName;
        EXPECT_EQ(run.Run(refusal.block), 0);
        EXPECT_FALSE(run.machine.Get().catalogue.driverData) << "the block is released";
        EXPECT_EQ(RegisterWithSpooler(run.machine.Get(), {}), 0) << "no driver data, no run";
        EXPECT_FALSE(run.Holds(refusal.notRegistered)) << run.RegistryText();
        ASSERT_EQ(run.machine.Events().size(), 1u);
        const PlatformEvent& error = run.machine.Events()[0];
        EXPECT_EQ(error.event, "error");
        EXPECT_EQ(error.fields, (MakeErrorEvent(run.machine.Get().platform.codePage, refusal.call,
                                                refusal.named, refusal.code)
                                     .fields));
    }
}

TEST(SpoolerRegistration, AMonitorAlreadyInstalledIsNoRefusal) {
    Registration run("[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Monitors\\"
                     "TL Monitor]\r\n\"Driver\"=\"TLMON.DLL\"\r\n\r\n");
    EXPECT_EQ(run.Run(Block("TL Monitor,TLMON.DLL", "TLPROC,TLPROC.DLL")), 1);
    EXPECT_TRUE(run.Holds("Print\\Printers\\Telmora 600]"));
    EXPECT_TRUE(run.machine.Events().empty());
}

TEST(DriverRecord, FindsRecordsByNumberAndStopsAtTheBlockEnd) {
    const std::string block = Block("TL Monitor,TLMON.DLL", "TLPROC,TLPROC.DLL");
    EXPECT_EQ(FindDriverRecord(block, 0), "TL600.DRV");
    EXPECT_EQ(FindDriverRecord(block, 1), "");
    EXPECT_EQ(FindDriverRecord(block, 5), "TLPROC,TLPROC.DLL");
    EXPECT_EQ(FindDriverRecord(block, 6), std::nullopt);
    // Records behind the end byte are not part of the block.
    EXPECT_EQ(FindDriverRecord("1\0A\0\r\x1A"s + "7\0B\0\r", 7), std::nullopt);
    // Several digits are one decimal number; "07" is 7, a number with a letter matches nothing.
    const std::string numbers = "12\0X\0\r07\0Y\0\r1a\0Z\0\r\x1A"s;
    EXPECT_EQ(FindDriverRecord(numbers, 12), "X");
    EXPECT_EQ(FindDriverRecord(numbers, 7), "Y");
    EXPECT_EQ(FindDriverRecord(numbers, 1), std::nullopt);
}

TEST(DriverRecord, TruncatedBlocksEndTheSearchWithoutReadingPastThem) {
    EXPECT_EQ(FindDriverRecord("", 0), std::nullopt);
    EXPECT_EQ(FindDriverRecord("0\0TL600.DRV"s, 0), std::nullopt);
    EXPECT_EQ(FindDriverRecord("0\0A\0"s, 0), "A"); // no carriage return, no end byte
    EXPECT_EQ(FindDriverRecord("0\0A\0\r3"s, 3), std::nullopt);
}

TEST(DriverRecord, FieldsSplitAtCommasAndPassOverEmptyOnes) {
    EXPECT_EQ(DriverRecordField("TL Monitor,TLMON.DLL", 1), "TL Monitor");
    EXPECT_EQ(DriverRecordField("TL Monitor,TLMON.DLL", 2), "TLMON.DLL");
    EXPECT_EQ(DriverRecordField("TL Monitor", 2), "");
    EXPECT_EQ(DriverRecordField("", 1), "");
    // An empty second field is passed over: field 2 is the third one written.
    EXPECT_EQ(DriverRecordField("NAME,,LIB.DLL", 2), "LIB.DLL");
    EXPECT_EQ(DriverRecordField("NAME,LIB.DLL\rREST", 2), "LIB.DLL");
}

} // namespace
} // namespace tl
