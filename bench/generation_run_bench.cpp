// The whole generation run, template to preview-ready picture, for the sample
// timesheet; reports the median time and the peak memory of the process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDate>
#include <QFile>
#include <QGuiApplication>
#include <cmath>

#include "app/error_report.h"
#include "bench_weeks.h"
#include "tests/support/golden_weeks.h"
#include "tests/support/gui_application.h"
#include "timesheet/generation_run.h"
#include "workbook/run/private_temp_folder.h"

namespace {

using tallowby::testing::ensureGuiApplication;

tallowby::TimesheetRecord sampleTimesheet() {
    tallowby::TimesheetRecord r = bench_weeks::sevenRatesNoHours();
    for (int d = 0; d < 7; ++d)
        for (int t = 0; t < 7; ++t)
            if (static_cast<int>(std::nearbyint(static_cast<double>(t) / (d + 1))) % 3 == 0)
                r.hours.push_back({"", "", "02:00", QString::number(d), QString::number(t)});
    return r;
}

// A run that reports a failure is no measurement.
bool madeCleanly(benchmark::State& state, const tallowby::GenerationResult& result) {
    if (result.handedOver && result.failures.empty()) return true;
    const QString why = result.failures.empty() ? QStringLiteral("the run did not hand over")
                                                : tallowby::error_report::text(result.failures[0]);
    state.SkipWithError(why.toStdString().c_str());
    return false;
}

void BM_GenerationRun(benchmark::State& state) {
    ensureGuiApplication();
    tallowby::PrivateTempFolder folder;
    const tallowby::TimesheetRecord record = sampleTimesheet();
    for (auto _ : state) {
        tallowby::GenerationResult result = tallowby::runGeneration(record, folder, {});
        if (!madeCleanly(state, result)) break;
        benchmark::DoNotOptimize(result.picture.constBits());
        QFile::remove(result.resultPath);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
// A big picture is drawn, written and read by two threads: the wall clock is
// what the user waits for, and the processor time counts both threads.
BENCHMARK(BM_GenerationRun)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_GenerationRunRates(benchmark::State& state) {
    ensureGuiApplication();
    tallowby::PrivateTempFolder folder;
    const tallowby::TimesheetRecord record =
        tallowby::testing::golden_weeks::weekWithRates(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tallowby::GenerationResult result = tallowby::runGeneration(record, folder, {});
        if (!madeCleanly(state, result)) break;
        benchmark::DoNotOptimize(result.picture.constBits());
        QFile::remove(result.resultPath);
    }
}
BENCHMARK(BM_GenerationRunRates)
    ->Arg(7)
    ->Arg(14)
    ->Arg(100)
    ->Arg(254)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The sample data as a fresh start loads it: fourteen rate types, 49 entries.
void BM_GoldenWeekRun(benchmark::State& state) {
    ensureGuiApplication();
    tallowby::PrivateTempFolder folder;
    const tallowby::TimesheetRecord record = tallowby::testing::golden_weeks::sampleWeek();
    for (auto _ : state) {
        tallowby::GenerationResult result = tallowby::runGeneration(record, folder, {});
        if (!madeCleanly(state, result)) break;
        benchmark::DoNotOptimize(result.picture.constBits());
        QFile::remove(result.resultPath);
    }
}
BENCHMARK(BM_GoldenWeekRun)
    ->Name("BM_GoldenWeekRun/sample")
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
