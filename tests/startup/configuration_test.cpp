#include "sequencer/configuration.h"

#include "sequencer/entry.h"
#include "startup_machine.h"
#include "state/inf_query.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

constexpr std::string_view kMinimalInf = "[PRIVATE.INI]\ntlsetup.ini\n[CheckECP]\n0\n";

class Configure : public ::testing::Test {
protected:
    int Run() { return Configuration(machine.Get()); }
    const Paths& P() { return machine.Get().paths; }

    // The one message box of a failed start-up, in UTF-8.
    void ExpectOnlyBox(const std::string& key, const std::string& text, const std::string& caption,
                       UINT icon) {
        ASSERT_EQ(machine.Boxes().size(), 1u);
        const ui::MessageBoxRequest& box = machine.Boxes()[0];
        EXPECT_EQ(box.key, key);
        EXPECT_EQ(machine.Ansi().ToUtf8(box.text), text);
        EXPECT_EQ(machine.Ansi().ToUtf8(box.caption), caption);
        EXPECT_EQ(box.type, MB_OK | icon);
        EXPECT_FALSE(box.owner);
    }

    void WriteSettings(std::string_view text) { machine.WriteWindowsFile("tlsetup.ini", text); }

    test::StartupMachine machine;
};

// Each failure shows its one message, ends the program with 0 and leaves no window.
TEST_F(Configure, MissingInstallInfBesideTheProgram) {
    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    ExpectOnlyBox("132", "INSTALL.INF 찾을수 없습니다.", "드라이버 설치", MB_ICONHAND);
    EXPECT_FALSE(machine.Windows().FindWindow(kMainWindowClass, ""));
}

TEST_F(Configure, EmptyInstallInf) {
    machine.WriteDiskFile("INSTALL.INF", "");
    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    ExpectOnlyBox("131", "정보화일을 읽을수 없습니다.", "경고", MB_ICONHAND);
}

TEST_F(Configure, InstallInfThatCannotBeRead) {
    machine.Folder().MakeDirectory("disk/INSTALL.INF");
    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    ExpectOnlyBox("133", "메모리부족. 설치프로그램 실행불가.", "경고", MB_ICONHAND);
}

TEST_F(Configure, DiskPathWithoutInstallInf) {
    machine.WriteDiskFile("INSTALL.INF", kMinimalInf);
    WriteSettings("[Install]\nDiskPath=C:\\NOWHERE\n");
    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    ExpectOnlyBox("132", "INSTALL.INF 찾을수 없습니다.", "드라이버 설치", MB_ICONHAND);
    EXPECT_FALSE(machine.Get().scripts.Current());
}

TEST_F(Configure, EmptyHandOffFileIsReportedAndDeleted) {
    machine.WriteDiskFile("INSTALL.INF", kMinimalInf);
    machine.WriteWindowsFile("~TL00001.txt", "");
    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    ExpectOnlyBox("170",
                  " 확인하세요.\n디스크가 차지않았거나 쓰기방지로 되어 있는지.\n 설치프로그램을 "
                  "작동시키기에 충분한 메모리 입니다.",
                  "프로그램을 작동시킬수 없습니다.", MB_ICONHAND);
    EXPECT_FALSE(machine.WindowsFileExists("~TL00001.txt"));
}

TEST_F(Configure, UnusableHandOffFilesAreReported) {
    machine.Folder().MakeDirectory("drive_c/WINDOWS/~TL00001.txt");
    EXPECT_EQ(Run(), 0);

    test::StartupMachine noName;
    noName.WriteWindowsFile("~TL00001.txt", std::string(1, '\0') + "C:\\WINDOWS\\tlsetup.ini");
    EXPECT_EQ(Configuration(noName.Get()), 0);
    EXPECT_FALSE(noName.WindowsFileExists("~TL00001.txt"));

    for (const auto* boxes : {&machine.Boxes(), &noName.Boxes()}) {
        ASSERT_EQ(boxes->size(), 1u);
        EXPECT_EQ((*boxes)[0].key, "170");
        EXPECT_EQ(machine.Ansi().ToUtf8((*boxes)[0].caption), "프로그램을 작동시킬수 없습니다.");
    }
}

TEST_F(Configure, HandOffFileNamesTheSettingsAndIsDeleted) {
    // The launcher's path is taken up to the NUL, whatever its length.
    std::string settings = "C:\\" + std::string(150, 'S') + ".INI";
    machine.WriteWindowsFile("~TL00001.txt", settings + std::string(1, '\0') + "junk");
    machine.Folder().WriteFile("drive_c/" + std::string(150, 'S') + ".INI",
                               "[Install]\nDiskPath=C:\\DISK\\\nLanguage=5\n");
    machine.Folder().WriteFile("drive_c/DISK/INSTALL.INF", kMinimalInf);
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(machine.Boxes().empty());
    EXPECT_FALSE(machine.WindowsFileExists("~TL00001.txt"));
    EXPECT_EQ(P().privateSettingsFile, settings);
    EXPECT_EQ(P().diskPath, "C:\\DISK");
    EXPECT_EQ(P().installInfPath, "C:\\DISK\\INSTALL.INF");
    EXPECT_EQ(machine.Get().languageCode, "SVE");
    EXPECT_TRUE(machine.Get().scripts.Current());
}

TEST_F(Configure, DefaultsFromTheProgramsDirectory) {
    machine.WriteDiskFile("INSTALL.INF", "[CheckECP]\n0\n");
    EXPECT_EQ(Run(), 1);
    // Without [PRIVATE.INI] the usual settings file is taken.
    EXPECT_EQ(P().privateSettingsFile, "C:\\WINDOWS\\tlsetup.ini");
    EXPECT_EQ(P().windowsDir, "C:\\WINDOWS");
    EXPECT_EQ(P().systemDir, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(P().fontDir, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(P().diskPath, "A:");
    EXPECT_EQ(P().sourceDir, "A:");
    EXPECT_EQ(P().installInfPath, "A:\\INSTALL.INF");
    EXPECT_EQ(machine.Get().languageIndex, 0);
    EXPECT_EQ(machine.Get().languageCode, "ENU");
    EXPECT_TRUE(machine.Get().waitCursor);
}

TEST_F(Configure, SettingsFileValues) {
    machine.WriteDiskFile("INSTALL.INF", "[PRIVATE.INI]\nmy.ini\n[PRINTERDRIVER]\nPath = WIN95\n");
    machine.WriteWindowsFile("my.ini", "[Install]\nDiskPath=A:\\\\\nFontPath=C:\\FONTS\\\\\n"
                                       "Language=12\n");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(P().privateSettingsFile, "C:\\WINDOWS\\my.ini");
    EXPECT_EQ(P().diskPath, "A:");
    EXPECT_EQ(P().installInfPath, "A:\\INSTALL.INF");
    // Only one trailing "\" goes from the font path.
    EXPECT_EQ(P().fontDir, "C:\\FONTS\\");
    EXPECT_EQ(P().sourceDir, "A:\\WIN95");
    EXPECT_TRUE(machine.Get().options.driverPath);
    // A language beyond the nine editions falls back to the first.
    EXPECT_EQ(machine.Get().languageIndex, 0);
    EXPECT_EQ(machine.Get().languageCode, "ENU");
}

TEST_F(Configure, LongSettingsAreKeptWhole) {
    std::string fonts = "C:\\" + std::string(700, 'F');
    machine.WriteDiskFile("INSTALL.INF", kMinimalInf);
    WriteSettings("[Install]\nFontPath=" + fonts + "\n");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(P().fontDir, fonts);
}

TEST_F(Configure, FontPathLosesOneBackslashAndWindowsDirectoryIsUpperCased) {
    test::StartupMachine lower("[Machine]\nWindowsDirectory=C:\\Windows\n");
    lower.WriteDiskFile("INSTALL.INF", "[PRINTERDRIVER]\nPath =\n");
    lower.WriteWindowsFile("tlsetup.ini", "[Install]\nFontPath=C:\\FONTS\\\n");
    EXPECT_EQ(Configuration(lower.Get()), 1);
    EXPECT_EQ(lower.Get().paths.windowsDir, "C:\\WINDOWS");
    EXPECT_EQ(lower.Get().paths.fontDir, "C:\\FONTS");
    // An empty driver folder still counts as given, and adds nothing to the path.
    EXPECT_TRUE(lower.Get().options.driverPath);
    EXPECT_EQ(lower.Get().paths.sourceDir, "A:");
}

TEST_F(Configure, RegistersTheMainWindowClass) {
    machine.WriteDiskFile("INSTALL.INF", kMinimalInf);
    EXPECT_EQ(Run(), 1);
    // A second registration of the same class is refused: it is there.
    EXPECT_EQ(RegisterMainWindowClass(machine.Get()), 0);
}

} // namespace
} // namespace tl
