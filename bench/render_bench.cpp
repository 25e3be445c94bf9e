#include <benchmark/benchmark.h>

#include "tests/support/golden_weeks.h"
#include "tests/support/gui_application.h"
#include "tests/support/sample_week.h"
#include "tests/support/template_fixture.h"
#include "timesheet/generation_run.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/formula/recalculate.h"
#include "workbook/engine/render/sheet_renderer.h"
#include "workbook/run/private_temp_folder.h"

namespace {

using tallowby::engine::FormatLocale;
using tallowby::engine::Workbook;

// Drawing the filled template's used range (A1:I29) to a picture.
void RenderFilledTemplate(benchmark::State& state) {
    tallowby::testing::ensureGuiApplication();
    Workbook workbook = tallowby::engine::testing::templateWorkbook();
    tallowby::engine::testing::SampleWeek::fill(workbook);
    tallowby::engine::formula::recalculate(workbook);
    const FormatLocale locale = FormatLocale::english();
    for (auto _ : state) {
        QImage picture = tallowby::engine::renderUsedRange(workbook, 0, locale);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(RenderFilledTemplate)->Unit(benchmark::kMillisecond);

// Drawing the strips of a wide week's result sheet (the strips are only
// drawn, not written): what the picture file's writer waits for.
void RenderStripsRates(benchmark::State& state) {
    tallowby::testing::ensureGuiApplication();
    tallowby::PrivateTempFolder folder;
    const tallowby::GenerationResult made = tallowby::runGeneration(
        tallowby::testing::golden_weeks::weekWithRates(static_cast<int>(state.range(0))), folder,
        {});
    if (!made.handedOver || !made.failures.empty()) {
        state.SkipWithError("the week could not be generated");
        return;
    }
    const Workbook workbook = tallowby::engine::readWorkbookFile(made.resultPath.toStdString());
    const FormatLocale locale = FormatLocale::english();
    for (auto _ : state) {
        tallowby::engine::UsedRangeStrips strips(workbook, 0, locale);
        const bool drawn = strips.draw([](const QImage& strip, int) {
            benchmark::DoNotOptimize(strip.constBits());
            return true;
        });
        if (!drawn) state.SkipWithError("a strip was refused");
    }
}
BENCHMARK(RenderStripsRates)
    ->Arg(254)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
