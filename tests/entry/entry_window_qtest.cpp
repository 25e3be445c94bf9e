// Drives the real entry window under the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cstdio>
#include <memory>

#include "app/build_config.h"
#include "app/error_report.h"
#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/test_paths.h"

using namespace tallowby;

namespace {

const QDate kToday(2021, 9, 14);  // the sample week then starts on Monday, August 30, 2021

QString resourcesFolder() {
    return QString::fromUtf8(test_paths::kResourcesDir);
}

QStringList rowTexts(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

QStringList row(const QTreeWidget* list, int index) {
    QStringList fields;
    for (int c = 0; c < list->columnCount(); ++c) fields << list->topLevelItem(index)->text(c);
    return fields;
}

QStringList items(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

QString report(const char* description, const char* procedure, int line) {
    return error_report::text(QString::fromUtf8(description), "Form1",
                              QString::fromLatin1(procedure), line);
}

const QStringList kDefaultRates{"Regular", "Overtime", "Illness", "Vacation",
                                "Holiday", "Unpaid",   "Other"};

}  // namespace

class EntryWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<testing::ScriptedPrompter> prompter_;
    int presenceChecks_ = 0;
    int endings_ = 0;
    QStringList launched_;

    EntryWindowOptions options(const QString& programFolder) {
        EntryWindowOptions o;
        o.store = store_.get();
        o.programFolder = programFolder;
        o.homePage = {[] { return 1; }, [this](const QString& a) { launched_ << a; }};
        o.presenceCheck = [this] { ++presenceChecks_; };
        o.endProgram = [this] { ++endings_; };
        o.today = [] { return kToday; };
        return o;
    }

    std::unique_ptr<EntryWindow> start(const QString& programFolder = resourcesFolder()) {
        return std::make_unique<EntryWindow>(options(programFolder));
    }

    void showAndActivate(EntryWindow& form) {
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        store_ = std::make_unique<SettingsStore>(dir_->filePath("Marrowick/Marrowick.ini"));
        prompter_ = std::make_unique<testing::ScriptedPrompter>();
        presenceChecks_ = endings_ = 0;
        launched_.clear();
    }
    void cleanup() {
        prompter_.reset();
        store_.reset();
        dir_.reset();
    }

    void firstRunWithAnEmptyStore() {
        auto form = start();
        for (auto* edit : {form->companyEdit_, form->addressEdit_, form->cityEdit_,
                           form->phoneEdit_, form->employeeEdit_, form->supervisorEdit_})
            QCOMPARE(edit->text(), QString());
        QCOMPARE(form->weekStartEdit_->date(), kToday);
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

    void windowGeometryAndFonts() {
        auto form = start();
        QCOMPARE(form->size(), QSize(624, 658));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(form->startButton_->geometry(), QRect(8, 8, 608, 27));
        QCOMPARE(form->sampleButton_->geometry(), QRect(320, 42, 296, 27));
        QCOMPARE(form->generalBox_->geometry(), QRect(8, 74, 608, 233));
        QCOMPARE(form->cityEdit_->geometry(), QRect(144, 80, 445, 23));
        QCOMPARE(form->listTabs_->geometry(), QRect(8, 311, 608, 337));
        QCOMPARE(form->hoursList_->geometry(), QRect(9, 149, 572, 158));
        // The columns share the list's width in the designed proportion
        // (4300 : 2900 twips) beyond their content.
        const int rateColumns = form->rateList_->columnWidth(0) + form->rateList_->columnWidth(1);
        QVERIFY(rateColumns <= form->rateList_->viewport()->width());
        QVERIFY(rateColumns >= form->rateList_->viewport()->width() - 2);
        QVERIFY(form->rateList_->columnWidth(0) > form->rateList_->columnWidth(1));
        QVERIFY(form->hoursList_->isColumnHidden(3));
        QVERIFY(form->hoursList_->isColumnHidden(4));
        QCOMPARE(form->font().family(), QString("Arial"));
        QVERIFY(form->font().bold());
        QCOMPARE(form->font().pointSizeF(), 9.0);
        QCOMPARE(form->startButton_->font().pointSizeF(), 11.25);
        QCOMPARE(form->listTabs_->tabBar()->font().pointSizeF(), 11.25);
        QCOMPARE(form->listTabs_->tabText(0), QString("Hour Rates"));
        QCOMPARE(form->listTabs_->tabText(1), QString("Employee Hours"));
        QCOMPARE(form->weekStartEdit_->displayFormat(), QString("dd-MMM-yyyy"));
        QCOMPARE(form->hoursEdit_->displayFormat(), QString("HH:mm"));
        QStringList captions;
        for (auto* label : form->generalBox_->findChildren<QLabel*>()) captions << label->text();
        QCOMPARE(captions,
                 (QStringList{"Company Name:", "Address:", "City, ST  ZIP Code:", "Phone:",
                              "Employee Name:", "Supervisor Name:", " Week Start:"}));
        QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void storedValuesAreRestored() {
        store_->SaveSetting("txtName", "ACME, Inc");
        store_->SaveSetting("txtSVisor", "Rolf");
        store_->SaveSetting("dtpDate", "2021-08-30");
        store_->SaveSetting("Rates", "Regular^11.50|Over\\|time^12.70");
        store_->SaveSetting("Hours", "Monday, August 30, 2021^Regular^02:00^0^0|");
        store_->SaveSetting("TabSel", "1");
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
        store_->SaveSetting("Rates", "   ");
        store_->SaveSetting("Hours", "   ");
        auto form = start();
        QCOMPARE(rowTexts(form->rateList_, 0), kDefaultRates);
        QCOMPARE(form->hoursList_->topLevelItemCount(), 1);
        QCOMPARE(row(form->hoursList_, 0), (QStringList{"   ", "", "", "", ""}));
    }

    void surplusFieldsAreReportedAndSkipped() {
        store_->SaveSetting("Rates", "Regular^11.50^extra");
        store_->SaveSetting("Hours", "a^b^c^d^e^f^g");
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
            store_->SaveSetting("dtpDate", stored);
            prompter_->messages.clear();
            auto form = start();
            QCOMPARE(form->weekStartEdit_->date(), kToday);
            QCOMPARE(prompter_->messages.size(), size_t{1});
            QVERIFY(prompter_->messages[0].text.contains(QString("\"%1\"").arg(stored)));
            QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::Warning);
            QCOMPARE(SettingsStore(store_->path()).GetSetting("dtpDate"), QString(stored));
            // Choosing a date is what replaces the text.
            form->weekStartEdit_->setDate(kToday.addDays(-1));
            QCOMPARE(SettingsStore(store_->path()).GetSetting("dtpDate"),
                     kToday.addDays(-1).toString(Qt::ISODate));
        }
    }

    void aBadTabIndexIsReportedAtItsStatement() {
        store_->SaveSetting("TabSel", "seven");
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
        QCOMPARE(form->weekStartEdit_->date(), kToday);
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

    void typingSavesEveryKeystroke() {
        auto form = start();
        QStringList seen;
        QObject::connect(form->companyEdit_, &QLineEdit::textChanged, form.get(),
                         [&] { seen << store_->GetSetting("txtName", "?"); });
        QTest::keyClicks(form->companyEdit_, "Abc");
        QCOMPARE(seen, (QStringList{"A", "Ab", "Abc"}));
        form->cityEdit_->setText(QString::fromUtf8("Zoë, IN"));
        form->companyEdit_->clear();
        auto next = start();
        QCOMPARE(next->companyEdit_->text(), QString());
        QCOMPARE(next->cityEdit_->text(), QString::fromUtf8("Zoë, IN"));
        // The two boxes of the rate page are not saved.
        QTest::keyClicks(form->rateNameEdit_, "x");
        QCOMPARE(store_->GetSetting("txtType", "absent"), QString("absent"));
    }

    void tabOrderFollowsTheWindowsList() {
        auto form = start();
        showAndActivate(*form);
        QCOMPARE(QApplication::focusWidget(), form->companyEdit_);
        const QList<QWidget*> ratesPage = {
            form->addressEdit_,  form->cityEdit_,       form->phoneEdit_,
            form->employeeEdit_, form->supervisorEdit_, form->weekStartEdit_,
            form->rateNameEdit_, form->rateAmountEdit_, form->editRateButton_,
            form->rateList_,     form->startButton_,    form->listTabs_->tabBar(),
            form->helpButton_,   form->sampleButton_,   form->companyEdit_};
        for (QWidget* expected : ratesPage) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
        form->listTabs_->setCurrentIndex(1);
        form->supervisorEdit_->setFocus();
        const QList<QWidget*> hoursPage = {
            form->weekStartEdit_,  form->dayChoice_,         form->rateChoice_, form->hoursEdit_,
            form->addHoursButton_, form->deleteHoursButton_, form->hoursList_,  form->startButton_};
        for (QWidget* expected : hoursPage) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
    }

    void focusSelectsTheWholeText() {
        store_->SaveSetting("txtName", "ACME Inc");
        auto form = start();
        showAndActivate(*form);
        QCOMPARE(QApplication::focusWidget(), form->companyEdit_);
        QCOMPARE(form->companyEdit_->selectedText(), QString("ACME Inc"));
        form->addressEdit_->setText("Birchwood st");
        QTest::keyClick(form->companyEdit_, Qt::Key_Tab);
        QCOMPARE(form->addressEdit_->selectedText(), QString("Birchwood st"));
        QCOMPARE(form->addressEdit_->selectionStart(), 0);
        // A click into a field selects all as well.
        form->rateAmountEdit_->setText("11.50");
        QTest::mouseClick(form->rateAmountEdit_, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(form->rateAmountEdit_->selectedText(), QString("11.50"));
        // Typing then replaces the old value.
        QTest::keyClicks(form->rateAmountEdit_, "9");
        QCOMPARE(form->rateAmountEdit_->text(), QString("9"));
    }

    void aWednesdayWeekStartFillsTheDayChoice() {
        auto form = start();
        form->weekStartEdit_->setDate(QDate(2021, 9, 1));
        QCOMPARE(store_->GetSetting("dtpDate"), QString("2021-09-01"));
        QCOMPARE(items(form->dayChoice_),
                 (QStringList{"Wednesday, September 1, 2021", "Thursday, September 2, 2021",
                              "Friday, September 3, 2021", "Saturday, September 4, 2021",
                              "Sunday, September 5, 2021", "Monday, September 6, 2021",
                              "Tuesday, September 7, 2021"}));
        QCOMPARE(form->dayChoice_->currentIndex(), -1);
        auto next = start();
        QCOMPARE(next->weekStartEdit_->date(), QDate(2021, 9, 1));
    }

    void theTypeChoiceCatchesUpOnlyAtTheNextTabChange() {
        auto form = start();
        form->rateList_->setCurrentItem(form->rateList_->topLevelItem(1));
        form->onRateClicked(form->rateList_->topLevelItem(1));
        QCOMPARE(form->rateNameEdit_->text(), QString("Overtime"));
        form->rateNameEdit_->setText("Night shift");
        form->rateAmountEdit_->setText("$13");
        QTest::mouseClick(form->editRateButton_, Qt::LeftButton);
        QCOMPARE(row(form->rateList_, 1), (QStringList{"Night shift", "$13"}));
        QCOMPARE(form->rateNameEdit_->text(), QString());
        QCOMPARE(form->rateAmountEdit_->text(), QString());
        QCOMPARE(form->rateChoice_->itemText(1), QString("Overtime"));
        form->listTabs_->setCurrentIndex(1);
        QCOMPARE(store_->GetSetting("TabSel"), QString("1"));
        QCOMPARE(form->rateChoice_->itemText(1), QString("Night shift"));
        auto next = start();
        QCOMPARE(next->listTabs_->currentIndex(), 1);
    }

    void editSelectedOnAnEmptyListOnlyEmptiesTheBoxes() {
        store_->SaveSetting("Rates", "||");
        auto form = start();
        QCOMPARE(form->rateList_->topLevelItemCount(), 0);
        form->rateNameEdit_->setText("a");
        form->rateAmountEdit_->setText("b");
        form->onEditRateClicked();
        QCOMPARE(form->rateNameEdit_->text(), QString());
        QCOMPARE(form->rateAmountEdit_->text(), QString());
        QVERIFY(prompter_->messages.empty());
    }

    void addWithNothingChosenIsRefused() {
        auto form = start();
        form->listTabs_->setCurrentIndex(1);
        QTest::mouseClick(form->addHoursButton_, Qt::LeftButton);
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        QCOMPARE(prompter_->texts(), QStringList{"Choose a day and a type for the hours."});
    }

    void addWithPickedAndTypedChoices() {
        auto form = start();
        form->dayChoice_->setCurrentIndex(2);
        form->rateChoice_->setEditText("Overtime");  // typed, and exactly a rate's description
        form->hoursEdit_->setTime(QTime(7, 45));
        form->onAddHoursClicked();
        QCOMPARE(row(form->hoursList_, 0),
                 (QStringList{"Thursday, September 16, 2021", "Overtime", "07:45", "2", "1"}));
        // The inputs are ready for the next entry; the same entry again is added again.
        QCOMPARE(form->dayChoice_->currentIndex(), -1);
        QCOMPARE(form->dayChoice_->currentText(), QString());
        QCOMPARE(form->rateChoice_->currentText(), QString());
        QCOMPARE(form->hoursEdit_->time(), QTime(0, 0));
        for (int i = 0; i < 2; ++i) {
            form->dayChoice_->setCurrentIndex(0);
            form->rateChoice_->setCurrentIndex(6);
            form->onAddHoursClicked();
        }
        QCOMPARE(row(form->hoursList_, 1),
                 (QStringList{"Tuesday, September 14, 2021", "Other", "00:00", "0", "6"}));
        QCOMPARE(row(form->hoursList_, 2), row(form->hoursList_, 1));
    }

    void deleteSelected() {
        auto form = start();
        QTest::mouseClick(form->deleteHoursButton_, Qt::LeftButton);  // empty list: nothing happens
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        QVERIFY(prompter_->messages.empty());
        for (const char* type : {"Regular", "Overtime", "Illness"}) {
            form->dayChoice_->setCurrentIndex(0);
            form->rateChoice_->setEditText(type);
            form->onAddHoursClicked();
        }
        form->hoursList_->setCurrentItem(form->hoursList_->topLevelItem(1));
        form->onDeleteHoursClicked();
        QCOMPARE(rowTexts(form->hoursList_, 1), (QStringList{"Regular", "Illness"}));
        form->onDeleteHoursClicked();
        form->onDeleteHoursClicked();
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        form->onDeleteHoursClicked();
        QVERIFY(prompter_->messages.empty());
    }

    void sampleDataOnAFreshStartAndAgain() {
        auto form = start();
        QTest::mouseClick(form->sampleButton_, Qt::LeftButton);
        QCOMPARE(form->companyEdit_->text(), QString("ACME Inc"));
        QCOMPARE(form->addressEdit_->text(), QString("Birchwood st"));
        QCOMPARE(form->cityEdit_->text(), QString("French Leek, IN"));
        QCOMPARE(form->phoneEdit_->text(), QString("(988) 913-5480"));
        QCOMPARE(form->employeeEdit_->text(), QString("Arlen Tovey Jr."));
        QCOMPARE(form->supervisorEdit_->text(), QString("Rolf Ambry"));
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 8, 30));
        QCOMPARE(store_->GetSetting("txtCity"), QString("French Leek, IN"));
        QCOMPARE(form->rateList_->topLevelItemCount(), 14);
        QCOMPARE(row(form->rateList_, 7), (QStringList{"Regular", "11.50"}));
        QCOMPARE(row(form->rateList_, 13), (QStringList{"Other", "11"}));
        QCOMPARE(form->rateChoice_->count(), 14);
        QCOMPARE(form->hoursList_->topLevelItemCount(), 34);
        // Day 1 gets types 0, 1, 6, 11, 12, 13 (entries 5 to 10).
        QCOMPARE(row(form->hoursList_, 5),
                 (QStringList{"Tuesday, August 31, 2021", "Regular", "02:00", "1", "0"}));
        QCOMPARE(row(form->hoursList_, 8),
                 (QStringList{"Tuesday, August 31, 2021", "Holiday", "02:00", "1", "11"}));
        QCOMPARE(row(form->hoursList_, 33),
                 (QStringList{"Sunday, September 5, 2021", "Vacation", "02:00", "6", "3"}));
        const QStringList hours = rowTexts(form->hoursList_, 2);
        QCOMPARE(QSet<QString>(hours.begin(), hours.end()), QSet<QString>{"02:00"});
        QCOMPARE(form->dayChoice_->currentIndex(), 6);
        QCOMPARE(form->hoursEdit_->time(), QTime(2, 0));
        // The lists reach the store only at close.
        QCOMPARE(store_->GetSetting("Rates", "absent"), QString("absent"));

        form->onSampleClicked();
        QCOMPARE(form->rateList_->topLevelItemCount(), 21);
        QCOMPARE(form->rateChoice_->count(), 21);
        QCOMPARE(form->hoursList_->topLevelItemCount(), 34 + 52);
        QVERIFY(prompter_->messages.empty());
    }

    void handlerFailuresReachTheSampleDataReport() {
        auto form = start();
        QDir().mkpath(store_->path());  // from now on every save fails
        form->onSampleClicked();
        for (const QString& text : prompter_->texts())
            QVERIFY(text.contains("Form1.PushButton7_Click at line "));
        QCOMPARE(prompter_->reportedLines(), (QList<int>{100, 102, 104, 106, 108, 110, 112}));
        QCOMPARE(form->hoursList_->topLevelItemCount(), 34);  // and the procedure ran to its end
    }

    void closingSavesBothListsAndEndsTheProgram() {
        auto form = start();
        form->onSampleClicked();
        form->rateList_->topLevelItem(0)->setText(0, "Day^shift|A");
        form->close();
        QCOMPARE(endings_, 1);
        QVERIFY(store_->GetSetting("Rates").startsWith("Day\\^shift\\|A^|Overtime^|"));
        auto next = start();
        QCOMPARE(rowTexts(next->rateList_, 0), rowTexts(form->rateList_, 0));
        QCOMPARE(rowTexts(next->rateList_, 1), rowTexts(form->rateList_, 1));
        QCOMPARE(next->hoursList_->topLevelItemCount(), 34);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(rowTexts(next->hoursList_, c), rowTexts(form->hoursList_, c));
        QCOMPARE(next->record().rates.size(), 14u);
    }

    void anEmptyRateListIsSavedEmptyAndGivesDefaultsAgain() {
        store_->SaveSetting("Rates", "|");
        auto form = start();
        form->saveLists();
        QCOMPARE(store_->GetSetting("Rates", "absent"), QString());
        QCOMPARE(store_->GetSetting("Hours", "absent"), QString());
        auto next = start();
        QCOMPARE(rowTexts(next->rateList_, 0), kDefaultRates);
    }

    void helpShowsTheContactLine() {
        auto form = start();
        QTest::mouseClick(form->helpButton_, Qt::LeftButton);
        QCOMPARE(prompter_->messages.size(), size_t(1));
        const auto& m = prompter_->messages[0];
        QCOMPARE(m.caption, QString("Tallowby"));
        QCOMPARE(m.icon, Prompter::Icon::None);
        QCOMPARE(m.buttons, Prompter::Buttons::Ok);
        QCOMPARE(m.text, "Questions? Please contact Team Marrowick at " +
                             QString::fromUtf8(build::kContactPage));
        QVERIFY(m.text.endsWith("/contact/"));
    }

    void startButtonRunsTheGenerationWithTheRecord() {
        auto form = start();
        QTest::mouseClick(form->startButton_, Qt::LeftButton);  // no runner yet: nothing
        TimesheetRecord seen;
        int runs = 0;
        form->setGenerationRunner([&] {
            ++runs;
            seen = form->record();
        });
        form->onSampleClicked();
        QTest::mouseClick(form->startButton_, Qt::LeftButton);
        QCOMPARE(runs, 1);
        QCOMPARE(seen.company, QString("ACME Inc"));
        QCOMPARE(seen.supervisor, QString("Rolf Ambry"));
        QCOMPARE(seen.weekStart, QDate(2021, 8, 30));
        QCOMPARE(seen.rates.size(), 14u);
        QCOMPARE(seen.rates[8].description, QString("Overtime"));
        QCOMPARE(seen.rates[8].rate, QString("12.70"));
        QCOMPARE(seen.hours.size(), 34u);
        QCOMPARE(seen.hours[0].hours, QString("02:00"));
        QCOMPARE(seen.hours[33].dn, QString("6"));
        QCOMPARE(seen.hours[33].rn, QString("3"));
    }

    void hoverCursorRule() {
        auto form = start();
        showAndActivate(*form);
        auto overCentre = [](QWidget* w) { QTest::mouseMove(w, w->rect().center()); };
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->sampleButton_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        QCOMPARE(form->cursor().hotSpot(), QPoint(6, 0));
        overCentre(form->generalBox_->findChild<QLabel*>());
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);  // a label changes nothing
        overCentre(form->rateNameEdit_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        overCentre(form->phoneEdit_);
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->editRateButton_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        overCentre(form->listTabs_->tabBar());
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        overCentre(form->rateList_->viewport());
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->startButton_);
        QTest::mouseMove(form.get(), QPoint(3, 300));  // the window's own background
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);

        form->setBusyCursor(true);
        QCOMPARE(form->cursor().shape(), Qt::WaitCursor);
        for (QWidget* w :
             QList<QWidget*>{form->helpButton_, form->companyEdit_, form->rateList_->viewport()}) {
            overCentre(w);
            QCOMPARE(form->windowPointer(), WindowPointer::Hourglass);
        }
        form->setBusyCursor(false);
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->helpButton_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
    }

    void withoutTheCursorFileTheHandIsTheArrow() {
        QTemporaryDir emptyFolder;
        auto form = start(emptyFolder.path());
        QVERIFY(!form->hasCustomPointer());
        showAndActivate(*form);
        QTest::mouseMove(form.get(), QPoint(3, 300));
        QTest::mouseMove(form->helpButton_, form->helpButton_->rect().center());
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(prompter_->messages.empty());
    }

    void anInstalledProgramTakesTheCursorFromShareTallowby() {
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath("bin"));
        QVERIFY(QDir(prefix.path()).mkpath("share/tallowby"));
        QVERIFY(QFile::copy(resourcesFolder() + "/HAND-M.CUR",
                            prefix.filePath("share/tallowby/HAND-M.CUR")));
        auto form = start(prefix.filePath("bin"));
        QVERIFY(form->hasCustomPointer());
        QVERIFY(prompter_->messages.empty());
    }

    void aBrokenCursorFileIsReportedAndLeavesTheArrow() {
        QTemporaryDir folder;
        QFile broken(folder.filePath("HAND-M.CUR"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a cursor");
        broken.close();
        auto form = start(folder.path());
        QVERIFY(!form->hasCustomPointer());
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QVERIFY(prompter_->messages[0].text.contains("Form1.Form_Load at line 108"));
        QCOMPARE(presenceChecks_, 1);
    }

    void aSkinFileGivesPlainColours() {
        QTemporaryDir folder;
        QDir(folder.path()).mkpath("x");
        QFile skin(folder.filePath("x/o.cjs"));
        QVERIFY(skin.open(QIODevice::WriteOnly));
        skin.close();
        auto form = start(folder.path());
        const QColor face = form->palette().color(QPalette::Button);
        QCOMPARE(form->palette().color(QPalette::Window), face);
        QCOMPARE(form->generalBox_->palette().color(QPalette::Window), face);
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
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc == 3 && QByteArray(argv[1]) == "--type-and-wait")
        return typeAndWait(QString::fromLocal8Bit(argv[2]));
    EntryWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "entry_window_qtest.moc"
