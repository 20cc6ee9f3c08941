#include "resources/string_table.h"
#include "selection/printer_name.h"
#include "selection/spooler_lines.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

constexpr int kEditId = 1006;

TEST(PrinterName, KoreanNamesThatDifferOnlyInATrailByteAreDifferent) {
    // 0x41..0x5A are trail bytes of code page 949 as well as letters: "\xB0\x41" and "\xB0\x61"
    // are two different syllables, not one in two cases.
    test::InstallerHarness machine(test::HarnessOptions().Registry(
        test::DriverLines("\xB0\x41 600") + test::PrinterLines("\xB0\x41 600")));
    EXPECT_TRUE(IsDriverInstalled(machine.Get(), "\xB0\x41 600"));
    EXPECT_FALSE(IsDriverInstalled(machine.Get(), "\xB0\x61 600"));
    EXPECT_TRUE(IsPrinterNameTaken(machine.Get(), "\xB0\x41 600"));
    EXPECT_FALSE(IsPrinterNameTaken(machine.Get(), "\xB0\x61 600"));
}

TEST(PrinterName, EnumerationsSeeLongListsWhole) {
    // 150 drivers and printers need far more than the first buffers hold, and more than 100.
    std::string registry = test::DriverLines("Telmora 600");
    for (int i = 0; i < 149; ++i)
        registry += test::DriverLines("A rather long installed driver name " + std::to_string(i)) +
                    test::PrinterLines("Office printer on the third floor " + std::to_string(i));
    registry += test::PrinterLines("zz Telmora 600");
    test::InstallerHarness machine(test::HarnessOptions().Registry(registry));
    EXPECT_TRUE(IsDriverInstalled(machine.Get(), "telmora 600"));
    EXPECT_TRUE(IsPrinterNameTaken(machine.Get(), "ZZ TELMORA 600"));
    EXPECT_FALSE(IsPrinterNameTaken(machine.Get(), "Telmora 600"));
}

TEST(PrinterName, AppendCopyNumberKeepsTo31Characters) {
    std::string name = "Telmora 600";
    AppendCopyNumber(name, 2);
    EXPECT_EQ(name, "Telmora 600 (Copy 2)");

    name = std::string(30, 'x');
    AppendCopyNumber(name, 2);
    EXPECT_EQ(name, std::string(22, 'x') + " (Copy 2)");

    name = std::string(22, 'x');
    AppendCopyNumber(name, 99);
    EXPECT_EQ(name, std::string(21, 'x') + " (Copy 99)");

    // 21 bytes of room end inside the eleventh Korean character: it goes whole.
    name.clear();
    for (int i = 0; i < 15; ++i)
        name += "\xC7\xC1";
    AppendCopyNumber(name, 12);
    EXPECT_EQ(name.size(), 30u);
    EXPECT_EQ(name.substr(20), " (Copy 12)");
}

TEST(PrinterName, CopyNumber99StandsEvenWhenTaken) {
    std::string registry = test::PrinterLines("P");
    for (int n = 2; n <= 99; ++n)
        registry += test::PrinterLines("P (Copy " + std::to_string(n) + ")");
    test::InstallerHarness machine(test::HarnessOptions().Registry(registry));
    machine.Unscripted() = [](ui::DialogDriver& dialog, int) -> std::optional<std::string> {
        dialog.Click(IDCANCEL);
        return std::nullopt;
    };
    machine.BoxAnswers() = {IDYES};
    EXPECT_EQ(ChoosePrinterName(machine.Get(), {}, "P"), 0);
    EXPECT_EQ(machine.Dialogs().at(0).opened.Find(kEditId)->text, "P (Copy 99)");
}

TEST(PrinterName, TypedNameThatIsTakenKeepsTheDialogOpen) {
    test::InstallerHarness machine(test::HarnessOptions().Registry(
        test::PrinterLines("Telmora 600") + test::PrinterLines("Office")));
    machine.Get().printerName = "Telmora 600";
    machine.Unscripted() = [](ui::DialogDriver& dialog, int attempt) -> std::optional<std::string> {
        dialog.TypeText(kEditId, attempt == 0 ? "OFFICE" : "A name far longer than thirty-one");
        dialog.Click(IDOK);
        return std::nullopt;
    };
    EXPECT_EQ(ChoosePrinterName(machine.Get(), {}, "Telmora 600"), 1);
    ASSERT_EQ(machine.Boxes().size(), 1u);
    const ui::MessageBoxRequest& box = machine.Boxes()[0].request;
    EXPECT_EQ(box.text, "Another printer already has this name.Use a different name");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.type, MB_OK | MB_ICONHAND);
    EXPECT_EQ(machine.Dialogs().at(0).opened.Find(2107)->text, "Telmora 600");
    // The edit field takes 31 characters.
    EXPECT_EQ(machine.Get().printerQueueName, "A name far longer than thirty-o");
}

} // namespace
} // namespace tl
