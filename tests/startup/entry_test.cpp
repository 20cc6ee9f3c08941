#include "sequencer/entry.h"

#include "platform/host/ui/canvas_recorder.h"
#include "sequencer/configuration.h"
#include "sequencer/main_window.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

constexpr std::string_view kScript = "[CheckECP]\n0\n";

class EntryRun : public ::testing::Test {
protected:
    void SetUp() override { machine.WriteDiskFile("INSTALL.INF", kScript); }
    test::InstallerHarness machine;
};

TEST_F(EntryRun, ASecondCopyIsRefused) {
    WindowSystem& windows = machine.Windows();
    WindowClass other;
    other.name = "WLInstallWClass";
    other.proc = [&](WindowHandle w, UINT m, WPARAM wp, LPARAM lp) {
        return windows.DefWindowProc(w, m, wp, lp);
    };
    ASSERT_TRUE(windows.RegisterClass(other));
    ASSERT_TRUE(windows.CreateWindow("WLInstallWClass", "", WS_POPUP, 0, 0, 1, 1, {}, 0, 0));
    machine.WriteWindowsFile("~TL00001.txt", "C:\\WINDOWS\\tlsetup.ini");

    EXPECT_EQ(Entry(machine.Get(), std::string(300, 'x'), SW_SHOWNORMAL), 0);
    EXPECT_EQ(machine.Get().commandLine, std::string(300, 'x'));
    ASSERT_EQ(machine.Boxes().size(), 1u);
    const ui::MessageBoxRequest& box = machine.Boxes()[0].request;
    EXPECT_EQ(box.key, "134");
    EXPECT_EQ(machine.Utf8(box.text), "설치관리자가 이미 실행중입니다.");
    EXPECT_EQ(machine.Utf8(box.caption), "경고");
    EXPECT_EQ(box.type, MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL);
    EXPECT_FALSE(box.owner);
    // Nothing else ran: the hand-off file is still there for the running copy.
    EXPECT_TRUE(machine.WindowsFileExists("~TL00001.txt"));
}

TEST_F(EntryRun, UnderTheSwitchTheFullScreenFaceIsPaintedAndTheTimerStartsTheRun) {
    machine.WriteDiskFile("INSTALL.INF", std::string(kScript) + "[InstVersion]\n3.28\n");
    Installer& installer = machine.Get();
    installer.commandLine = "/ND";
    ASSERT_EQ(Configuration(installer), 1);
    host::HostWindowSystem& windows = machine.Windows();
    host::CanvasRecorder canvas(1024, 768);
    windows.SetCanvasSource([&](WindowHandle) { return &canvas; });
    ASSERT_EQ(CreateMainWindow(installer, SW_SHOWNORMAL), 1);
    WindowHandle window = installer.mainWindow;
    EXPECT_EQ(windows.FindWindow("WLInstallWClass", "Telmora Driver Installation"), window);
    Rect rect;
    ASSERT_TRUE(windows.GetWindowRect(window, rect));
    EXPECT_EQ(rect, (Rect{0, 0, windows.GetSystemMetrics(SM_CXSCREEN) - 1,
                          windows.GetSystemMetrics(SM_CYSCREEN) - 1}));
    auto style = static_cast<DWORD>(windows.GetWindowLong(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_MAXIMIZE | WS_BORDER), WS_POPUP | WS_MAXIMIZE | WS_BORDER);
    windows.UpdateWindow(window);
    bool versionShown = false;
    for (const host::CanvasOp& op : canvas.Ops())
        versionShown = versionShown || op.text == "Version 3.28";
    EXPECT_TRUE(versionShown);

    // Nothing else happens until the two-second timer posts the first step.
    machine.Loop();
    EXPECT_EQ(windows.Now(), 2000u);
    EXPECT_FALSE(windows.IsWindow(window));
    EXPECT_FALSE(windows.Stopped());
    EXPECT_TRUE(machine.Boxes().empty());
}

// That line "1" takes the installer's files is shown end to end by the finish scenario.
TEST_F(EntryRun, DeleteAtExitAsksOnlyOnLineOneAndPassesOverMissingFiles) {
    for (const char* line : {"TRUE", "1"}) {
        SCOPED_TRACE(line);
        test::InstallerHarness run;
        run.WriteDiskFile("INSTALL.INF", std::string(kScript) + "[DEL.INST]\n" + line + "\n");
        run.WriteWindowsFile("SYSTEM/tlins32a.exe", "exe");
        run.WriteWindowsFile("SYSTEM/OTHER.DLL", "other");
        EXPECT_EQ(Entry(run.Get(), "", SW_SHOWNORMAL), 0);
        EXPECT_EQ(run.WindowsFileExists("SYSTEM/tlins32a.exe"), line[0] != '1');
        EXPECT_TRUE(run.WindowsFileExists("SYSTEM/OTHER.DLL"));
    }
}

} // namespace
} // namespace tl
