#include <benchmark/benchmark.h>

#include "bench/template_fixture.h"
#include "tests/engine/render/sample_week.h"
#include "workbook/engine/formula/recalculate.h"

namespace {

using tallowby::engine::Workbook;

// Recalculating the filled template: every formula cell, in dependency order.
void RecalculateFilledTemplate(benchmark::State& state) {
    Workbook workbook = tallowby::bench::templateWorkbook();
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
