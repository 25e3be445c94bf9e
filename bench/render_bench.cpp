#include <benchmark/benchmark.h>

#include "tests/support/gui_application.h"
#include "tests/support/sample_week.h"
#include "tests/support/template_fixture.h"
#include "workbook/engine/formula/recalculate.h"
#include "workbook/engine/render/sheet_renderer.h"

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

}  // namespace
