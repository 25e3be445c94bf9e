#include <benchmark/benchmark.h>

#include <QBuffer>

#include "timesheet/import/hours_import.h"

namespace {

using namespace tallowby;

// A tracker's export of `rows` entries: quoted notes, h:mm:ss durations, three
// types, dates spread over four weeks so that a quarter falls in the week.
QByteArray trackerExport(int rows) {
    QByteArray text = "User,Project,Task,Description,Start date,Start time,Duration,Tags\r\n";
    const char* const tasks[] = {"Regular", "Overtime", "Meetings"};
    for (int i = 0; i < rows; ++i) {
        const QDate day = QDate(2027, 1, 4).addDays(i % 28);
        text += "Ana Example,Joinery," + QByteArray(tasks[i % 3]) + ",\"Row " +
                QByteArray::number(i) + ", with a comma\"," + day.toString(Qt::ISODate).toLatin1() +
                ",08:00:00,0" + QByteArray::number(i % 9) + ":" + QByteArray::number(10 + i % 50) +
                ":00,site\r\n";
    }
    return text;
}

// 100,000 rows read, mapped and turned into hours entries of one week.
void ImportHours(benchmark::State& state) {
    const QByteArray text = trackerExport(static_cast<int>(state.range(0)));
    const ImportTarget target{
        QDate(2027, 1, 4), {{"Regular", "10"}, {"Overtime", "15"}}, {}, std::nullopt, QLocale::c()};
    std::size_t entries = 0;
    for (auto _ : state) {
        QByteArray copy = text;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        const TrackerFile file = readTrackerFile(buffer, {{}, std::nullopt, QLocale::c()});
        const HoursImport imported = importHours(file, target);
        entries = imported.entries.size();
        benchmark::DoNotOptimize(imported.entries.data());
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}
BENCHMARK(ImportHours)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
