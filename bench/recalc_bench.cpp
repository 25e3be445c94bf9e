#include <benchmark/benchmark.h>

#include "tests/support/sample_week.h"
#include "tests/support/template_fixture.h"
#include "workbook/engine/formula/recalculate.h"

namespace {

using tallowby::engine::Workbook;

// Recalculating the filled template: every formula cell, in dependency order.
void RecalculateFilledTemplate(benchmark::State& state) {
    Workbook workbook = tallowby::engine::testing::templateWorkbook();
    tallowby::engine::testing::SampleWeek::fill(workbook);
    size_t formulas = 0;
    for (auto _ : state) {
        formulas = tallowby::engine::formula::recalculate(workbook).formulas;
        benchmark::DoNotOptimize(workbook.sheets[0].cells());
    }
    state.counters["formulas"] = static_cast<double>(formulas);
}
BENCHMARK(RecalculateFilledTemplate)->Unit(benchmark::kMicrosecond);

}  // namespace
