#include "sequencer/entry.h"

#include "platform/host/ui/canvas_recorder.h"
#include "sequencer/configuration.h"
#include "sequencer/main_window.h"
#include "startup_machine.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

constexpr std::string_view kScript = "[CheckECP]\n0\n";

class EntryRun : public ::testing::Test {
protected:
    void SetUp() override { machine.WriteDiskFile("INSTALL.INF", kScript); }
    test::StartupMachine machine;
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

    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    ASSERT_EQ(machine.Boxes().size(), 1u);
    const ui::MessageBoxRequest& box = machine.Boxes()[0];
    EXPECT_EQ(box.key, "134");
    EXPECT_EQ(machine.Ansi().ToUtf8(box.text), "설치관리자가 이미 실행중입니다.");
    EXPECT_EQ(machine.Ansi().ToUtf8(box.caption), "경고");
    EXPECT_EQ(box.type, MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL);
    EXPECT_FALSE(box.owner);
    // Nothing else ran: the hand-off file is still there for the running copy.
    EXPECT_TRUE(machine.WindowsFileExists("~TL00001.txt"));
}

TEST_F(EntryRun, RunsToTheQuitMessageAndReleasesTheScript) {
    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    // The script names no driver catalogue: the steps say so and finish.
    ASSERT_EQ(machine.Boxes().size(), 1u);
    EXPECT_EQ(machine.Boxes()[0].key, "132");
    EXPECT_FALSE(machine.Get().scripts.Current());
    EXPECT_FALSE(machine.Windows().IsWindow(machine.Get().mainWindow));
    EXPECT_EQ(machine.Get().commandLine, "");
}

TEST_F(EntryRun, TheCommandLineIsKeptWhole) {
    std::string longLine(300, 'x');
    EXPECT_EQ(Entry(machine.Get(), longLine, SW_SHOWNORMAL), 0);
    EXPECT_EQ(machine.Get().commandLine, longLine);
}

TEST_F(EntryRun, MainWindowCoversTheScreenLessOnePixel) {
    Installer& installer = machine.Get();
    installer.commandLine = "/ND"; // the first step waits for the timer, so the window stays
    ASSERT_EQ(Configuration(installer), 1);
    ASSERT_EQ(CreateMainWindow(installer, SW_SHOWNORMAL), 1);
    WindowSystem& windows = machine.Windows();
    WindowHandle window = installer.mainWindow;
    EXPECT_EQ(windows.FindWindow("WLInstallWClass", "Telmora Driver Installation"), window);
    Rect rect;
    ASSERT_TRUE(windows.GetWindowRect(window, rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.Width(), windows.GetSystemMetrics(SM_CXSCREEN) - 1);
    EXPECT_EQ(rect.Height(), windows.GetSystemMetrics(SM_CYSCREEN) - 1);
    auto style = static_cast<DWORD>(windows.GetWindowLong(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_MAXIMIZE | WS_BORDER), WS_POPUP | WS_MAXIMIZE | WS_BORDER);
    EXPECT_TRUE(windows.IsWindowVisible(window));
}

TEST_F(EntryRun, UnderTheSwitchTheFaceIsPaintedAndTheTimerStartsTheRun) {
    machine.WriteDiskFile("INSTALL.INF", std::string(kScript) + "[InstVersion]\n3.28\n");
    Installer& installer = machine.Get();
    installer.commandLine = "/ND";
    ASSERT_EQ(Configuration(installer), 1);
    host::HostWindowSystem& windows = machine.Windows();
    host::CanvasRecorder canvas(1024, 768);
    windows.SetCanvasSource([&](WindowHandle) { return &canvas; });
    ASSERT_EQ(CreateMainWindow(installer, SW_SHOWNORMAL), 1);
    windows.UpdateWindow(installer.mainWindow);
    bool versionShown = false;
    for (const host::CanvasOp& op : canvas.Ops())
        versionShown = versionShown || op.text == "Version 3.28";
    EXPECT_TRUE(versionShown);

    // Nothing else happens until the two-second timer posts the first step, which (until the
    // steps are wired in) ends the run with the quit code 0.
    Message message;
    while (windows.GetMessage(message, {}, 0, 0))
        windows.DispatchMessage(message);
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(windows.Now(), 2000u);
    EXPECT_FALSE(windows.IsWindow(installer.mainWindow));
    EXPECT_FALSE(windows.Stopped());
}

class DeleteAtExit : public EntryRun {
protected:
    int RunWith(std::string_view deleteLine) {
        machine.WriteDiskFile("INSTALL.INF", std::string(kScript) + "[DEL.INST]\n" +
                                                 std::string(deleteLine) + "\n");
        machine.WriteWindowsFile("SYSTEM/TLINS32A.DLL", "dll");
        machine.WriteWindowsFile("SYSTEM/tlins32a.exe", "exe");
        return Entry(machine.Get(), "", SW_SHOWNORMAL);
    }
};

// That line "1" takes the installer's files is shown end to end by the finish scenario.
TEST_F(DeleteAtExit, OnlyTheLineOneAsks) {
    EXPECT_EQ(RunWith("TRUE"), 0);
    EXPECT_TRUE(machine.WindowsFileExists("SYSTEM/TLINS32A.DLL"));
    EXPECT_TRUE(machine.WindowsFileExists("SYSTEM/tlins32a.exe"));
}

TEST_F(DeleteAtExit, AMissingFileIsPassedOver) {
    machine.WriteDiskFile("INSTALL.INF", std::string(kScript) + "[DEL.INST]\n1\n");
    machine.WriteWindowsFile("SYSTEM/tlins32a.exe", "exe");
    machine.WriteWindowsFile("SYSTEM/OTHER.DLL", "other");
    EXPECT_EQ(Entry(machine.Get(), "", SW_SHOWNORMAL), 0);
    EXPECT_FALSE(machine.WindowsFileExists("SYSTEM/tlins32a.exe"));
    EXPECT_TRUE(machine.WindowsFileExists("SYSTEM/OTHER.DLL"));
}

} // namespace
} // namespace tl
