// The steps' own ends that the whole-program scenarios do not reach: faults, stops and the
// last step's rules, run through the main window; and the fonts step's copy list: the pairs of
// the chosen fonts' sections, ordered by disk.
#include "sequencer/font_copy_list.h"
#include "sequencer/language_table.h"
#include "state/inf_compact.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tl {
namespace {

using test::Entries;
using test::InstallerHarness;
using Keys = std::vector<std::string>;
using Steps = std::vector<UINT>;

// A small install disk: INSTALL.INF, the catalogue OEMSETUP.INF in the driver folder WIN95 with
// one model "Telmora 600", and its files.
constexpr std::string_view kInstallInf =
    "[CheckECP]\n0\n[OEM.INF]\nOEMSETUP.INF\n[PRINTERDRIVER]\nPath = WIN95\n"
    "[NEEDED.DiskSpace]\n100\n";
constexpr std::string_view kCatalogue =
    "[Manufacturer]\n\"Telmora\"=Models.ENU\n[Models.ENU]\n\"Telmora 600\"=TL600\n"
    "[TL600]\nCopyFiles=Files.Driver\nDriverFile=TL600.DRV\nDefaultDataType=RAW\n"
    "[Files.Driver]\nTL600.DRV\nTLDEMO.PRN\nTLUI.DLL\n"
    "[SourceDisksFiles]\nTL600.DRV=1\nTLDEMO.PRN=1\nTLUI.DLL=1\n";
// INSTALL.INF's font sections for two fonts on disk 1.
constexpr std::string_view kFontSections =
    "[TRUETYPEFONTS]\nFontList = Gothic,Myeongjo\n[NEEDED.SPACE]\nGothic = 10,0\n"
    "Myeongjo = 10,0\n[Gothic.TrueType]\n1:GOTHIC.TTF, 0:\"Telmora Gothic\"\n"
    "[Myeongjo.TrueType]\n1:MJ.TTF, 0:\"Telmora Myeongjo\"\n";

void WriteDriverDisk(const InstallerHarness& machine, std::string_view extraInstall = "") {
    machine.WriteDiskFile("INSTALL.INF", std::string(kInstallInf) + std::string(extraInstall));
    machine.WriteDiskFile("WIN95/OEMSETUP.INF", std::string(kCatalogue));
    for (const char* file : {"TL600.DRV", "TLDEMO.PRN", "TLUI.DLL", "GOTHIC.TTF", "MJ.TTF"})
        machine.WriteDiskFile(std::string("WIN95/") + file, file);
}

// The answers-file user with no answers: every question takes its default.
InstallerHarness Machine(std::string_view machineIni = "") {
    return InstallerHarness(test::HarnessOptions().Answers("").Ini(machineIni));
}

TEST(StepChain, WaysARunEndsShortOfAnInstallation) {
    const struct {
        const char* name;
        std::string machineIni;
        bool unreadableCatalogue;
        Keys keys;
        InstallationState state;
    } runs[] = {
        {"AnUnreadableCatalogueEndsTheDriverStep",
         "",
         true,
         {"133"},
         InstallationState::NotStarted},
        // The system directory cannot be made on a write-protected drive: the copy engine
        // reports it and stops without a failure state of its own.
        {"ACopyRunThatStopsIsNotReportedAsInstalled",
         "[Machine]\nSystemDirectory=C:\\WINDOWS\\SYSNEW\n[Drive.C]\nReadOnly=1\n",
         false,
         {"139", "125", "153"},
         InstallationState::Failed},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        InstallerHarness machine = Machine(run.machineIni);
        WriteDriverDisk(machine);
        if (run.unreadableCatalogue) {
            std::filesystem::remove(machine.Folder().Root() / "disk/WIN95/OEMSETUP.INF");
            machine.Folder().MakeDirectory("disk/WIN95/OEMSETUP.INF");
        }
        ASSERT_TRUE(machine.Run());
        EXPECT_FALSE(machine.StopReason());
        EXPECT_EQ(machine.Steps(), (Steps{400, 404}));
        EXPECT_EQ(machine.BoxKeys(), run.keys);
        EXPECT_EQ(machine.Get().installationState, run.state);
        EXPECT_EQ(machine.Get().changeBits & kChangeDriverInstalled, 0u);
        EXPECT_FALSE(machine.Get().scripts.Current());
    }
}

TEST(StepChain, ADestroyedMainWindowReleasesTheRenameListAndEndsTheLoop) {
    InstallerHarness machine = Machine();
    WriteDriverDisk(machine);
    ASSERT_TRUE(machine.StartUp());
    ASSERT_TRUE(machine.Get().renames.Create(64));
    machine.Windows().DestroyWindow(machine.Get().mainWindow);
    EXPECT_FALSE(machine.Get().renames.Held());
    machine.Loop(); // returns: the quit message was posted
    EXPECT_FALSE(machine.StopReason());
}

TEST(FontsStep, AMissingOrEmptyInstallInfIsReportedWithoutOwner) {
    const struct {
        const char* name;
        bool missing;
        std::string key;
        std::string text;
    } cases[] = {{"missing", true, "132", "INSTALL.INF 찾을수 없습니다."},
                 {"empty", false, "131", "정보화일을 읽을수 없습니다."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstallerHarness machine = Machine();
        WriteDriverDisk(machine, kFontSections);
        ASSERT_TRUE(machine.StartUp());
        if (c.missing)
            std::filesystem::remove(machine.Folder().Root() / "disk/INSTALL.INF");
        else
            machine.WriteDiskFile("INSTALL.INF", "");
        machine.RunFrom(403);
        EXPECT_EQ(machine.Steps(), (Steps{403, 404}));
        ASSERT_EQ(machine.BoxKeys(), (Keys{c.key}));
        const ui::MessageBoxRequest& box = machine.Boxes()[0].request;
        EXPECT_EQ(machine.Utf8(box.text), c.text);
        EXPECT_EQ(machine.Utf8(box.caption), "드라이버 설치");
        EXPECT_EQ(box.type, MB_OK | MB_ICONHAND);
        EXPECT_FALSE(box.owner);
    }
}

TEST(ManufacturerLanguage, TheFirstFourLettersAfterTheBracketNameTheLanguage) {
    EXPECT_EQ(ManufacturerLanguage("Telmora (deutsch)"), 2);
    EXPECT_EQ(ManufacturerLanguage("Telmora [DEUTSCHLAND"), 2);
    EXPECT_EQ(ManufacturerLanguage("English"), 0);
    EXPECT_EQ(ManufacturerLanguage("Telmora (Francais)"), 1); // "&Fran" ends at its NUL
    EXPECT_EQ(ManufacturerLanguage("(Norsk)"), 4);            // "Nors&k" without its "&"
    EXPECT_EQ(ManufacturerLanguage("Telmora (Spain)"), 8);
    // The text before the bracket does not count; without a bracket the whole name does.
    EXPECT_EQ(ManufacturerLanguage("Deutsch (Korea)"), std::nullopt);
    EXPECT_EQ(ManufacturerLanguage("Telmora Deutsch"), std::nullopt);
}

using Names = std::vector<std::string>;

// A long font name finds its whole section, not one that matches its first 127 letters.
TEST(FontCopyList, PairsAreOrderedByDiskThenByTheScript) {
    const std::string font(200, 'F');
    SetupScripts scripts;
    scripts.Adopt(CompactInf("[Gothic.TrueType]\n"
                             "3:GT.TTF, 0:\"Gothic\", 1:GTB.TTF, 0:\"Gothic Bold\"\n"
                             "2:GTI.TTF, 0:\"Gothic Italic\", x:ignored, 1:NOT.TTF, 0:Not\n"
                             "[Batang.TrueType]\n"
                             "1:BT.TTF, 0:\"Batang\"\n[" +
                             std::string(127, 'F') + ".TrueType]\n1:CUT.TTF, 0:Cut\n[" + font +
                             ".TrueType]\n4:LONG.TTF, 0:Long\n"));
    std::vector<FontListFault> faults;
    std::vector<FontPair> pairs = CollectFontPairs(
        scripts, SplitSelectedFonts(" Gothic,,Missing,\"Batang\"," + font), faults);
    EXPECT_TRUE(faults.empty());
    ASSERT_EQ(pairs.size(), 5u);

    CopyList list;
    list.Append('1', '1', "OLD.DRV");
    ASSERT_EQ(FillFontCopyList(list, pairs), CopyListError::None);
    EXPECT_EQ(Entries(list),
              (Names{"51:GTB.TTF", "00:Gothic Bold", "51:BT.TTF", "00:Batang", "52:GTI.TTF",
                     "00:Gothic Italic", "53:GT.TTF", "00:Gothic", "54:LONG.TTF", "00:Long"}));
}

TEST(FontCopyList, AFileWithoutItsNameIsLeftOutAndNamed) {
    SetupScripts scripts;
    scripts.Adopt(CompactInf("[Gothic.TrueType]\n"
                             "1:A.TTF, 1:B.TTF, 0:\"B\"\n"
                             "1:C.TTF\n"));
    std::vector<FontListFault> faults;
    std::vector<FontPair> pairs = CollectFontPairs(scripts, {"Gothic"}, faults);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].fileName, "B.TTF");
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0].field, "1:A.TTF");
    EXPECT_EQ(faults[1].field, "1:C.TTF");
    EXPECT_EQ(faults[1].section, "Gothic.TrueType");
}

TEST(FontCopyList, AListThatWouldOverflowStopsAtAWholePair) {
    std::vector<FontPair> pairs(81, FontPair{'1', "F.TTF", "F", ""});
    pairs.back().fileName = "LAST.TTF";
    CopyList list;
    FontPair refused;
    EXPECT_EQ(FillFontCopyList(list, pairs, &refused), CopyListError::ListFull);
    EXPECT_EQ(list.Count(), 160u);
    EXPECT_EQ(refused.fileName, "LAST.TTF");
    // A name the entry cannot hold is refused, not cut.
    pairs = {FontPair{'1', std::string(141, 'N'), "N", ""}};
    EXPECT_EQ(FillFontCopyList(list, pairs, &refused), CopyListError::NameTooLong);
    EXPECT_TRUE(list.Empty());
}

} // namespace
} // namespace tl
