#include "support/installer_harness.h"
#include "sysfiles/ini_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tl {
namespace {

// Runs the line editor over `file` for X.386 (or `removalMode`) in [386Enh] "device", prefix "P".
struct EditResult {
    std::string text;
    IniLineEditor::State state;
    int questions = 0;
};

EditResult Edit(std::string_view file, std::string_view removalMode = "0:X.386",
                bool remove = true) {
    EditResult result;
    IniLineEditor editor("386Enh", "device", removalMode, "P", [&result, remove] {
        ++result.questions;
        return remove;
    });
    while (!file.empty()) {
        const std::size_t feed = file.find('\n');
        const std::size_t end = feed == std::string_view::npos ? file.size() : feed + 1;
        editor.Feed(file.substr(0, end), result.text);
        file.remove_prefix(end);
    }
    result.state = editor.GetState();
    return result;
}

TEST(IniLineEditorTest, RemovalTableRowsByteForByte) {
    const struct {
        std::string before, removalMode, written;
    } rows[] = {
        {"device=X.386\r\n", "0:X.386", ";P device=X.386\r\n"},
        {"device=X.386\r\n", "1:X.386", ";P device=X.386\r\n"},
        {"device=A.386,X.386,B.386\r\n", "0:X.386",
         "device=A.386,B.386\r\n;P device=A.386,X.386,B.386\r\n"},
        {"device=A.386,X.386\r\n", "0:X.386", "device=A.386\r\n;P device=A.386,X.386\r\n"},
        {"device=A.386,X.386\r\n", "1:X.386", ";P device=A.386,X.386\r\n"},
        {"device=C:\\DRV\\X.386\r\n", "0:X.386", ";P device=C:\\DRV\\X.386\r\n"},
        {"device=A.386 X.386\r\n", "0:X.386", "device=A.386\r\n;P device=A.386 X.386\r\n"},
        {"device=X.386 B.386\r\n", "0:x.386", "device=B.386\r\n;P device=X.386 B.386\r\n"},
    };
    for (const auto& row : rows) {
        const std::string file = "[386Enh]\r\n" + row.before + "[Next]\r\n";
        const EditResult result = Edit(file, row.removalMode);
        EXPECT_EQ(result.text, "[386Enh]\r\n" + row.written + "[Next]\r\n")
            << row.before << " " << row.removalMode;
        EXPECT_EQ(result.state, IniLineEditor::State::Changed) << row.before;
    }
}

TEST(IniLineEditorTest, LinesThatDoNotMatchStayAsTheyAre) {
    for (const char* file : {
             "[386Enh]\r\n;device=X.386\r\n",           // the semicolon is part of its key
             "[386Enh]\r\ndevice =X.386\r\n",           // the blank belongs to the key
             "[Other]\r\ndevice=X.386\r\n[386Enh]\r\n", // only another section names it
             "[386Enh]\r\ndevice=XX.386,X.3860\r\n",    // names that only begin or end alike
             "[386Enh]\r\nX.386\r\n[Other]\r\ndevice=X.386\r\n", // no "=", then the section ends
         }) {
        const EditResult result = Edit(file);
        EXPECT_EQ(result.text, file);
        EXPECT_NE(result.state, IniLineEditor::State::Changed) << file;
        EXPECT_EQ(result.questions, 0);
    }
    // A declined removal leaves the file and stops looking.
    const std::string file = "[386Enh]\r\ndevice=X.386\r\ndevice=X.386\r\n";
    const EditResult declined = Edit(file, "0:X.386", false);
    EXPECT_EQ(declined.text, file);
    EXPECT_EQ(declined.state, IniLineEditor::State::Passed);
    EXPECT_EQ(declined.questions, 1);
}

// Sections and keys in any case, only the first match; an open last line and long lines whole.
TEST(IniLineEditorTest, FindsTheFirstMatchInAnyCaseAndHandlesLinesWhole) {
    const EditResult first =
        Edit("[ 386enh ]\r\n  DEVICE=A.386\r\nDevice=x.386\r\ndevice=X.386\r\n");
    EXPECT_EQ(first.text, "[ 386enh ]\r\n  DEVICE=A.386\r\n;P Device=x.386\r\ndevice=X.386\r\n");
    EXPECT_EQ(first.questions, 1);
    EXPECT_EQ(Edit("[386Enh]\r\ndevice=A.386,X.386").text,
              "[386Enh]\r\ndevice=A.386\r\n;P device=A.386,X.386");
    EXPECT_EQ(Edit("[386Enh]\ndevice=X.386").text, "[386Enh]\n;P device=X.386");
    std::string many = "device=";
    for (int i = 0; i < 60; ++i)
        many += "D" + std::to_string(i) + ".386,";
    EXPECT_EQ(Edit("[386Enh]\r\n" + many + "X.386\r\n").text,
              "[386Enh]\r\n" + many.substr(0, many.size() - 1) + "\r\n;P " + many + "X.386\r\n");
}

TEST(PrefixEqualsNoCaseTest, FoldsCaseAndStopsAtTheShorterText) {
    EXPECT_TRUE(PrefixEqualsNoCase("DeleteIni", "deleteINI", 9));
    EXPECT_TRUE(PrefixEqualsNoCase("ab", "ABCD", 4));
    EXPECT_TRUE(PrefixEqualsNoCase("abX", "ABY", 2));
    EXPECT_FALSE(PrefixEqualsNoCase("abX", "ABY", 3));
    EXPECT_TRUE(PrefixEqualsNoCase("@", "`", 1)); // differ only in bit 0x20
}

TEST(ProductTextTest, PutsTheLanguagesWordForOr) {
    EXPECT_EQ(ProductText("5:Alpha or Beta", 0), "Alpha or Beta");
    EXPECT_EQ(ProductText("5:Alpha OR Beta or C", 2), "Alpha oder Beta or C");
    EXPECT_EQ(ProductText("5:Alpha or Beta", 7), "Alpha  Beta");
    EXPECT_EQ(ProductText("5: or", 1), " or"); // the four characters must all be there
    EXPECT_EQ(ProductText("5", 1), "");
    EXPECT_EQ(ProductText("5:" + std::string(124, 'x') + " or B", 2).size(), 127u);
}

// The INI files themselves, on a PC whose Windows directory holds them; the plain edits of a run
// are the scenarios' (the removal of the installer's own port monitor, read-only files, a full
// disk).
struct IniPc {
    explicit IniPc(std::string_view machineIni = "") : pc(test::HarnessOptions().Ini(machineIni)) {
        pc.SetPaths();
        owner = pc.MainWindow();
    }
    bool Edit(std::string_view fileField, std::string_view removalMode = "0:X.386") {
        return EditIniEntry(installer, owner, fileField, "386Enh", "device", removalMode, "P");
    }
    test::InstallerHarness pc;
    Installer& installer = pc.Get();
    WindowHandle owner;
};

// A NUL byte in a line is kept, as is everything behind it.
const std::string kTail("mark=\0tail\r\nend", 15);
const std::string kSystemIniText = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\n"
                                   "device=A.386,X.386,B.386\r\ndevice=Y.386\r\n" +
                                   kTail;

TEST(IniFile, BothFormsWriteTheSameFileAndOnlyTheFirstBackupIsKept) {
    IniPc m;
    using Rewrite = decltype(&RewriteIniFile);
    const std::pair<Rewrite, std::string> forms[] = {{&RewriteIniFile, "SYSTEM.B00"},
                                                     {&RewriteIniFileByLine, "SYSTEM.B01"}};
    for (const auto& [rewrite, backup] : forms) {
        m.pc.WriteWindowsFile("SYSTEM.INI", "stale bytes that the rewrite replaces");
        m.pc.WriteWindowsFile(backup, kSystemIniText);
        EXPECT_EQ(rewrite(m.installer, m.owner, "386Enh", "device", "0:X.386", "P",
                          "C:\\WINDOWS\\" + backup, "C:\\WINDOWS\\SYSTEM.INI", 1u,
                          kSystemIniBackupKey),
                  1);
        EXPECT_EQ(m.pc.ReadWindowsFile("SYSTEM.INI"),
                  "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=A.386,B.386\r\n"
                  ";P device=A.386,X.386,B.386\r\ndevice=Y.386\r\n" +
                      kTail)
            << backup;
        EXPECT_FALSE(m.pc.WindowsFileExists("SYSTEM.INI.TMP"));
    }
    EXPECT_EQ(m.installer.changeBits, 1u);
    EXPECT_EQ(m.pc.Setting(kSystemIniBackupKey), "C:\\WINDOWS\\SYSTEM.B00");
    EXPECT_TRUE(m.pc.WindowsFileExists("SYSTEM.B00"));
    EXPECT_FALSE(m.pc.WindowsFileExists("SYSTEM.B01"));

    // An empty or missing backup is no file for the first form; the second takes an empty one.
    m.pc.WriteWindowsFile("EMPTY.B00", "");
    m.installer.changeBits = 0;
    for (const auto& [rewrite, backup, result] :
         {std::tuple(&RewriteIniFile, "EMPTY", 0), std::tuple(&RewriteIniFile, "NONE", 0),
          std::tuple(&RewriteIniFileByLine, "EMPTY", 1)}) {
        EXPECT_EQ(rewrite(m.installer, m.owner, "386Enh", "device", "0:X.386", "P",
                          "C:\\WINDOWS\\" + std::string(backup) + ".B00", "C:\\WINDOWS\\EMPTY.INI",
                          1, kSystemIniBackupKey),
                  result)
            << backup;
    }
    EXPECT_FALSE(m.pc.WindowsFileExists("EMPTY.B00"));
    EXPECT_EQ(m.installer.changeBits, 0u);
}

// Nothing to do, no such file, a short file field; and SYSTEM.INI held open by another program,
// so the edited file cannot take its place: the file stays whole, without backup.
TEST(IniFile, NothingToDoOrAFailedReplacementLeavesTheFileAndNoBackup) {
    IniPc m;
    // The file in the system directory ("0" first), found by a name in any case.
    m.pc.WriteWindowsFile("SYSTEM/DRV.INI", kSystemIniText);
    m.pc.WriteWindowsFile("A", kSystemIniText);
    EXPECT_EQ(m.Edit("00:drv.ini", "0:Z.386"), 1);
    EXPECT_EQ(m.pc.ReadWindowsFile("SYSTEM/DRV.INI"), kSystemIniText);
    EXPECT_FALSE(m.pc.WindowsFileExists("SYSTEM/DRV.B00"));
    EXPECT_EQ(m.Edit("20:MISSING.INI"), 0);
    EXPECT_EQ(m.Edit("20:"), 0);
    EXPECT_EQ(m.Edit("2"), 0);
    EXPECT_NE(m.installer.installationState, InstallationState::Failed);
    // The shortest file field names a file, but one without extension gets no backup: no edit.
    EXPECT_EQ(m.Edit("20:A", "0:Z.386"), 0);
    EXPECT_EQ(m.installer.installationState, InstallationState::Failed);
    EXPECT_EQ(m.installer.changeBits, 0u);
    EXPECT_EQ(m.pc.Setting(kSystemIniBackupKey), "");

    IniPc inUse("[InUse]\nC:\\WINDOWS\\SYSTEM.INI=1\n");
    inUse.pc.WriteWindowsFile("SYSTEM.INI", kSystemIniText);
    EXPECT_EQ(inUse.Edit("20:SYSTEM.INI"), 1);
    EXPECT_EQ(inUse.pc.ReadWindowsFile("SYSTEM.INI"), kSystemIniText);
    EXPECT_FALSE(inUse.pc.WindowsFileExists("SYSTEM.INI.TMP"));
    EXPECT_FALSE(inUse.pc.WindowsFileExists("SYSTEM.B00"));
    EXPECT_EQ(inUse.installer.changeBits, 0u);
}

} // namespace
} // namespace tl
