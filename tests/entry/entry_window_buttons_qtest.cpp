// The main window's buttons: the sample data, Help and Start. Real widgets
// under the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <memory>

#include "app/build_config.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "tests/entry/entry_window_fixture.h"

using namespace tallowby;
using namespace tallowby::testing;

class EntryWindowButtonsTest : public EntryWindowTest {
    Q_OBJECT

  private slots:
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
        QCOMPARE(store_->value("txtCity"), QString("French Leek, IN"));
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
        // The lists reach the store at once.
        QCOMPARE(SettingsStore(store_->path()).value("Rates").count('|') + 1, 14);
        QCOMPARE(SettingsStore(store_->path()).value("Hours").count('|') + 1, 34);

        form->onSampleClicked();
        QCOMPARE(form->rateList_->topLevelItemCount(), 21);
        QCOMPARE(form->rateChoice_->count(), 21);
        QCOMPARE(form->hoursList_->topLevelItemCount(), 34 + 52);
        QVERIFY(prompter_->messages.empty());
    }

    void saveFailuresDuringSampleDataAreToldOnce() {
        auto form = start();
        QDir().mkpath(store_->path());  // from now on every save fails
        form->onSampleClicked();
        // One message for the first failed save, no error report per statement.
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QVERIFY(prompter_->messages[0].text.contains("Not saved: the company name."));
        QVERIFY(prompter_->reports().isEmpty());
        QCOMPARE(form->storeWriteFailures(), 9);  // six fields, the date, the lists twice
        QCOMPARE(form->hoursList_->topLevelItemCount(), 34);  // and the procedure ran to its end
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
        QCOMPARE(seen.hours[33].dayIndex, QString("6"));
        QCOMPARE(seen.hours[33].rateIndex, QString("3"));
    }
};

int main(int argc, char** argv) {
    return runTestProgram<EntryWindowButtonsTest>(argc, argv, ProgramLocale::UnitedStatesEnglish);
}

#include "entry_window_buttons_qtest.moc"
#include "moc_entry_window_fixture.cpp"
