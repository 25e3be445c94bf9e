#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "preview/preview_window.h"
#include "program/information_options.h"
#include "program/preview_launcher.h"
#include "program/single_instance.h"

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
    // One window per store: a second one would overwrite the first's typing.
    tallowby::SingleInstance instance(store.path());
    switch (instance.claim()) {
        case tallowby::SingleInstance::Claim::First:
            break;
        case tallowby::SingleInstance::Claim::OtherRaised:
            std::fprintf(stderr,
                         "Tallowby is already open on %s; its window was brought to the front.\n",
                         qUtf8Printable(store.path()));
            return 0;
        case tallowby::SingleInstance::Claim::OtherSilent:
            std::fprintf(stderr, "Tallowby is already open on %s but does not answer: %s\n",
                         qUtf8Printable(store.path()), qUtf8Printable(instance.problem()));
            return 1;
        case tallowby::SingleInstance::Claim::Unguarded:
            break;
    }
    if (!instance.problem().isEmpty())
        std::fprintf(stderr, "%s\n", qUtf8Printable(instance.problem()));

    tallowby::EntryWindowOptions options;
    options.store = &store;
    options.programFolder = QCoreApplication::applicationDirPath();
    tallowby::EntryWindow form(options);
    tallowby::PreviewLauncher launcher(form, options.programFolder);
    form.setGenerationRunner([&launcher] { launcher.run(); });
    // The preview stands in for the main window while it shows.
    tallowby::raiseOnRequest(instance, [&form, &launcher]() -> QWidget* {
        if (launcher.preview() && launcher.preview()->isVisible()) return launcher.preview();
        return &form;
    });

    StartupProbe probe(clock);
    if (qEnvironmentVariableIsSet("TALLOWBY_STARTUP_PROBE")) form.installEventFilter(&probe);
    form.show();
    const int status = app.exec();
    // Closed with changes the store does not hold (the user chose so): no success.
    return store.hasUnsavedChanges() ? 1 : status;
}
