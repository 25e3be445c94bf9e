// Big stores: reading one into a timesheet, and `tallowby-fill` run on one as
// a user runs it (its own process under /usr/bin/time: its processor time is
// the time reported, its peak resident set peak_rss_MiB). The stores are
// generated in a temp folder.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QDate>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "app/ini_text.h"
#include "app/settings_store.h"
#include "tests/support/test_paths.h"
#include "timesheet/packed_list.h"
#include "timesheet/settings_keys.h"
#include "timesheet/timesheet_store.h"

extern char** environ;

namespace {

using tallowby::ini_text::encodeValue;

// A store as the window writes it: the sample's general fields, seven rates
// and `entries` hours entries spread over the days and types; each entry's
// day text is padded to `dayTextLength` characters (long texts make big
// stores with few entries).
QString writeStore(const QString& folder, int entries, int dayTextLength = 0) {
    namespace keys = tallowby::settings_keys;
    static const char* const kDays[] = {
        "Monday 30.08.21", "Tuesday 31.08.21",  "Wednesday 01.09.21", "Thursday 02.09.21",
        "Friday 03.09.21", "Saturday 04.09.21", "Sunday 05.09.21"};
    static const char* const kTypes[] = {"Regular", "Overtime", "Illness", "Vacation",
                                         "Holiday", "Unpaid",   "Other"};
    std::vector<QStringList> rates;
    for (const char* type : kTypes) rates.push_back({QString::fromLatin1(type), "11.50"});
    std::vector<QStringList> hours;
    hours.reserve(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const int day = i % 7;
        const int type = (i / 7) % 7;
        QString dayText = QString::fromLatin1(kDays[day]);
        if (dayText.size() < dayTextLength) dayText = dayText.leftJustified(dayTextLength, u'.');
        hours.push_back({dayText, QString::fromLatin1(kTypes[type]), "00:01", QString::number(day),
                         QString::number(type)});
    }
    QString text = QStringLiteral("[Tallowby]\n");
    auto line = [&](const char* key, const QString& value) {
        text += QLatin1String(key) + u'=' + encodeValue(value) + u'\n';
    };
    line(keys::kCompany, "ACME Inc");
    line(keys::kAddress, "Birchwood st");
    line(keys::kCity, "French Leek, IN");
    line(keys::kPhone, "(988) 913-5480");
    line(keys::kEmployee, "Arlen Tovey Jr.");
    line(keys::kSupervisor, "Rolf Ambry");
    line(keys::kWeekStart, "2021-08-30");
    line(keys::kRates, tallowby::packed_list::pack(rates));
    line(keys::kHours, tallowby::packed_list::pack(hours));
    const QString path = folder + QStringLiteral("/Marrowick.ini");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
    return path;
}

// Runs tallowby-fill under /usr/bin/time, which forks it from its own small
// process: a child spawned from this program would count this program's
// peak memory as its own. False when it did not end with status 0.
// `peakKiB` gets its peak resident set, `cpuSeconds` its user and system time.
bool runFill(const QString& settings, const QString& xls, long& peakKiB, double& cpuSeconds) {
    QTemporaryDir dir;
    const QByteArray report = dir.filePath("usage").toLocal8Bit();
    const QByteArray settingsArg = settings.toLocal8Bit();
    const QByteArray xlsArg = xls.toLocal8Bit();
    char* argv[] = {const_cast<char*>("/usr/bin/time"),
                    const_cast<char*>("-f"),
                    const_cast<char*>("%M %U %S"),
                    const_cast<char*>("-o"),
                    const_cast<char*>(report.constData()),
                    const_cast<char*>(tallowby::test_paths::kFillTool),
                    const_cast<char*>("--settings"),
                    const_cast<char*>(settingsArg.constData()),
                    const_cast<char*>("--xls"),
                    const_cast<char*>(xlsArg.constData()),
                    nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    QFile usage(QString::fromLocal8Bit(report));
    if (!usage.open(QIODevice::ReadOnly)) return false;
    const QList<QByteArray> figures = usage.readAll().simplified().split(' ');
    if (figures.size() != 3) return false;
    peakKiB = figures[0].toLong();
    cpuSeconds = figures[1].toDouble() + figures[2].toDouble();
    return true;
}

void timeFill(benchmark::State& state, const QString& settings, const QTemporaryDir& dir) {
    long peakKiB = 0;
    for (auto _ : state) {
        double cpuSeconds = 0;
        if (!runFill(settings, dir.filePath("out.xls"), peakKiB, cpuSeconds)) {
            state.SkipWithError("tallowby-fill failed");
            break;
        }
        // The child's own processor time: on a machine shared with others the
        // wall clock measures them too.
        state.SetIterationTime(cpuSeconds);
    }
    state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
    state.counters["store_MiB"] = static_cast<double>(QFile(settings).size()) / 1048576.0;
}

void BM_FillCommand(benchmark::State& state) {
    QTemporaryDir dir;
    const QString settings = writeStore(dir.path(), static_cast<int>(state.range(0)));
    timeFill(state, settings, dir);
}
BENCHMARK(BM_FillCommand)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// 50 MB of store from 200,000 entries with long day texts.
void BM_FillCommandStore50MB(benchmark::State& state) {
    QTemporaryDir dir;
    const QString settings = writeStore(dir.path(), 200000, 240);
    timeFill(state, settings, dir);
}
BENCHMARK(BM_FillCommandStore50MB)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// What the window and the command line do at start: the file read, the
// lists unpacked into the timesheet.
void BM_StoreLoad(benchmark::State& state) {
    QTemporaryDir dir;
    const QString settings = writeStore(dir.path(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tallowby::SettingsStore store(settings);
        const tallowby::TimesheetRecord record =
            tallowby::TimesheetStore(store).load(QDate(2021, 9, 1));
        benchmark::DoNotOptimize(record.hours.data());
        // A store that vanished (a temp cleaner) would time nothing.
        if (record.hours.size() != static_cast<size_t>(state.range(0))) {
            state.SkipWithError("the store did not give every entry");
            break;
        }
    }
}
BENCHMARK(BM_StoreLoad)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
