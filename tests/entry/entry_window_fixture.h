#pragma once

// Shared by the main window's Qt tests: a settings store in a temporary
// folder of its own, the scripted prompter, the window's options, the window
// itself and a run through to the preview, and readers for its lists.

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "app/error_report.h"
#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "preview/preview_window.h"
#include "program/preview_launcher.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/small_screen.h"
#include "tests/support/test_paths.h"

namespace tallowby::testing {

// The sample week then starts on Monday, August 30, 2021.
inline const QDate kSampleToday(2021, 9, 14);

inline const QStringList kDefaultRates{"Regular", "Overtime", "Illness", "Vacation",
                                       "Holiday", "Unpaid",   "Other"};

inline QString resourcesFolder() {
    return QString::fromUtf8(test_paths::kResourcesDir);
}

// One column of a list, top to bottom.
inline QStringList rowTexts(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

// One row of a list, column by column.
inline QStringList row(const QTreeWidget* list, int index) {
    QStringList fields;
    for (int c = 0; c < list->columnCount(); ++c) fields << list->topLevelItem(index)->text(c);
    return fields;
}

inline QStringList items(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

// The main window's error report for one statement.
inline QString report(const char* description, const char* procedure, int line) {
    return error_report::text(QString::fromUtf8(description), "Form1",
                              QString::fromLatin1(procedure), line);
}

// Held by a test class: setUp() in its init(), tearDown() in its cleanup().
class EntryWindowFixture {
  protected:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<EntryWindow> form_;
    std::unique_ptr<PreviewLauncher> launcher_;
    int presenceChecks_ = 0;
    int endings_ = 0;
    QStringList launched_;

    // A fresh folder, store and prompter. With `tempInFolder` TEMP points to
    // the folder too, so that runs leave their files there.
    void setUp(bool tempInFolder = false) {
        dir_ = std::make_unique<QTemporaryDir>();
        if (tempInFolder) qputenv("TEMP", dir_->path().toUtf8());
        store_ = std::make_unique<SettingsStore>(dir_->filePath("Marrowick/Marrowick.ini"));
        prompter_ = std::make_unique<ScriptedPrompter>();
        presenceChecks_ = endings_ = 0;
        launched_.clear();
    }
    void tearDown() {
        launcher_.reset();
        form_.reset();
        prompter_.reset();
        store_.reset();
        dir_.reset();
    }

    // Options that count the presence checks, the program's endings and the
    // pages opened.
    EntryWindowOptions options(const QString& programFolder) {
        EntryWindowOptions o;
        o.store = store_.get();
        o.programFolder = programFolder;
        o.homePage = {[] { return 1; }, [this](const QString& a) { launched_ << a; }};
        o.presenceCheck = [this] { ++presenceChecks_; };
        o.endProgram = [this] { ++endings_; };
        o.today = [] { return kSampleToday; };
        return o;
    }

    // Options that never reach outside and note nothing; the presence check
    // is the real one.
    EntryWindowOptions quietOptions(QDate today, const QString& programFolder) {
        EntryWindowOptions o;
        o.store = store_.get();
        o.programFolder = programFolder;
        o.homePage = {[] { return 1; }, [](const QString&) {}};
        o.endProgram = [] {};
        o.today = [today] { return today; };
        return o;
    }

    // A window of its own on the counting options.
    std::unique_ptr<EntryWindow> start(const QString& programFolder = resourcesFolder()) {
        return std::make_unique<EntryWindow>(options(programFolder));
    }

    // The fixture's window; with `withPreview` Start runs the generation and
    // hands over to the preview.
    void openWindow(const EntryWindowOptions& o, bool withPreview) {
        form_ = std::make_unique<EntryWindow>(o);
        if (!withPreview) return;
        launcher_ = std::make_unique<PreviewLauncher>(*form_, o.programFolder);
        form_->setGenerationRunner([this] { launcher_->run(); });
    }

    // Shows the fixture's window; false when it never became exposed.
    bool showWindow() {
        form_->show();
        return QTest::qWaitForWindowExposed(form_.get());
    }

    // The start of the tests that run to the preview: a fresh store and temp
    // folder, the quiet options on the sample day, the window shown.
    bool showQuietWindowWithPreview() {
        setUp(true);
        openWindow(quietOptions(kSampleToday, resourcesFolder()), true);
        return showWindow();
    }

    void showAndActivate(EntryWindow& form) {
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

    // Start clicked on the fixture's window: the preview the run showed.
    preview::PreviewWindow& startRun(std::function<void()> endProgram) {
        QTest::mouseClick(form_->startButton_, Qt::LeftButton);
        preview::PreviewWindow* preview = launcher_->preview();
        if (!preview)
            qFatal("no preview after the run: %s", qPrintable(prompter_->texts().join("\n")));
        preview->setEndProgram(std::move(endProgram));
        return *preview;
    }
};

// The base of the main window's own test classes: a fresh fixture for every
// test function. Its meta-object code comes from the one test program source
// that includes "moc_entry_window_fixture.cpp".
class EntryWindowTest : public QObject, protected EntryWindowFixture {
    Q_OBJECT

  private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
};

// True in a test program's scaled run: the program started itself again
// with QT_SCALE_FACTOR set and "--scaled" before the tests to run.
inline bool g_scaledRun = false;

struct ScaledRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
};

// Runs this test program again at the given scale factor, only the given
// tests; on `screen` when one is given.
inline ScaledRun runScaled(const QString& factor, const QStringList& tests,
                           const VirtualScreen* screen = nullptr) {
    QProcess scaled;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", factor);
    if (screen) screen->applyTo(environment, factor);
    scaled.setProcessEnvironment(environment);
    scaled.start(QCoreApplication::applicationFilePath(), QStringList{"--scaled"} + tests);
    ScaledRun run;
    run.finished = scaled.waitForFinished(120000);
    run.exitCode = scaled.exitCode();
    run.output = scaled.readAllStandardOutput();
    return run;
}

enum class ProgramLocale { System, UnitedStatesEnglish };

// A Qt test program's main: the locale it reads dates and numbers in, and
// the scaled run's arguments.
template <class Test>
int runTestProgram(int argc, char** argv, ProgramLocale locale) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    g_scaledRun = arguments.size() > 1 && arguments[1] == "--scaled";
    QApplication app(argc, argv);
    if (locale == ProgramLocale::UnitedStatesEnglish)
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Test test;
    if (g_scaledRun) {
        // QTest takes the rest: the test functions to run.
        arguments.removeAt(1);
        return QTest::qExec(&test, arguments);
    }
    return QTest::qExec(&test, argc, argv);
}

}  // namespace tallowby::testing
