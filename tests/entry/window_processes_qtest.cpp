// The window program as real processes: a window killed with SIGKILL right
// after an Add, tallowby-fill reading the store while a window runs, a second
// start on the same store, and the lock of a killed window taken over.
#include <signal.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "program/single_instance.h"
#include "tests/entry/entry_window_fixture.h"
#include "tests/support/test_paths.h"
#include "workbook/engine/biff/workbook_io.h"

using namespace tallowby;

namespace {

EntryWindowOptions quietOptions(SettingsStore& store) {
    EntryWindowOptions o;
    o.store = &store;
    o.programFolder = testing::resourcesFolder();
    o.homePage = {[] { return 1; }, [](const QString&) {}};
    o.endProgram = [] {};
    o.today = [] { return testing::kSampleToday; };
    return o;
}

// The child: a window on the store as the program makes it (lock, store,
// window), which adds one hours entry through its buttons, says so and waits
// to be killed.
int runWindowChild(const QString& storePath) {
    SettingsStore store(storePath);
    SingleInstance instance(store.path());
    if (instance.claim() != SingleInstance::Claim::First) return 3;
    EntryWindow form(quietOptions(store));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 4;
    form.listTabs_->setCurrentIndex(1);
    form.dayChoice_->setCurrentIndex(0);
    form.rateChoice_->setCurrentIndex(0);
    form.hoursEdit_->setTime(QTime(1, 30));
    QTest::mouseClick(form.addHoursButton_, Qt::LeftButton);
    std::printf("added %d\n", form.hoursList_->topLevelItemCount());
    std::fflush(stdout);
    return QApplication::exec();
}

QProcessEnvironment childEnvironment(const QString& configHome) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", configHome);
    return env;
}

}  // namespace

class WindowProcessesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString storePath() const { return dir_->filePath("Marrowick/Marrowick.ini"); }

    // Starts the child window and waits until its Add is done.
    bool startChild(QProcess& child) {
        child.setProcessEnvironment(childEnvironment(dir_->path()));
        child.start(QCoreApplication::applicationFilePath(), {"--window-child", storePath()});
        if (!child.waitForStarted(10000)) return false;
        QByteArray out;
        while (!out.contains('\n') && child.waitForReadyRead(30000)) out += child.readAll();
        return out.startsWith("added 1");
    }

    static void kill9(QProcess& child) {
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(10000);
    }

  private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() { dir_.reset(); }

    void aWindowKilledAfterAnAddKeepsTheEntry() {
        QProcess child;
        QVERIFY(startChild(child));

        // While the window runs, tallowby-fill reads the store it keeps.
        const QString xls = dir_->filePath("week.xls");
        QProcess fill;
        fill.start(QString::fromUtf8(test_paths::kFillTool),
                   {"--settings", storePath(), "--xls", xls});
        QVERIFY(fill.waitForFinished(60000));
        QCOMPARE(fill.exitCode(), 0);
        const auto book = engine::readWorkbookFile(xls.toStdString());
        const auto* hours = book.sheets.at(0).find(11, 1);  // B12: first day, first rate
        QVERIFY(hours);
        QVERIFY(std::abs(hours->value.number - 1.5 / 24) < 1e-9);

        kill9(child);
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        // Nothing half-written beside the store, and the next start shows the entry.
        QCOMPARE(QDir(dir_->filePath("Marrowick")).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"Marrowick.ini", "Marrowick.ini.lock"}));
        SettingsStore store(storePath());
        EntryWindow again(quietOptions(store));
        QCOMPARE(again.hoursList_->topLevelItemCount(), 1);
        QCOMPARE(testing::row(again.hoursList_, 0),
                 (QStringList{"Tuesday, September 14, 2021", "Regular", "01:30", "0", "0"}));
    }

    void theLockOfAKilledWindowIsTakenOver() {
        QProcess child;
        QVERIFY(startChild(child));
        SingleInstance whileItRuns(storePath());
        // The child is alive but not raised by anyone: a plain claim reaches it.
        QCOMPARE(whileItRuns.claim(), SingleInstance::Claim::OtherRaised);
        kill9(child);
        QVERIFY(QFile::exists(SingleInstance::lockPathFor(storePath())));
        SingleInstance after(storePath());
        QCOMPARE(after.claim(), SingleInstance::Claim::First);
    }

    void aSecondStartRaisesTheFirstAndEnds() {
        SettingsStore store(storePath());
        SingleInstance first(store.path());
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        EntryWindow form(quietOptions(store));
        raiseOnRequest(first, [&form] { return &form; });
        form.showMinimized();
        QVERIFY(QTest::qWaitForWindowExposed(&form) || form.isMinimized());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);

        // The real window program, started on the same store.
        QProcess second;
        second.setProcessEnvironment(childEnvironment(dir_->path()));
        second.start(QString::fromUtf8(test_paths::kWindowProgram), {});
        QVERIFY(second.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardError().contains("brought to the front"));
        QCOMPARE(raised.count(), 1);
        QVERIFY(!form.isMinimized());
        QVERIFY(form.isVisible());
        // The second start wrote nothing: the store holds at most the first
        // window's own place, kept when it was minimised.
        if (QFile::exists(storePath())) {
            QSettings written(storePath(), QSettings::IniFormat);
            QCOMPARE(written.allKeys(), QStringList{"Tallowby/EntryWindowPlace"});
        }
    }

    void twoRealStartsGiveOneWindow() {
        QProcess first;
        first.setProcessEnvironment(childEnvironment(dir_->path()));
        first.start(QString::fromUtf8(test_paths::kWindowProgram), {});
        QVERIFY(first.waitForStarted(10000));
        // The first holds the lock once its window is up; the second finds it.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(SingleInstance::lockPathFor(storePath())), 30000);
        QProcess second;
        second.setProcessEnvironment(childEnvironment(dir_->path()));
        second.start(QString::fromUtf8(test_paths::kWindowProgram), {});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardError().contains("brought to the front"));
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--window-child") == 0) {
        QApplication app(argc, argv);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return runWindowChild(QString::fromLocal8Bit(argv[2]));
    }
    return testing::runTestProgram<WindowProcessesTest>(
        argc, argv, testing::ProgramLocale::UnitedStatesEnglish);
}

#include "window_processes_qtest.moc"
