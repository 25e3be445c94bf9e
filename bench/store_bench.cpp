// Big stores: reading one into a timesheet, and `tallowby-fill` run on one as
// a user runs it (its own process under /usr/bin/time: its processor time is
// the time reported, its peak resident set peak_rss_MiB). The stores are
// generated in a temp folder.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bench_stores.h"
#include "app/settings_store.h"
#include "tests/support/test_paths.h"
#include "timesheet/timesheet_store.h"

extern char** environ;

namespace {

using bench_stores::writeStore;

// Folders named after the program ("tallowby-XXXXXX", QTemporaryDir's
// default once the application is named) are what tallowby-fill clears as
// left over from ended runs: the benchmark's own go by another name.
QString benchFolderTemplate() {
    return QDir::tempPath() + QStringLiteral("/bench-store-XXXXXX");
}

// Runs tallowby-fill under /usr/bin/time, which forks it from its own small
// process: a child spawned from this program would count this program's
// peak memory as its own. False when it did not end with status 0.
// `peakKiB` gets its peak resident set, `cpuSeconds` its user and system time.
bool runFill(const QString& settings, const QString& xls, long& peakKiB, double& cpuSeconds) {
    QTemporaryDir dir(benchFolderTemplate());
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
    QTemporaryDir dir(benchFolderTemplate());
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
    QTemporaryDir dir(benchFolderTemplate());
    const QString settings = writeStore(dir.path(), 200000, 240);
    timeFill(state, settings, dir);
}
BENCHMARK(BM_FillCommandStore50MB)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// What the window and the command line do at start: the file read, the
// lists unpacked into the timesheet.
void BM_StoreLoad(benchmark::State& state) {
    QTemporaryDir dir(benchFolderTemplate());
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
