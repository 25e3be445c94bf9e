#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "program/information_options.h"
#include "program/preview_launcher.h"

namespace {

// With TALLOWBY_STARTUP_PROBE set, the program prints the milliseconds from
// entering main to the first paint of the main window, then ends.
class StartupProbe : public QObject {
  public:
    explicit StartupProbe(const QElapsedTimer& clock) : clock_(clock) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            std::printf("startup-to-shown-ms %.1f\n",
                        static_cast<double>(clock_.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const QElapsedTimer& clock_;
    bool reported_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    // --help and --version are answered before QApplication, which would need a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto text = tallowby::information_options::answer(arguments)) {
        std::fputs(text->toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);

    tallowby::SettingsStore store(tallowby::SettingsStore::defaultPath());
    tallowby::EntryWindowOptions options;
    options.store = &store;
    options.programFolder = QCoreApplication::applicationDirPath();
    tallowby::EntryWindow form(options);
    tallowby::PreviewLauncher launcher(form, options.programFolder);
    form.setGenerationRunner([&launcher] { launcher.run(); });

    StartupProbe probe(clock);
    if (qEnvironmentVariableIsSet("TALLOWBY_STARTUP_PROBE")) form.installEventFilter(&probe);
    form.show();
    return app.exec();
}
