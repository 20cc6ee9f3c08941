// The host window system's costs: posted messages, and a dialog answered from an answers file and
// recorded.
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "ui/unattended/answers.h"
#include "ui/unattended/stream_line_sink.h"
#include "ui/unattended/transcript.h"
#include "ui/unattended/unattended_frontend.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace tl;

void PostedMessagesThroughTheLoop(benchmark::State& state) {
    host::IconvCodePage codePage;
    ui::UnattendedFrontend frontend(nullptr, codePage);
    host::HostWindowSystem system(frontend, codePage);
    int handled = 0;
    system.RegisterClass(
        {.name = "Bench", .proc = [&](WindowHandle, UINT message, WPARAM, LPARAM) -> LRESULT {
             handled += message == 400;
             return 0;
         }});
    WindowHandle window = system.CreateWindow("Bench", "", WS_POPUP, 0, 0, 10, 10, {}, 0, 0);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            system.PostMessage(window, 400, 0, 0);
        Message message;
        for (int i = 0; i < 1000 && system.GetMessage(message, {}, 0, 0); ++i)
            system.DispatchMessage(message);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    benchmark::DoNotOptimize(handled);
}
BENCHMARK(PostedMessagesThroughTheLoop);

void FontDialogAnsweredAndRecorded(benchmark::State& state) {
    host::IconvCodePage codePage;
    auto answers = ui::Answers::Parse("[FONT]\n110=Font 3,Font 7,Font 11\nPress=1\n").answers;
    ui::UnattendedFrontend frontend(&*answers, codePage);
    host::HostWindowSystem system(frontend, codePage);
    std::ostringstream out;
    ui::StreamLineSink lines(out);
    ui::Transcript transcript(lines, codePage);
    system.SetObserver(&transcript);
    DialogProc proc = [](DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            for (int i = 0; i < 20; ++i)
                dialog.ListAdd(110, "Font " + std::to_string(i));
            dialog.ListSetSel(110, true, -1);
            return TRUE;
        }
        if (message == WM_COMMAND && LoWord(wParam) == 1)
            dialog.EndDialog(static_cast<INT_PTR>(dialog.ListSelItems(110).size()));
        return message == WM_COMMAND;
    };
    for (auto _ : state) {
        out.str("");
        benchmark::DoNotOptimize(system.DialogBox("FONT", {}, proc, 0));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FontDialogAnsweredAndRecorded);

} // namespace

BENCHMARK_MAIN();
