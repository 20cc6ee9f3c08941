#include "sequencer/configuration.h"

#include "sequencer/entry.h"
#include "state/inf_query.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tl {
namespace {

constexpr std::string_view kMinimalInf = "[PRIVATE.INI]\ntlsetup.ini\n[CheckECP]\n0\n";
constexpr const char* kNoProgram = "프로그램을 작동시킬수 없습니다.";

// Each failed start-up shows its one message (UTF-8 here), ends the program with 0 and leaves no
// main window; a hand-off file that was read is deleted, whatever it held.
TEST(Configure, EachFailureShowsItsOneMessageAndEndsTheProgram) {
    const struct {
        const char* name;
        std::function<void(test::InstallerHarness&)> prepare;
        const char* key;
        const char* text;
        const char* caption;
    } failures[] = {
        {"MissingInstallInfBesideTheProgram", [](auto&) {}, "132", "INSTALL.INF 찾을수 없습니다.",
         "드라이버 설치"},
        {"EmptyInstallInf", [](auto& m) { m.WriteDiskFile("INSTALL.INF", ""); }, "131",
         "정보화일을 읽을수 없습니다.", "경고"},
        {"InstallInfThatCannotBeRead",
         [](auto& m) { m.Folder().MakeDirectory("disk/INSTALL.INF"); }, "133",
         "메모리부족. 설치프로그램 실행불가.", "경고"},
        {"DiskPathWithoutInstallInf",
         [](auto& m) {
             m.WriteDiskFile("INSTALL.INF", kMinimalInf);
             m.WriteWindowsFile("tlsetup.ini", "[Install]\nDiskPath=C:\\NOWHERE\n");
         },
         "132", "INSTALL.INF 찾을수 없습니다.", "드라이버 설치"},
        {"EmptyHandOffFile",
         [](auto& m) {
             m.WriteDiskFile("INSTALL.INF", kMinimalInf);
             m.WriteWindowsFile("~TL00001.txt", "");
         },
         "170",
         " 확인하세요.\n디스크가 차지않았거나 쓰기방지로 되어 있는지.\n 설치프로그램을 "
         "작동시키기에 충분한 메모리 입니다.",
         kNoProgram},
        {"HandOffFileThatIsAFolder",
         [](auto& m) { m.Folder().MakeDirectory("drive_c/WINDOWS/~TL00001.txt"); }, "170", nullptr,
         kNoProgram},
        {"HandOffFileWithoutAName",
         [](auto& m) { m.WriteWindowsFile("~TL00001.txt", std::string(1, '\0') + "C:\\X.INI"); },
         "170", nullptr, kNoProgram},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        test::InstallerHarness machine;
        failure.prepare(machine);
        EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
        ASSERT_EQ(machine.Boxes().size(), 1u);
        const ui::MessageBoxRequest& box = machine.Boxes()[0].request;
        EXPECT_EQ(box.key, failure.key);
        if (failure.text) {
            EXPECT_EQ(machine.Utf8(box.text), failure.text);
        }
        EXPECT_EQ(machine.Utf8(box.caption), failure.caption);
        EXPECT_EQ(box.type, MB_OK | MB_ICONHAND);
        EXPECT_FALSE(box.owner);
        EXPECT_FALSE(machine.Windows().FindWindow(kMainWindowClass, ""));
        EXPECT_FALSE(machine.Get().scripts.Current());
        EXPECT_EQ(machine.WindowsFileExists("~TL00001.txt"),
                  std::string_view(failure.name) == "HandOffFileThatIsAFolder");
    }
}

TEST(Configure, SettingsFileValues) {
    test::InstallerHarness machine(
        test::HarnessOptions().Ini("[Machine]\nWindowsDirectory=C:\\Windows\n"));
    const std::string fonts = "C:\\" + std::string(700, 'F') + "\\\\";
    machine.WriteDiskFile("INSTALL.INF", "[PRIVATE.INI]\nmy.ini\n[PRINTERDRIVER]\nPath = WIN95\n");
    machine.WriteWindowsFile("my.ini",
                             "[Install]\nDiskPath=A:\\\\\nFontPath=" + fonts + "\nLanguage=12\n");
    EXPECT_EQ(Configuration(machine.Get()), 1);
    const Paths& paths = machine.Get().paths;
    EXPECT_EQ(paths.privateSettingsFile, "C:\\WINDOWS\\my.ini"); // the directory upper-cased
    EXPECT_EQ(paths.installInfPath, "A:\\INSTALL.INF");
    // Kept whole, and only one trailing "\" goes from the font path.
    EXPECT_EQ(paths.fontDir, fonts.substr(0, fonts.size() - 1));
    EXPECT_EQ(paths.sourceDir, "A:\\WIN95");
    // A language beyond the nine editions falls back to the first.
    EXPECT_EQ(machine.Get().languageCode, "ENU");
}

// Names compare as Windows compares them: ASCII letters in any case.
TEST(Configure, ASettingsFileTheRunEditsIsRefusedInAnyCase) {
    for (const char* inf :
         {"[PRIVATE.INI]\nwin.ini\n", "[PRIVATE.INI]\nmy.ini\n[DeleteIni]\n1\n20:My.Ini, s, k\n"}) {
        SCOPED_TRACE(inf);
        test::InstallerHarness machine;
        machine.WriteDiskFile("INSTALL.INF", inf);
        EXPECT_EQ(Configuration(machine.Get()), 0);
        ASSERT_EQ(machine.Boxes().size(), 1u);
        EXPECT_NE(machine.Boxes()[0].request.text.find("the installer edits this file"),
                  std::string::npos);
    }
}

} // namespace
} // namespace tl
