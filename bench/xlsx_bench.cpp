// The filled week saved as .xlsx, in process: the engine's writer alone
// (model in memory → file in the private folder), and the whole save the
// preview and tallowby-fill do (result workbook read, recalculated, written,
// copied over the target). Reports the median time and the file's size.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>

#include "generated_week.h"
#include "tests/support/gui_application.h"
#include "timesheet/generation_run.h"
#include "workbook/automation/application.h"
#include "workbook/automation/result_export.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/formula/recalculate.h"
#include "workbook/engine/xlsx/xlsx_writer.h"
#include "workbook/run/private_temp_folder.h"

namespace {

void BM_XlsxOfFilledWeek(benchmark::State& state) {
    tallowby::PrivateTempFolder folder;
    const auto made = bench_weeks::generatedFilledWeek(state, folder);
    if (!made) return;
    tallowby::engine::Workbook book =
        tallowby::engine::readWorkbookFile(made->resultPath.toStdString());
    tallowby::engine::formula::recalculate(book);
    const std::string out = (folder.path() + "/week.xlsx").toStdString();
    tallowby::engine::xlsx::XlsxOptions options;
    options.scratchFolder = folder.path().toStdString();
    for (auto _ : state) {
        const auto warnings = tallowby::engine::xlsx::writeXlsxFile(book, out, options);
        benchmark::DoNotOptimize(warnings.data());
    }
    state.counters["xlsx_KiB"] =
        static_cast<double>(QFileInfo(QString::fromStdString(out)).size()) / 1024.0;
}
BENCHMARK(BM_XlsxOfFilledWeek)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_XlsxSaveOfResultWorkbook(benchmark::State& state) {
    tallowby::PrivateTempFolder folder;
    const auto made = bench_weeks::generatedFilledWeek(state, folder);
    if (!made) return;
    const QString target = folder.path() + "/saved.xlsx";
    for (auto _ : state) {
        const QStringList warnings = tallowby::automation::saveWorkbookCopyAs(
            made->resultPath, target, tallowby::automation::kXlsxFormat, folder.path());
        benchmark::DoNotOptimize(warnings.size());
    }
    state.counters["xlsx_KiB"] = static_cast<double>(QFileInfo(target).size()) / 1024.0;
}
BENCHMARK(BM_XlsxSaveOfResultWorkbook)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
