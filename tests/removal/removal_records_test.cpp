// The parts of the removal that whole runs reach only by luck.
#include "removal/ini_lines.h"
#include "removal/removal_records.h"
#include "removal/removal_steps.h"
#include "state/removal_log.h"
#include "support/installer_harness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tl {
namespace {

using ::testing::ElementsAre;

TEST(RemovalRecordFormat, FieldsComeBackWhateverTheyHold) {
    const std::initializer_list<std::string_view> cases[] = {
        {"File", "1", "0", "C:\\WINDOWS\\SYSTEM\\A|B.DLL", ""},
        {"Commented", "C:\\WINDOWS\\WIN.INI", "windows", ";TL load=x.exe ", "load=x.exe %20 "},
        {"DefaultPrinter", "1", "\"Quoted\",TL600,LPT1:"},
        {"Settings"},
    };
    for (const auto& fields : cases) {
        const std::string value = EncodeRemovalRecord(fields);
        EXPECT_EQ(value.back(), '|') << value;
        EXPECT_EQ(DecodeRemovalRecord(value),
                  std::vector<std::string>(fields.begin(), fields.end()))
            << value;
    }
}

TEST(RemovalRecordFormat, DamagedValuesAreNoRecords) {
    for (const char* value : {"", "File|1|0|C:\\A.DLL", "File|%7|", "File|%ZZ|", "File|%"}) {
        EXPECT_TRUE(DecodeRemovalRecord(value).empty()) << value;
    }
}

TEST(RemovablePaths, OnlyPlainPathsInsideTheInstallationsDirectories) {
    const RemovalRoots roots{{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "D:\\FONTS\\TTF"}};
    struct Case {
        const char* path;
        bool directory;
        bool removable;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\TL600.DRV", false, true},
        {"c:\\windows\\system.b00", false, true},
        {"D:\\FONTS\\TTF\\TLGT.TTF", false, true},
        {"D:\\FONTS\\TTF", true, true}, // the font directory the installation made
        {"D:\\FONTS", true, true},      // and the one above it
        {"D:\\FONTS", false, false},    // but no file of that name
        {"C:\\WINDOWS", false, false},
        {"C:\\AUTOEXEC.BAT", false, false},
        {"C:\\WINDOWS\\SYSTEM\\..\\..\\AUTOEXEC.BAT", false, false},
        {"C:\\WINDOWS\\.\\WIN.INI", false, false},
        {"C:\\WINDOWS\\SYSTEM\\\\TL600.DRV", false, false},
        {"C:\\WINDOWS\\SYSTEM/../../AUTOEXEC.BAT", false, false},
        {"C:\\WINDOWSX\\A.DLL", false, false},
        {"\\\\SERVER\\SHARE\\WINDOWS\\A.DLL", false, false},
        {"WINDOWS\\A.DLL", false, false},
        {"C:\\WINDOWS\\A\x01.DLL", false, false},
        {"C:\\", true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRemovablePath(roots, c.path, c.directory), c.removable) << c.path;
}

TEST(RemovalIniLines, EditsTouchOnlyTheirSection) {
    IniLines lines = {"[boot]\r\n",          "device=TLPM.386\r\n", "[386Enh]\r\n",
                      "device=TLPM.386\r\n", ";device=*vpd\r\n",    "device=*vpd\r\n",
                      "[windows]\r\n",       "load=a.exe\r\n",      ";TL load=a.exe tl.exe\r\n"};
    EXPECT_TRUE(RemoveSectionLine(lines, "386enh", "DEVICE=tlpm.386"));
    EXPECT_TRUE(UncommentSectionLine(lines, "386Enh", "device=*vpd"));
    EXPECT_TRUE(RestoreCommentedLine(lines, "windows", ";TL load=a.exe tl.exe", "load=a.exe tl.exe",
                                     "load=a.exe"));
    EXPECT_FALSE(RemoveSectionLine(lines, "386Enh", "device=TLPM.386"));
    EXPECT_FALSE(RestoreCommentedLine(lines, "windows", ";TL gone", "gone", ""));
    EXPECT_THAT(lines,
                ElementsAre("[boot]\r\n", "device=TLPM.386\r\n", "[386Enh]\r\n", "device=*vpd\r\n",
                            "device=*vpd\r\n", "[windows]\r\n", "load=a.exe tl.exe\r\n"));
    EXPECT_TRUE(RemoveSection(lines, "386ENH"));
    EXPECT_THAT(lines, ElementsAre("[boot]\r\n", "device=TLPM.386\r\n", "[windows]\r\n",
                                   "load=a.exe tl.exe\r\n"));
}

// The earlier version cannot be put back over a file another program holds open.
TEST(RemoveFiles, ARestoreOverAFileInUseIsReportedInUse) {
    test::InstallerHarness pc(test::HarnessOptions().Ini("[InUse]\nC:\\WINDOWS\\TL.DLL=1\n"));
    pc.WriteWindowsFile("TL.DLL", "new");
    pc.WriteWindowsFile("TL.B00", "old");
    const std::vector<RemovalRecord> records{
        {"Change0001", {"File", "1", "1", "C:\\WINDOWS\\TL.DLL", "C:\\WINDOWS\\TL.B00"}}};
    RemovalContext context{pc.Get(), records, {{"C:\\WINDOWS"}}, {}, {}};
    RemoveFiles(context);
    EXPECT_EQ(context.report.lines.at(0).outcome, RemovalOutcome::InUse);
    EXPECT_EQ(pc.ReadWindowsFile("TL.DLL"), "new");
}

} // namespace
} // namespace tl
