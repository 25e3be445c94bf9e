// The Week grid redrawn after a change of the lists: totals worked out and
// every cell set. Must stay well under 20 ms for 100 rate types and for
// 10,000 hours entries.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

#include "entry/week_grid.h"
#include "timesheet/timesheet_lists.h"
#include "timesheet/week_totals.h"
#include "workbook/automation/typed_number_text.h"

namespace {

using namespace tallowby;

// A widget needs an application: the program's main made it (offscreen);
// the benchmarks draw nothing on screen.
QApplication& application() {
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

TimesheetRecord week(int rateTypes, int entries) {
    TimesheetRecord r;
    r.weekStart = QDate(2021, 8, 30);
    for (int i = 0; i < rateTypes; ++i)
        r.rates.push_back({QStringLiteral("Rate %1").arg(i), QString::number(10 + i % 7) + ".50"});
    for (int i = 0; i < entries; ++i)
        r.hours.push_back({"", "",
                           QStringLiteral("0%1:%2").arg(i % 9).arg(15 * (i % 4), 2, 10, QChar('0')),
                           QString::number(i % 7), QString::number(i % rateTypes)});
    return r;
}

void refreshGrid(benchmark::State& state, int rateTypes, int entries) {
    application();
    TimesheetLists lists;
    lists.load(week(rateTypes, entries));
    WeekGrid grid(lists, automation::TypedNumberReader(QLocale()));
    for (auto _ : state) {
        grid.refresh();
        benchmark::DoNotOptimize(grid.totals().totalPay);
    }
    state.counters["entries"] = entries;
}

void BM_WeekGridRefresh100RateTypes(benchmark::State& state) {
    refreshGrid(state, 100, 700);  // every cell of 100 types x 7 days holds an entry
}
BENCHMARK(BM_WeekGridRefresh100RateTypes)->Unit(benchmark::kMillisecond);

void BM_WeekGridRefresh10000Entries(benchmark::State& state) {
    refreshGrid(state, 7, 10000);
}
BENCHMARK(BM_WeekGridRefresh10000Entries)->Unit(benchmark::kMillisecond);

void BM_WeekTotals10000Entries(benchmark::State& state) {
    const TimesheetRecord r = week(100, 10000);
    const automation::TypedNumberReader reader{QLocale()};
    for (auto _ : state)
        benchmark::DoNotOptimize(week_totals::compute(r.rates, r.hours, reader).totalPay);
}
BENCHMARK(BM_WeekTotals10000Entries)->Unit(benchmark::kMillisecond);

}  // namespace
