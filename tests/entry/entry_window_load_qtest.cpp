// The main window's start-up: what it restores from the store, what it
// reports about stored text it cannot use, and that typed text is stored at
// once. Real widgets under the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cstdio>
#include <memory>

#include "app/build_config.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "tests/entry/entry_window_fixture.h"

using namespace tallowby;
using namespace tallowby::testing;

class EntryWindowLoadTest : public EntryWindowTest {
    Q_OBJECT

  private slots:
    void firstRunWithAnEmptyStore() {
        auto form = start();
        for (auto* edit : {form->companyEdit_, form->addressEdit_, form->cityEdit_,
                           form->phoneEdit_, form->employeeEdit_, form->supervisorEdit_})
            QCOMPARE(edit->text(), QString());
        QCOMPARE(form->weekStartEdit_->date(), kSampleToday);
        QCOMPARE(rowTexts(form->rateList_, 0), kDefaultRates);
        QCOMPARE(rowTexts(form->rateList_, 1), QStringList(7, QString()));
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        QCOMPARE(form->listTabs_->currentIndex(), 0);
        QCOMPARE(items(form->dayChoice_).size(), 7);
        QCOMPARE(form->dayChoice_->itemText(0), QString("Tuesday, September 14, 2021"));
        QCOMPARE(form->dayChoice_->itemText(6), QString("Monday, September 20, 2021"));
        QCOMPARE(form->dayChoice_->currentIndex(), -1);
        QCOMPARE(items(form->rateChoice_), kDefaultRates);
        QCOMPARE(form->rateChoice_->currentText(), QString());
        QCOMPARE(form->hoursEdit_->time(), QTime(0, 0));
        QCOMPARE(form->windowTitle(), QString("Tallowby"));
        QVERIFY(!form->windowIcon().isNull());
        QVERIFY(form->hasCustomPointer());
        QCOMPARE(presenceChecks_, 1);
        QVERIFY(launched_.isEmpty());
        QVERIFY(prompter_->messages.empty());
        // Start-up with nothing stored writes nothing.
        QVERIFY(!QFile::exists(store_->path()));
    }

    void storedValuesAreRestored() {
        store_->setValue("txtName", "ACME, Inc");
        store_->setValue("txtSVisor", "Rolf");
        store_->setValue("dtpDate", "2021-08-30");
        store_->setValue("Rates", "Regular^11.50|Over\\|time^12.70");
        store_->setValue("Hours", "Monday, August 30, 2021^Regular^02:00^0^0|");
        store_->setValue("TabSel", "1");
        auto form = start();
        QCOMPARE(form->companyEdit_->text(), QString("ACME, Inc"));
        QCOMPARE(form->supervisorEdit_->text(), QString("Rolf"));
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 8, 30));
        QCOMPARE(rowTexts(form->rateList_, 0), (QStringList{"Regular", "Over|time"}));
        QCOMPARE(rowTexts(form->rateList_, 1), (QStringList{"11.50", "12.70"}));
        QCOMPARE(form->hoursList_->topLevelItemCount(), 1);
        QCOMPARE(row(form->hoursList_, 0),
                 (QStringList{"Monday, August 30, 2021", "Regular", "02:00", "0", "0"}));
        QCOMPARE(form->listTabs_->currentIndex(), 1);
        QCOMPARE(items(form->rateChoice_), (QStringList{"Regular", "Over|time"}));
        QCOMPARE(form->dayChoice_->itemText(0), QString("Monday, August 30, 2021"));
        QVERIFY(prompter_->messages.empty());
    }

    void blankRatesGiveDefaultsAndBlankHoursOneRow() {
        store_->setValue("Rates", "   ");
        store_->setValue("Hours", "   ");
        auto form = start();
        QCOMPARE(rowTexts(form->rateList_, 0), kDefaultRates);
        QCOMPARE(form->hoursList_->topLevelItemCount(), 1);
        QCOMPARE(row(form->hoursList_, 0), (QStringList{"   ", "", "", "", ""}));
    }

    void surplusFieldsAreReportedAndSkipped() {
        store_->setValue("Rates", "Regular^11.50^extra");
        store_->setValue("Hours", "a^b^c^d^e^f^g");
        auto form = start();
        QCOMPARE(row(form->rateList_, 0), (QStringList{"Regular", "11.50"}));
        QCOMPARE(row(form->hoursList_, 0), (QStringList{"a", "b", "c", "d", "e"}));
        QCOMPARE(
            prompter_->texts(),
            (QStringList{report("Index out of bounds", "Form_Load", 160),
                         report("Index out of bounds (this happened 2 times)", "Form_Load", 192)}));
        QCOMPARE(prompter_->messages[0].caption, QString("Application Error"));
        QCOMPARE(presenceChecks_, 1);  // start-up still reached its end
    }

    void aStoredWeekStartThatIsNoDateGivesTodayAndKeepsTheText() {
        for (const char* stored : {"someday", "1900-02-29", "0000-00-00"}) {
            store_->setValue("dtpDate", stored);
            prompter_->messages.clear();
            auto form = start();
            QCOMPARE(form->weekStartEdit_->date(), kSampleToday);
            QCOMPARE(prompter_->messages.size(), size_t{1});
            QVERIFY(prompter_->messages[0].text.contains(QString("\"%1\"").arg(stored)));
            QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::Warning);
            QCOMPARE(SettingsStore(store_->path()).value("dtpDate"), QString(stored));
            // Choosing a date is what replaces the text.
            form->weekStartEdit_->setDate(kSampleToday.addDays(-1));
            QCOMPARE(SettingsStore(store_->path()).value("dtpDate"),
                     kSampleToday.addDays(-1).toString(Qt::ISODate));
        }
    }

    void aBadTabIndexIsReportedAtItsStatement() {
        store_->setValue("TabSel", "seven");
        auto form = start();
        QCOMPARE(form->listTabs_->currentIndex(), 0);
        QCOMPARE(prompter_->texts(), QStringList{report("Type mismatch", "Form_Load", 202)});
    }

    void anUnusableStoreIsReportedOnceAndTheFormStartsFromDefaults() {
        QDir().mkpath(store_->path());  // a folder where the file should be
        auto form = start();
        QCOMPARE(prompter_->messages.size(), size_t{1});
        QVERIFY(prompter_->messages[0].text.contains("it is a folder"));
        QVERIFY(prompter_->reportedLines().isEmpty());
        QCOMPARE(presenceChecks_, 1);
        QCOMPARE(rowTexts(form->rateList_, 0), kDefaultRates);
        QCOMPARE(form->weekStartEdit_->date(), kSampleToday);
        form->companyEdit_->setText("typed");  // kept for this run only, never written there
        QVERIFY(QFileInfo(store_->path()).isDir());
        QCOMPARE(prompter_->messages.size(), size_t{1});
    }

    void theHomePageOpensOnlyOnTheDrawOfSeven() {
        EntryWindowOptions o = options(resourcesFolder());
        o.homePage.draw = [] { return 7; };
        EntryWindow form(o);
        QCOMPARE(launched_, QStringList{QString::fromUtf8(build::kHomePage)});
    }

    void theStoredSettingKeepsTheHomePageClosed() {
        store_->setValue("NoHomePage", "1");
        EntryWindowOptions o = options(resourcesFolder());
        o.homePage.draw = [] { return 7; };
        EntryWindow form(o);
        QVERIFY(launched_.isEmpty());
    }

    void typingSavesEveryKeystroke() {
        auto form = start();
        QStringList seen;
        QObject::connect(form->companyEdit_, &QLineEdit::textChanged, form.get(),
                         [&] { seen << store_->value("txtName", "?"); });
        QTest::keyClicks(form->companyEdit_, "Abc");
        QCOMPARE(seen, (QStringList{"A", "Ab", "Abc"}));
        form->cityEdit_->setText(QString::fromUtf8("Zoë, IN"));
        form->companyEdit_->clear();
        auto next = start();
        QCOMPARE(next->companyEdit_->text(), QString());
        QCOMPARE(next->cityEdit_->text(), QString::fromUtf8("Zoë, IN"));
        // The two boxes of the rate page are not saved.
        QTest::keyClicks(form->rateNameEdit_, "x");
        QCOMPARE(store_->value("txtType", "absent"), QString("absent"));
    }

    void typedTextSurvivesAKilledProcess() {
        QProcess helper;
        helper.start(QCoreApplication::applicationFilePath(), {"--type-and-wait", store_->path()});
        QVERIFY(helper.waitForStarted());
        QByteArray out;
        while (!out.contains("typed\n") && helper.state() == QProcess::Running) {
            helper.waitForReadyRead(10000);
            out += helper.readAllStandardOutput();
        }
        QVERIFY2(out.contains("typed\n"), out.constData());
        helper.kill();  // SIGKILL: no close, no clean-up
        QVERIFY(helper.waitForFinished());
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);

        auto form = start();
        QCOMPARE(form->companyEdit_->text(), QString("Abc"));
        QCOMPARE(form->cityEdit_->text(), QString::fromUtf8("Zoë, IN"));
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 9, 1));
        QCOMPARE(form->listTabs_->currentIndex(), 1);
        // The lists are saved only by closing the window, which never happened.
        QCOMPARE(rowTexts(form->rateList_, 0), kDefaultRates);
    }
};

// Run by typedTextSurvivesAKilledProcess: types into a real window, says so,
// and waits to be killed.
static int typeAndWait(const QString& storePath) {
    SettingsStore store(storePath);
    EntryWindowOptions o;
    o.store = &store;
    o.homePage.draw = [] { return 1; };
    o.presenceCheck = [] {};
    o.endProgram = [] {};
    EntryWindow form(o);
    form.show();
    QTest::keyClicks(form.companyEdit_, "Abc");
    form.cityEdit_->setText(QString::fromUtf8("Zoë, IN"));
    form.weekStartEdit_->setDate(QDate(2021, 9, 1));
    form.listTabs_->setCurrentIndex(1);
    std::printf("typed\n");
    std::fflush(stdout);
    return QApplication::exec();
}

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--type-and-wait") {
        QApplication app(argc, argv);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return typeAndWait(QString::fromLocal8Bit(argv[2]));
    }
    return runTestProgram<EntryWindowLoadTest>(argc, argv, ProgramLocale::UnitedStatesEnglish);
}

#include "entry_window_load_qtest.moc"
#include "moc_entry_window_fixture.cpp"
