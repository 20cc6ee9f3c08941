// What one repaint of the main window's face costs on the host recorder, and what building the
// in-memory dialog templates costs.
#include "dialogs/memory_dialogs_layout.h"
#include "platform/host/ui/canvas_recorder.h"
#include "sequencer/face.h"

#include <benchmark/benchmark.h>

namespace {

void PaintFaceOnRecorder(benchmark::State& state) {
    const auto width = static_cast<tl::LONG>(state.range(0));
    const auto height = static_cast<tl::LONG>(state.range(1));
    for (auto _ : state) {
        tl::host::CanvasRecorder canvas(width, height);
        tl::PaintFace(canvas, width, height, tl::FaceState{true});
        benchmark::DoNotOptimize(canvas.Pixel(width / 2, height / 2));
    }
}
BENCHMARK(PaintFaceOnRecorder)->Args({640, 480})->Args({1024, 768});

void BuildChoiceTemplate(benchmark::State& state) {
    for (auto _ : state) {
        tl::DialogTemplateBuilder builder;
        tl::BuildDialogTemplate(tl::ChoiceDialogTemplate(9, 9, u"system"), builder);
        benchmark::DoNotOptimize(builder.Used());
    }
}
BENCHMARK(BuildChoiceTemplate);

} // namespace

BENCHMARK_MAIN();
