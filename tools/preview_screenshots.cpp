// Takes the README's pictures of the preview window by driving the real
// windows: (1) a fresh start, "Load Sample/Example Data", "Start Creating
// Template"; (2) a store holding the seven sample rates and a week of hours,
// "Start Creating Template", then "Zoom Out". Run it under Xvfb:
//   xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" build/tools/preview_screenshots docs
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

#include "app/settings_store.h"
#include "entry/form1.h"
#include "entry/preview_launcher.h"
#include "preview/form2.h"
#include "preview/picture_box.h"

namespace {

bool save(QWidget& window, const QString& path) {
    QTest::qWait(300);
    const bool ok = window.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// Starts the main window on a store prepared by `prepare`, lets `beforeRun`
// act on it, runs the generation and hands the preview to `inPreview`.
bool shoot(const std::function<void(tallowby::SettingsStore&)>& prepare,
           const std::function<void(tallowby::Form1&)>& beforeRun,
           const std::function<bool(tallowby::Form2&)>& inPreview) {
    QTemporaryDir settings;
    tallowby::SettingsStore store(settings.filePath("Marrowick/Marrowick.ini"));
    prepare(store);
    tallowby::Form1Options options;
    options.store = &store;
    options.programFolder = QCoreApplication::applicationDirPath() + "/..";
    options.homePage.draw = [] { return 1; };
    tallowby::Form1 form(options);
    tallowby::PreviewLauncher launcher(form, options.programFolder);
    form.setGenerationRunner([&launcher] { launcher.run(); });
    form.show();
    QTest::qWaitForWindowExposed(&form);
    beforeRun(form);
    QTest::mouseClick(form.PushButton6, Qt::LeftButton);
    tallowby::Form2* preview = launcher.preview();
    if (!preview) {
        std::fprintf(stderr, "the run did not reach the preview\n");
        return false;
    }
    preview->setEndProgram([] {});
    QTest::qWaitForWindowExposed(preview);
    const bool ok = inPreview(*preview);
    std::printf("picture %d x %d px, base %d x %d twips, zoom %.2f\n", preview->picture1()->width(),
                preview->picture1()->height(), preview->baseWidth(), preview->baseHeight(),
                preview->zoom());
    preview->hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    bool ok =
        shoot([](tallowby::SettingsStore&) {},
              [](tallowby::Form1& form) { QTest::mouseClick(form.PushButton7, Qt::LeftButton); },
              [&](tallowby::Form2& preview) {
                  return save(preview, out.filePath("preview-sample-zoom-1.0.png"));
              });

    ok = shoot(
             [](tallowby::SettingsStore& store) {
                 store.SaveSetting("txtName", "ACME Inc");
                 store.SaveSetting("txtEmp", "Arlen Tovey Jr.");
                 store.SaveSetting("txtSVisor", "Rolf Ambry");
                 store.SaveSetting("dtpDate", "2021-08-30");
                 store.SaveSetting("Rates",
                                   "Regular^11.50|Overtime^12.70|Illness^6.50|Vacation^5.50|"
                                   "Holiday^14.58|Unpaid^0|Other^11");
                 store.SaveSetting("Hours",
                                   "^^08:00^0^0|^^08:00^1^0|^^02:30^1^1|^^07:45^2^0|^^04:00^3^2|"
                                   "^^08:00^4^0|^^03:00^5^4");
             },
             [](tallowby::Form1&) {},
             [&](tallowby::Form2& preview) {
                 bool saved = save(preview, out.filePath("preview-week-zoom-1.0.png"));
                 preview.PushButton2_Click();  // Zoom Out
                 return save(preview, out.filePath(QStringLiteral("preview-week-zoom-%1.png")
                                                       .arg(preview.zoom(), 0, 'f', 2))) &&
                        saved;
             }) &&
         ok;
    return ok ? 0 : 1;
}
