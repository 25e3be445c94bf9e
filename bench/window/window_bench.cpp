// The windows as the user meets them, offscreen: the program's start to the
// first paint of its window, "Start" to the preview painted for the sample
// data, and the window opened on a store of 10,000 hours entries. Figures
// are processor time (the machine is shared): the started program's own
// user and system time, and this process's time for the in-process steps.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "app/settings_store.h"
#include "bench_stores.h"
#include "entry/entry_window.h"
#include "preview/preview_window.h"
#include "program/preview_launcher.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/test_paths.h"

extern char** environ;

namespace {

using namespace tallowby;

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Notes the first paint of the widget it watches.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget& widget) : widget_(widget) { widget_.installEventFilter(this); }
    ~PaintWatch() override { widget_.removeEventFilter(this); }

    // Runs the event loop until the widget has painted; false after 10 s without.
    bool wait() {
        QElapsedTimer clock;
        clock.start();
        while (!painted_ && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return painted_;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted_ = true;
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget& widget_;
    bool painted_ = false;
};

EntryWindowOptions quietOptions(SettingsStore& store) {
    EntryWindowOptions o;
    o.store = &store;
    o.programFolder = QString::fromUtf8(test_paths::kResourcesDir);
    o.homePage = {[] { return 1; }, [](const QString&) {}};
    o.endProgram = [] {};
    o.today = [] { return QDate(2021, 9, 14); };
    return o;
}

// The window program started as a user starts it, on a fresh store, printing
// the milliseconds from its start to its first paint and ending.
void BM_WindowStartToFirstPaint(benchmark::State& state) {
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/bench-window-XXXXXX"));
    const QByteArray out = dir.filePath("probe").toLocal8Bit();
    QByteArrayList environment{"TALLOWBY_STARTUP_PROBE=1", "QT_QPA_PLATFORM=offscreen",
                               "XDG_CONFIG_HOME=" + dir.filePath("config").toLocal8Bit(),
                               "TEMP=" + dir.path().toLocal8Bit()};
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!entry.startsWith("TALLOWBY_") && !entry.startsWith("QT_QPA_PLATFORM=") &&
            !entry.startsWith("XDG_CONFIG_HOME=") && !entry.startsWith("TEMP="))
            environment << entry;
    }
    std::vector<char*> envp;
    for (QByteArray& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(test_paths::kWindowProgram), nullptr};
    double shownMs = 0;
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        rusage usage{};
        if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            state.SkipWithError("the window program did not start and end cleanly");
            break;
        }
        QFile printed(QString::fromLocal8Bit(out));
        const QList<QByteArray> words = printed.open(QIODevice::ReadOnly)
                                            ? printed.readAll().simplified().split(' ')
                                            : QList<QByteArray>{};
        if (words.size() != 2 || words[0] != "startup-to-shown-ms") {
            state.SkipWithError("the window program printed no time to its first paint");
            break;
        }
        shownMs = words[1].toDouble();
        state.SetIterationTime(
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    }
    // Wall time from main to the paint, as the program printed it (the last run).
    state.counters["wall_to_paint_ms"] = shownMs;
}
BENCHMARK(BM_WindowStartToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// The sample data loaded, then "Start": the run, the preview shown and painted.
void BM_StartToPreviewShown(benchmark::State& state) {
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/bench-window-XXXXXX"));
    qputenv("TEMP", dir.path().toLocal8Bit());
    testing::ScriptedPrompter prompter;
    SettingsStore store(dir.filePath("Marrowick/Marrowick.ini"));
    EntryWindow form(quietOptions(store));
    PreviewLauncher launcher(form, QString::fromUtf8(test_paths::kResourcesDir));
    form.setGenerationRunner([&launcher] { launcher.run(); });
    form.show();
    PaintWatch(form).wait();
    form.sampleButton_->click();
    for (auto _ : state) {
        const double before = processSeconds();
        preview::PreviewWindow* shown = launcher.preview();
        std::unique_ptr<PaintWatch> watch;
        if (shown) watch = std::make_unique<PaintWatch>(*shown);
        form.startButton_->click();
        if (!launcher.preview() || !launcher.preview()->isVisible()) {
            state.SkipWithError("no preview after Start");
            break;
        }
        if (!watch) watch = std::make_unique<PaintWatch>(*launcher.preview());
        if (!watch->wait()) {
            state.SkipWithError("the preview never painted");
            break;
        }
        state.SetIterationTime(processSeconds() - before);
        watch.reset();
        launcher.preview()->onBackClicked();  // back to the entry window for the next run
        QCoreApplication::processEvents();
    }
    if (!prompter.messages.empty())
        state.SkipWithError(prompter.messages.front().text.toStdString().c_str());
}
BENCHMARK(BM_StartToPreviewShown)
    ->Name("BM_StartToPreviewShown/sample")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The entry window made on a store of N hours entries (the file read, the
// lists filled) until its first paint.
void BM_WindowOpenStore(benchmark::State& state) {
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/bench-window-XXXXXX"));
    const QString path = bench_stores::writeStore(dir.path(), static_cast<int>(state.range(0)));
    testing::ScriptedPrompter prompter;
    for (auto _ : state) {
        const double before = processSeconds();
        SettingsStore store(path);
        auto form = std::make_unique<EntryWindow>(quietOptions(store));
        PaintWatch watch(*form);
        form->show();
        if (!watch.wait()) {
            state.SkipWithError("the window never painted");
            break;
        }
        state.SetIterationTime(processSeconds() - before);
    }
    if (!prompter.messages.empty())
        state.SkipWithError(prompter.messages.front().text.toStdString().c_str());
}
BENCHMARK(BM_WindowOpenStore)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
