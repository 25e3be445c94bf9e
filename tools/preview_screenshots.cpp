// Takes the README's pictures of the windows by driving the real program:
//   entry-window.png, entry-window-hours.png,  the main window's three tabs
//   entry-window-week.png                       with the sample data loaded
//   preview-sample-scrolled.png                 the sample data's preview,
//                                               scrolled with the wheel
//   preview-week-zoom-1.0.png, -1.25.png        a week with seven rate types,
//                                               then "Zoom In"
//   preview-week-scale-2.png                    the same week on a screen
//                                               scaled 2x (QT_SCALE_FACTOR=2)
// The last one is taken by a second run of this program with the scale set,
// since the scale is fixed when the application starts. Run it under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" build/tools/preview_screenshots docs
// It prints the size of every preview picture it draws.
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cstdio>
#include <functional>
#include <utility>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "program/preview_launcher.h"
#include "timesheet/sample_data.h"
#include "timesheet/settings_keys.h"

namespace {

bool save(QWidget& window, const QString& path) {
    QTest::qWait(300);
    const QPixmap pixels = window.grab();
    const bool ok = pixels.save(path);
    std::printf("%s %s (%d x %d px)\n", ok ? "wrote" : "could not write", qPrintable(path),
                pixels.width(), pixels.height());
    return ok;
}

void reportPicture(const char* what, tallowby::preview::PreviewWindow& preview) {
    const QImage surface = preview.picture()->surface();
    std::printf("%s: picture %d x %d logical px (%d x %d device px), zoom %.2f\n", what,
                preview.picture()->width(), preview.picture()->height(), surface.width(),
                surface.height(), static_cast<double>(preview.zoom()));
}

// Wheel notches over the picture, as a mouse would send them.
void turnWheel(QWidget* over, int notches, Qt::KeyboardModifiers modifiers) {
    for (int i = 0; i < std::abs(notches); ++i) {
        const QPointF at(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, notches > 0 ? 120 : -120),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }
}

// The sample data's general fields, a fixed week and all seven rates used.
void sevenRateWeek(tallowby::SettingsStore& store) {
    namespace keys = tallowby::settings_keys;
    namespace sample = tallowby::sample_data;
    const std::pair<const char*, const char*> general[] = {
        {keys::kCompany, sample::kCompany},   {keys::kAddress, sample::kAddress},
        {keys::kCity, sample::kCity},         {keys::kPhone, sample::kPhone},
        {keys::kEmployee, sample::kEmployee}, {keys::kSupervisor, sample::kSupervisor},
        {keys::kWeekStart, "2021-08-30"}};
    for (const auto& [key, text] : general) store.setValue(key, text);
    store.setValue(keys::kRates,
                   "Regular^11.50|Overtime^12.70|Illness^6.50|Vacation^5.50|"
                   "Holiday^14.58|Unpaid^0|Other^11");
    store.setValue(keys::kHours,
                   "^^08:00^0^0|^^08:00^1^0|^^02:30^1^1|^^07:45^2^0|^^04:00^3^2|"
                   "^^08:00^4^0|^^03:00^5^4|^^01:15^6^6");
}

// Starts the main window on a store prepared by `prepare`, lets `beforeRun`
// act on it, runs the generation and hands the preview to `inPreview`.
bool shoot(const std::function<void(tallowby::SettingsStore&)>& prepare,
           const std::function<bool(tallowby::EntryWindow&)>& beforeRun,
           const std::function<bool(tallowby::preview::PreviewWindow&)>& inPreview) {
    QTemporaryDir settings;
    if (!settings.isValid()) {
        std::fprintf(stderr, "no temporary folder for the settings\n");
        return false;
    }
    tallowby::SettingsStore store(settings.filePath("Marrowick/Marrowick.ini"));
    prepare(store);
    tallowby::EntryWindowOptions options;
    options.store = &store;
    options.programFolder = QCoreApplication::applicationDirPath() + "/..";
    options.homePage.draw = [] { return 1; };
    tallowby::EntryWindow form(options);
    tallowby::PreviewLauncher launcher(form, options.programFolder);
    form.setGenerationRunner([&launcher] { launcher.run(); });
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        std::fprintf(stderr, "the main window did not show\n");
    bool ok = beforeRun(form);
    QTest::mouseClick(form.startButton_, Qt::LeftButton);
    tallowby::preview::PreviewWindow* preview = launcher.preview();
    if (!preview) {
        std::fprintf(stderr, "the run did not reach the preview\n");
        return false;
    }
    preview->setEndProgram([] {});
    if (!QTest::qWaitForWindowExposed(preview)) std::fprintf(stderr, "the preview did not show\n");
    ok = inPreview(*preview) && ok;
    preview->hide();
    return ok;
}

int takeScaledPicture(const QDir& out) {
    return shoot(
               sevenRateWeek, [](tallowby::EntryWindow&) { return true; },
               [&](tallowby::preview::PreviewWindow& preview) {
                   reportPicture("seven rate types, scaled screen", preview);
                   return save(preview, out.filePath("preview-week-scale-2.png"));
               })
               ? 0
               : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || (args.first() == "--scaled" && args.size() < 2)) {
        std::fprintf(stderr, "usage: preview_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    if (args.first() == "--scaled") return takeScaledPicture(QDir(args.at(1)));
    const QDir out(args.first());
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "could not make the folder %s\n", qPrintable(out.path()));
        return 1;
    }

    bool ok = shoot([](tallowby::SettingsStore&) {},
                    [&](tallowby::EntryWindow& form) {
                        QTest::mouseClick(form.sampleButton_, Qt::LeftButton);
                        form.listTabs_->setCurrentIndex(0);
                        bool saved = save(form, out.filePath("entry-window.png"));
                        form.listTabs_->setCurrentIndex(1);
                        saved = save(form, out.filePath("entry-window-hours.png")) && saved;
                        form.listTabs_->setCurrentIndex(2);
                        return save(form, out.filePath("entry-window-week.png")) && saved;
                    },
                    [&](tallowby::preview::PreviewWindow& preview) {
                        reportPicture("sample data", preview);
                        turnWheel(preview.picture(), -3, Qt::ShiftModifier);  // to the right
                        turnWheel(preview.picture(), -2, Qt::NoModifier);     // down
                        std::printf("scrolled to bar values %d, %d\n",
                                    preview.hScrollBar()->value(), preview.vScrollBar()->value());
                        bool saved = save(preview, out.filePath("preview-sample-scrolled.png"));
                        // Maximised (Xvfb has no window manager: the window
                        // takes the whole screen itself), then Fit Width.
                        preview.setGeometry(preview.screen()->availableGeometry());
                        QTest::qWait(200);
                        preview.onFitWidth();
                        reportPicture("sample data, whole screen, Fit Width", preview);
                        return save(preview, out.filePath("preview-sample-fit-width.png")) && saved;
                    });

    ok = shoot(
             sevenRateWeek, [](tallowby::EntryWindow&) { return true; },
             [&](tallowby::preview::PreviewWindow& preview) {
                 reportPicture("seven rate types", preview);
                 bool saved = save(preview, out.filePath("preview-week-zoom-1.0.png"));
                 preview.onZoomInClicked();  // Zoom In
                 reportPicture("seven rate types after Zoom In", preview);
                 return save(preview,
                             out.filePath(QStringLiteral("preview-week-zoom-%1.png")
                                              .arg(static_cast<double>(preview.zoom()), 0, 'f', 2)
                                              .replace(".00", ".0"))) &&
                        saved;
             }) &&
         ok;

    // The scaled picture needs an application started with the scale set.
    std::fflush(stdout);
    QProcess scaled;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", "2");
    scaled.setProcessEnvironment(environment);
    scaled.setProcessChannelMode(QProcess::ForwardedChannels);
    scaled.start(QCoreApplication::applicationFilePath(), {"--scaled", out.path()});
    ok = scaled.waitForFinished(120000) && scaled.exitStatus() == QProcess::NormalExit &&
         scaled.exitCode() == 0 && ok;
    return ok ? 0 : 1;
}
