// tallowby-fill --pdf for a filled week, in process: the saved result
// workbook read back, laid out and drawn into a one-page PDF. Reports the
// median time and the size of the PDF.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QFile>
#include <QLocale>

#include "generated_week.h"
#include "tests/support/gui_application.h"
#include "timesheet/generation_run.h"
#include "timesheet/timesheet_pdf.h"
#include "workbook/run/private_temp_folder.h"

namespace {

void BM_PdfOfFilledWeek(benchmark::State& state) {
    tallowby::PrivateTempFolder folder;
    const auto made = bench_weeks::generatedFilledWeek(state, folder);
    if (!made) return;
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = tallowby::timesheetPdf(made->resultPath, locale);
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["pdf_KiB"] = static_cast<double>(bytes) / 1024.0;
    QFile::remove(made->resultPath);
}
BENCHMARK(BM_PdfOfFilledWeek)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
