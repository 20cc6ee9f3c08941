#include "support/installer_harness.h"
#include "sysfiles/ini_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tl {
namespace {

// Runs the line editor over `file` for X.386 in [386Enh] "device", prefix "P", removing each time.
struct EditResult {
    std::string text;
    IniLineEditor::State state;
    int questions = 0;
};

EditResult Edit(std::string_view file) {
    EditResult result;
    IniLineEditor editor("386Enh", "device", "0:X.386", "P",
                         [&result] { return ++result.questions; });
    while (!file.empty()) {
        const std::size_t feed = file.find('\n');
        const std::size_t end = feed == std::string_view::npos ? file.size() : feed + 1;
        editor.Feed(file.substr(0, end), result.text);
        file.remove_prefix(end);
    }
    result.state = editor.GetState();
    return result;
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

// The INI files themselves, on a PC whose Windows directory holds them.
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

// Nothing to do, no such file, a short file field, or SYSTEM.INI held open by another program.
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
