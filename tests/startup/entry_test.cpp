#include "sequencer/entry.h"

#include "platform/host/ui/canvas_recorder.h"
#include "sequencer/configuration.h"
#include "sequencer/main_window.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

constexpr std::string_view kScript = "[CheckECP]\n0\n";

TEST(EntryRun, ASecondCopyIsRefused) {
    test::InstallerHarness machine;
    machine.WriteDiskFile("INSTALL.INF", kScript);
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
    EXPECT_EQ(box.type, MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL);
    EXPECT_FALSE(box.owner);
    // Nothing else ran: the hand-off file is still there for the running copy.
    EXPECT_TRUE(machine.WindowsFileExists("~TL00001.txt"));
}

TEST(EntryRun, TheMainWindowPaintsTheFaceWithTheVersion) {
    test::InstallerHarness machine;
    machine.WriteDiskFile("INSTALL.INF", std::string(kScript) + "[InstVersion]\n3.28\n");
    ASSERT_EQ(Configuration(machine.Get()), 1);
    host::CanvasRecorder canvas(1024, 768);
    machine.Windows().SetCanvasSource([&](WindowHandle) { return &canvas; });
    ASSERT_EQ(CreateMainWindow(machine.Get(), SW_SHOWNORMAL), 1);
    machine.Windows().UpdateWindow(machine.Get().mainWindow);
    bool versionShown = false;
    for (const host::CanvasOp& op : canvas.Ops())
        versionShown = versionShown || op.text == "Version 3.28";
    EXPECT_TRUE(versionShown);
}

} // namespace
} // namespace tl
