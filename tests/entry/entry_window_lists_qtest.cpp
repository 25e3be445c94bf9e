// The main window's two lists: the day and type choices, editing a rate,
// adding and deleting hours, and saving both lists at close. Real widgets
// under the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <memory>

#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "tests/entry/entry_window_fixture.h"

using namespace tallowby;
using namespace tallowby::testing;

class EntryWindowListsTest : public EntryWindowTest {
    Q_OBJECT

  private slots:
    void aWednesdayWeekStartFillsTheDayChoice() {
        auto form = start();
        form->weekStartEdit_->setDate(QDate(2021, 9, 1));
        QCOMPARE(store_->value("dtpDate"), QString("2021-09-01"));
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
        QCOMPARE(store_->value("TabSel"), QString("1"));
        QCOMPARE(form->rateChoice_->itemText(1), QString("Night shift"));
        auto next = start();
        QCOMPARE(next->listTabs_->currentIndex(), 1);
    }

    void editSelectedOnAnEmptyListOnlyEmptiesTheBoxes() {
        store_->setValue("Rates", "||");
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

    void closingSavesBothListsAndEndsTheProgram() {
        auto form = start();
        form->onSampleClicked();
        form->rateList_->topLevelItem(0)->setText(0, "Day^shift|A");
        form->close();
        QCOMPARE(endings_, 1);
        QVERIFY(store_->value("Rates").startsWith("Day\\^shift\\|A^|Overtime^|"));
        auto next = start();
        QCOMPARE(rowTexts(next->rateList_, 0), rowTexts(form->rateList_, 0));
        QCOMPARE(rowTexts(next->rateList_, 1), rowTexts(form->rateList_, 1));
        QCOMPARE(next->hoursList_->topLevelItemCount(), 34);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(rowTexts(next->hoursList_, c), rowTexts(form->hoursList_, c));
        QCOMPARE(next->record().rates.size(), 14u);
    }

    void anEmptyRateListIsSavedEmptyAndGivesDefaultsAgain() {
        store_->setValue("Rates", "|");
        auto form = start();
        form->saveLists();
        QCOMPARE(store_->value("Rates", "absent"), QString());
        QCOMPARE(store_->value("Hours", "absent"), QString());
        auto next = start();
        QCOMPARE(rowTexts(next->rateList_, 0), kDefaultRates);
    }
};

int main(int argc, char** argv) {
    return runTestProgram<EntryWindowListsTest>(argc, argv, ProgramLocale::UnitedStatesEnglish);
}

#include "entry_window_lists_qtest.moc"
#include "moc_entry_window_fixture.cpp"
