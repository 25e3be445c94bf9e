// A payroll week: 1,000 generated timesheet files made into .xls by
// `tallowby-fill --batch`, run as a user runs it (its own process under
// /usr/bin/time), with one worker and with one per CPU. The time is the wall
// clock (the point is the workers running side by side), so on a machine
// shared with others the figures move with their load. Counters:
// timesheets_per_s, speed_up (over the -j 1 run before it), cpu_s (user and
// system time of the whole batch), peak_rss_MiB (the largest single process
// of the batch: the parent or one worker, from wait4 through time(1)) and
// workers.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <map>

#include "tests/support/generated_timesheets.h"
#include "tests/support/test_paths.h"

extern char** environ;

namespace {

// The generated timesheets, made once for all the runs.
const QString& timesheetFolder(int count) {
    static QTemporaryDir dir;
    static std::map<int, QString> folders;
    if (!folders.count(count)) {
        const QString folder = dir.filePath(QStringLiteral("in-%1").arg(count));
        tallowby::testing::writeTimesheets(folder, count);
        folders[count] = folder;
    }
    return folders[count];
}

struct BatchRun {
    bool ok = false;
    double seconds = 0;
    long peakKiB = 0;
    double cpuSeconds = 0;  // user and system time of the whole batch
};

BatchRun runBatch(const QString& input, const QString& out, int jobs) {
    QTemporaryDir dir;
    const QByteArray report = dir.filePath("usage").toLocal8Bit();
    const QByteArray inputArg = input.toLocal8Bit();
    const QByteArray outArg = out.toLocal8Bit();
    const QByteArray jobsArg = QByteArray::number(jobs);
    char* argv[] = {const_cast<char*>("/usr/bin/time"),
                    const_cast<char*>("-f"),
                    const_cast<char*>("%M %e %U %S"),
                    const_cast<char*>("-o"),
                    const_cast<char*>(report.constData()),
                    const_cast<char*>(tallowby::test_paths::kFillTool),
                    const_cast<char*>("--batch"),
                    const_cast<char*>("--out"),
                    const_cast<char*>(outArg.constData()),
                    const_cast<char*>("-j"),
                    const_cast<char*>(jobsArg.constData()),
                    const_cast<char*>(inputArg.constData()),
                    nullptr};
    // The generated weeks have left-out entries, which each get a message:
    // the run's standard error goes to a file, not over the figures.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray messages = dir.filePath("messages").toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 2, messages.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {};
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    QFile usage(QString::fromLocal8Bit(report));
    if (!usage.open(QIODevice::ReadOnly)) return {};
    const QList<QByteArray> figures = usage.readAll().simplified().split(' ');
    if (figures.size() != 4) return {};
    return {true, figures[1].toDouble(), figures[0].toLong(),
            figures[2].toDouble() + figures[3].toDouble()};
}

double& singleWorkerRate() {
    static double rate = 0;
    return rate;
}

// Arguments: timesheets, workers (0: one per CPU).
void BM_BatchFill(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int jobs = state.range(1) > 0 ? static_cast<int>(state.range(1))
                                        : std::max(1, QThread::idealThreadCount());
    const QString& input = timesheetFolder(count);
    QTemporaryDir out;
    BatchRun run;
    for (auto _ : state) {
        run = runBatch(input, out.path(), jobs);
        if (!run.ok) {
            state.SkipWithError("tallowby-fill --batch failed");
            return;
        }
        state.SetIterationTime(run.seconds);
    }
    if (QDir(out.path()).entryList(QDir::Files).size() != count) {
        state.SkipWithError("not every timesheet was made");
        return;
    }
    const double rate = count / run.seconds;
    if (jobs == 1 && count == 1000) singleWorkerRate() = rate;
    state.counters["timesheets_per_s"] = rate;
    state.counters["workers"] = jobs;
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["peak_rss_MiB"] = static_cast<double>(run.peakKiB) / 1024.0;
    if (count == 1000 && singleWorkerRate() > 0)
        state.counters["speed_up"] = rate / singleWorkerRate();
}
// 100 and 1,000 with one worker show the peak memory flat in the count; then
// 1,000 with one worker per CPU.
BENCHMARK(BM_BatchFill)
    ->Args({100, 1})
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

}  // namespace
