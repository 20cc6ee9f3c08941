#include "dialogs/dialog_utils.h"
#include "resources/string_table.h"
#include "selection/catalogue.h"
#include "selection/copy_section.h"
#include "selection/driver_select.h"
#include "selection/spooler_lines.h"
#include "state/inf_compact.h"
#include "state/inf_query.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

using namespace std::string_literals;

constexpr std::string_view kCatalogue = R"([Manufacturer]
"English"=Models.ENU
[Models.ENU]
"Telmora 600"=TL600,extra
"Telmora 300"=TL300
[TL600]
CopyFiles=Files.Driver
DriverFile=TL600.DRV
[TL300]
CopyFiles=Files.Plain
[Files.Driver]
TL600.DRV
SAMPLE.DRV,SAMPLE.DR_
TLUI.DLL
[Files.Plain]
TL300.DRV
TLMON.DLL,TLMON.DL_
[SourceDisksFiles]
TL600.DRV=1
TL300.DRV=1
SAMPLE.DRV=2,extra
TLUI.DLL=1
TLMON.DLL=1
)";

class Catalogue : public ::testing::Test {
protected:
    Catalogue() { machine.SetPaths("C:\\WINDOWS\\tlsetup.ini"); }

    void Load(std::string_view text) { machine.Get().scripts.Adopt(CompactInf(text)); }
    std::optional<InfLine> Manufacturer() {
        return FindInfSection(machine.Get().scripts, std::nullopt, "Manufacturer");
    }
    int Read(int model, int edition = 0) {
        return ReadModelSection(machine.Get(), {}, Manufacturer(), edition, model);
    }
    std::vector<std::string> Entries() { return test::Entries(machine.Get().copyList); }
    std::vector<std::string> Renames() {
        std::vector<std::string> names;
        auto reader = machine.Get().renames.Read();
        while (auto name = reader.Next())
            names.emplace_back(*name);
        return names;
    }
    std::vector<ui::MessageBoxRequest> Boxes() {
        std::vector<ui::MessageBoxRequest> boxes;
        for (const auto& box : machine.Boxes())
            boxes.push_back(box.request);
        return boxes;
    }
    std::string NotFound(std::string_view name) {
        return LoadTextCopy(131) + "\n strings = " + std::string(name);
    }

    test::InstallerHarness machine;
};

TEST_F(Catalogue, MissingModelListIsReportedWithAnEmptyName) {
    Load("[Manufacturer]\nEnglish=Nowhere\n");
    EXPECT_EQ(LoadModelList(machine.Get(), {}, Manufacturer(), 0), 0);
    EXPECT_EQ(Read(0), 0);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, NotFound(""));
    EXPECT_EQ(Boxes()[0].caption, "Error");
    EXPECT_EQ(Boxes()[0].type, MB_OK | MB_ICONHAND);
    EXPECT_EQ(Boxes()[0].key, "131");
}

TEST_F(Catalogue, MoreThanFiveModelsAreReportedAndFiveOffered) {
    Load("[Manufacturer]\nE=M\n[M]\nA=S\nB=S\nC=S\nD=S\nE=S\nF=S\nG=S\n");
    EXPECT_EQ(LoadModelList(machine.Get(), {}, Manufacturer(), 0), 5);
    EXPECT_EQ(machine.Get().catalogue.models[4].name, "E");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "The driver catalogue lists 7 models; only the first 5 can be "
                               "installed.");
    EXPECT_EQ(Boxes()[0].caption, LoadTextCopy(162));
}

TEST_F(Catalogue, AbsentDriverKeysGiveEmptyRecords) {
    Load(kCatalogue);
    ASSERT_EQ(Read(1), 1);
    const auto values = DriverDataValues(machine.Get().catalogue);
    ASSERT_TRUE(values);
    for (const std::string& value : *values)
        EXPECT_EQ(value, "");
    // A section whose first line names one file still gets a rename list for its later lines.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"\xB1"
                                                   "1:TL300.DRV",
                                                   "61:TLMON.DL_"}));
    EXPECT_EQ(Renames(), (std::vector<std::string>{"TLMON.DLL"}));
}

struct FailureCase {
    const char* name;
    std::string_view script;
    std::string reported;
    std::vector<std::string> entries;
};

TEST_F(Catalogue, FailuresAreReportedAndKeepEarlierEntries) {
    const std::string head = "[Manufacturer]\nE=M\n[M]\nTelmora=D\n";
    const std::vector<FailureCase> cases = {
        {"driver section missing", "", "", {}},
        {"no CopyFiles", "[D]\nDriverFile=X.DRV\n", "", {}},
        {"copy section missing",
         "[D]\nCopyFiles=A,Gone\n[A]\nX.DRV\n[SourceDisksFiles]\nX.DRV=1\n",
         "Gone",
         {"\xB1"
          "1:X.DRV"}},
        {"no SourceDisksFiles", "[D]\nCopyFiles=A\n[A]\nX.DRV\n", "", {}},
        {"file not listed",
         "[D]\nCopyFiles=A\n[A]\nX.DRV\nY.DLL,Y.DL_\n[SourceDisksFiles]\nX.DRV=1\n",
         "Y.DLL",
         {"\xB1"
          "1:X.DRV"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const FailureCase& failure = cases[i];
        SCOPED_TRACE(failure.name);
        machine.Get().copyList.Clear();
        machine.Get().scripts.Release(*machine.Get().scripts.Current());
        Load(head + std::string(failure.script));
        EXPECT_EQ(Read(0), 0);
        ASSERT_EQ(Boxes().size(), i + 1);
        EXPECT_EQ(Boxes().back().text, NotFound(failure.reported));
        EXPECT_EQ(Entries(), failure.entries);
    }
}

TEST_F(Catalogue, TooLongPrinterNameIsRefused) {
    Load("[Manufacturer]\nE=M\n[M]\n" + std::string(40, 'N') + "=D\n[D]\nCopyFiles=A\n");
    EXPECT_EQ(Read(0), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text,
              "The printer name \"" + std::string(40, 'N') + "\" is longer than 39 characters.");
    EXPECT_EQ(machine.Get().printerName, "");
}

TEST_F(Catalogue, CopyListKeepsTo160Entries) {
    std::string script = "[Manufacturer]\nE=M\n[M]\nT=D\n[D]\nCopyFiles=A\n[A]\n";
    std::string disks = "[SourceDisksFiles]\n";
    for (int i = 0; i < 161; ++i) {
        script += "F" + std::to_string(i) + ".TXT\n";
        disks += "F" + std::to_string(i) + ".TXT=1\n";
    }
    Load(script + disks);
    EXPECT_EQ(Read(0), 0);
    EXPECT_EQ(machine.Get().copyList.Count(), 160u);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].key, CopyListErrorText(CopyListError::ListFull));
    EXPECT_NE(Boxes()[0].text.find("A: F160.TXT"), std::string::npos);
}

TEST_F(Catalogue, RenameListGrowsBeyondItsFirstSection) {
    // The first section sizes the list for one line; the second needs more than that.
    std::string script =
        "[Manufacturer]\nE=M\n[M]\nT=D\n[D]\nCopyFiles=A,B\n[A]\nX.DRV,X.DR_\n[B]\n";
    std::string disks = "[SourceDisksFiles]\nX.DRV=1\n";
    std::vector<std::string> expected = {"X.DRV"};
    for (int i = 0; i < 40; ++i) {
        const std::string name = "LONG_FILE_NAME_NUMBER_" + std::to_string(i) + ".DLL";
        script += name + ",L" + std::to_string(i) + ".DL_\n";
        disks += name + "=1\n";
        expected.push_back(name);
    }
    Load(script + disks);
    EXPECT_EQ(Read(0), 1);
    EXPECT_EQ(Renames(), expected);
}

TEST(FileNames, ExtensionIsBehindTheFirstDot) {
    EXPECT_EQ(FileExtension("TL600.DRV"), "DRV");
    EXPECT_EQ(FileExtension("A.B.C"), "B.C");
    EXPECT_EQ(FileExtension("README"), std::nullopt);
    EXPECT_EQ(FileExtension("NAME."), "");
}

} // namespace
} // namespace tl
