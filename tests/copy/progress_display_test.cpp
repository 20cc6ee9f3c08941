#include "copy/progress_display.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/canvas_recorder.h"
#include "platform/host/ui/host_window_system.h"
#include "resources/string_table.h"
#include "ui/scripted_frontend.h"

#include "support/plain_window.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace tl {
namespace {

using host::CanvasOp;
using host::CanvasRecorder;

// The COPYING dialog opened over a main window, each window painting on a canvas of its own.
class ProgressDisplayTest : public ::testing::Test {
protected:
    ProgressDisplayTest() : windows(frontend, codePage) {
        windows.SetCanvasSource([this](WindowHandle window) -> Canvas* {
            auto& canvas = canvases[window.value];
            if (!canvas) {
                Rect client;
                windows.GetClientRect(window, client);
                canvas = std::make_unique<CanvasRecorder>(client.Width(), client.Height(), &fonts);
            }
            return canvas.get();
        });
        EXPECT_EQ(RegisterProgressBarClass(windows, state), 1);
        EXPECT_EQ(RegisterTextBarClass(windows, state), 1);
        mainWindow = test::CreatePlainWindow(windows);
        OpenProgressDisplay(windows, fonts, state, mainWindow);
    }
    ~ProgressDisplayTest() override { CloseProgressDisplay(windows, fonts, state, mainWindow); }

    CanvasRecorder& CanvasOf(WindowHandle window) {
        windows.GetDC(window);
        return *canvases[window.value];
    }
    // The percentage last drawn on the bar.
    std::string LastPercent() {
        const auto& ops = CanvasOf(state.bar).Ops();
        for (auto op = ops.rbegin(); op != ops.rend(); ++op) {
            if (op->kind == CanvasOp::Kind::ExtText)
                return op->text;
        }
        return "";
    }

    host::IconvCodePage codePage;
    test::ScriptedFrontend frontend;
    host::HostWindowSystem windows;
    host::FontTable fonts;
    std::map<std::uint32_t, std::unique_ptr<CanvasRecorder>> canvases;
    ProgressState state;
    WindowHandle mainWindow;
};

TEST_F(ProgressDisplayTest, OpenShowsAnEmptyBarAndCloseTidiesUp) {
    ASSERT_TRUE(windows.IsWindow(state.dialog));
    EXPECT_FALSE(windows.IsWindowEnabled(mainWindow));
    EXPECT_EQ(windows.GetParent(state.bar), state.dialog);
    EXPECT_EQ(windows.GetParent(state.textBar), state.dialog);
    EXPECT_EQ(fonts.LiveCount(), 1u);
    EXPECT_EQ(ReadProgressBarWords(windows, state.bar).range, 100);
    EXPECT_EQ(LastPercent(), "  0%");

    const WindowHandle dialog = state.dialog;
    CloseProgressDisplay(windows, fonts, state, mainWindow);
    EXPECT_TRUE(windows.IsWindowEnabled(mainWindow));
    EXPECT_FALSE(windows.IsWindow(dialog));
    EXPECT_EQ(fonts.LiveCount(), 0u);
    EXPECT_EQ(SetProgressRange(windows, state, 5), 0);
    EXPECT_EQ(AdvanceProgress(windows, state, 1), 0);
    EXPECT_EQ(RedrawFileName(windows, state), 0);
    EXPECT_EQ(ShowTextBar(windows, state), 0);
}

TEST_F(ProgressDisplayTest, EveryAdvanceIsOnTheScreenAtOnceAndThePositionWrapsAtSixteenBits) {
    ASSERT_EQ(SetProgressRange(windows, state, 4), 1);
    for (const char* text : {" 25%", " 50%", " 75%", "100%", "125%"}) {
        ASSERT_EQ(AdvanceProgress(windows, state, 1), 1);
        EXPECT_EQ(LastPercent(), text); // painted before AdvanceProgress returned
        EXPECT_FALSE(windows.IsInvalid(state.bar));
    }
    SetProgressRange(windows, state, 0);
    SetProgressPosition(windows, state, 65535);
    AdvanceProgress(windows, state, 2);
    EXPECT_EQ(ReadProgressBarWords(windows, state.bar).position, 1);
    EXPECT_EQ(ReadProgressBarWords(windows, state.bar).range, 0);
    EXPECT_EQ(LastPercent(), "100%"); // range 0 counts as 1
}

TEST_F(ProgressDisplayTest, TextBarPaintsItsBackgroundOnceThenLabelAndCurrentFile) {
    state.currentFileName = "TLPRN600.DRV";
    CanvasRecorder& canvas = CanvasOf(state.textBar);
    const auto repaint = [&] {
        canvas.ClearOps();
        windows.InvalidateRect(state.textBar, nullptr, TRUE);
        windows.UpdateWindow(state.textBar);
        return canvas.Ops().empty() ? CanvasOp::Kind::Blit : canvas.Ops().back().kind;
    };
    EXPECT_EQ(repaint(), CanvasOp::Kind::Fill); // the first time: button face only
    EXPECT_EQ(repaint(), CanvasOp::Kind::Text); // later: the line

    canvas.ClearOps();
    ASSERT_EQ(RedrawFileName(windows, state), 1);
    const auto& ops = canvas.Ops();
    ASSERT_GE(ops.size(), 3u);
    const CanvasOp& label = ops[ops.size() - 3];
    EXPECT_EQ(label.text, *LookupString(159));
    EXPECT_EQ(label.font, state.boldFont);
    EXPECT_EQ(ops.back().text, "TLPRN600.DRV" + std::string(28, ' '));
    EXPECT_EQ(ops.back().x, 40 + host::MeasureText(fonts.Find(state.boldFont), label.text).cx);
}

} // namespace
} // namespace tl
