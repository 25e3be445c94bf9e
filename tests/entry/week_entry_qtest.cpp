// A week typed in quickly and safely: the rate boxes follow the current row,
// rates are checked, added and removed, entries updated and deleted several
// at once, the Week grid, New Week, undo and redo, the sample data asking
// first, durations and choices typed freely. Real widgets, offscreen.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "entry/entry_menu.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "entry/week_grid.h"
#include "tests/entry/entry_window_fixture.h"
#include "timesheet/generation_run.h"
#include "workbook/automation/engine_calls.h"

using namespace tallowby;
using namespace tallowby::testing;

namespace {

void addEntry(EntryWindow& form, int day, int rate, const QString& hours) {
    form.dayChoice_->setCurrentIndex(day);
    form.rateChoice_->setCurrentIndex(rate);
    form.hoursEdit_->setText(hours);
    form.onAddHoursClicked();
}

// Everything an undo step may touch, as one comparable list.
QStringList state(const EntryWindow& form) {
    QStringList s{form.weekStartEdit_->date().toString(Qt::ISODate), form.companyEdit_->text()};
    for (int i = 0; i < form.rateList_->topLevelItemCount(); ++i) s << row(form.rateList_, i);
    s << "|";
    for (int i = 0; i < form.hoursList_->topLevelItemCount(); ++i) s << row(form.hoursList_, i);
    return s;
}

QString gridText(const EntryWindow& form, int row, int column) {
    const QTableWidgetItem* item = form.weekGrid_->item(row, column);
    return item ? item->text() : QString("<none>");
}

}  // namespace

class WeekEntryTest : public EntryWindowTest {
    Q_OBJECT

    std::unique_ptr<EntryWindow> startOnMonday() {
        store_->setValue("dtpDate", "2021-08-30");
        return start();
    }

  private slots:
    void rateBoxesFollowTheCurrentRowFromTheKeyboard() {
        auto form = start();
        showAndActivate(*form);
        // At start-up the boxes already show the highlighted row.
        QCOMPARE(form->rateNameEdit_->text(), QString("Regular"));
        form->rateList_->setFocus();
        QTest::keyClick(form->rateList_, Qt::Key_Down);
        QCOMPARE(form->rateNameEdit_->text(), QString("Overtime"));
        QTest::keyClick(form->rateList_, Qt::Key_Down);
        QCOMPARE(form->rateNameEdit_->text(), QString("Illness"));
        form->rateAmountEdit_->setText("6.50");
        QTest::mouseClick(form->editRateButton_, Qt::LeftButton);
        QCOMPARE(row(form->rateList_, 1), (QStringList{"Overtime", ""}));
        QCOMPARE(row(form->rateList_, 2), (QStringList{"Illness", "6.50"}));
        QCOMPARE(form->rateNameEdit_->text(), QString("Illness"));
        QCOMPARE(form->rateAmountEdit_->text(), QString("6.50"));
        QVERIFY(prompter_->messages.empty());
        // An edit straight after start-up keeps the first row as it is.
        auto next = start();
        next->onEditRateClicked();
        QCOMPARE(row(next->rateList_, 0), (QStringList{"Regular", ""}));
    }

    void emptyDescriptionsAndRatesThatAreNoNumberAreRefused() {
        auto form = start();
        form->rateList_->setCurrentItem(form->rateList_->topLevelItem(1));
        form->rateNameEdit_->clear();
        form->onEditRateClicked();
        QCOMPARE(prompter_->texts(), QStringList{"Type a description for the rate."});
        for (const char* rate : {"abc", "=2*3", "12,50", "1/2/2021"}) {
            prompter_->messages.clear();
            form->rateNameEdit_->setText("Overtime shift");
            form->rateAmountEdit_->setText(rate);
            form->onEditRateClicked();
            QCOMPARE(prompter_->messages.size(), size_t(1));
            QCOMPARE(prompter_->messages[0].text,
                     QString("\"%1\" is no number. Type the rate as a number, such as 11.50, or "
                             "leave it empty.")
                         .arg(rate));
            form->onAddRateClicked();  // adding is refused alike
        }
        QCOMPARE(row(form->rateList_, 1), (QStringList{"Overtime", ""}));
        QCOMPARE(form->rateList_->topLevelItemCount(), 7);
        prompter_->messages.clear();
        for (const char* rate : {"12.50", "$13", ""}) {
            form->rateAmountEdit_->setText(rate);
            form->onEditRateClicked();
            QCOMPARE(row(form->rateList_, 1), (QStringList{"Overtime shift", rate}));
        }
        QVERIFY(prompter_->messages.empty());
        // Under a German locale the decimal comma is the number.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        form->rateAmountEdit_->setText("12,50");
        form->onEditRateClicked();
        form->rateAmountEdit_->setText("12.5.0");
        form->onEditRateClicked();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(row(form->rateList_, 1), (QStringList{"Overtime shift", "12,50"}));
        QCOMPARE(prompter_->texts(), QStringList{"\"12.5.0\" is no number. Type the rate as a "
                                                 "number, such as 11,50, or leave it empty."});
    }

    void ratesAddedAndRemovedKeepTheSheetsTotalsRight() {
        auto form = startOnMonday();
        const QStringList rates{"10", "15", "5"};
        for (int i = 0; i < rates.size(); ++i) {
            form->rateList_->setCurrentItem(form->rateList_->topLevelItem(i));
            form->rateAmountEdit_->setText(rates[i]);
            form->onEditRateClicked();
        }
        form->rateNameEdit_->setText("Night");
        form->rateAmountEdit_->setText("20");
        QTest::mouseClick(form->addRateButton_, Qt::LeftButton);
        QCOMPARE(form->rateList_->topLevelItemCount(), 8);
        QCOMPARE(form->rateList_->currentItem(), form->rateList_->topLevelItem(7));
        QCOMPARE(form->rateChoice_->itemText(7), QString("Night"));
        addEntry(*form, 0, 0, "8");
        addEntry(*form, 1, 1, "2");
        addEntry(*form, 2, 2, "4");
        addEntry(*form, 3, 7, "3");
        addEntry(*form, 4, 0, "1.5");
        addEntry(*form, 5, 1, "1");
        QVERIFY(prompter_->messages.empty());

        // Overtime, in the middle, is used twice: asked first; No keeps it.
        form->rateList_->setCurrentItem(form->rateList_->topLevelItem(1));
        prompter_->answers.push_back(Prompter::Answer::No);
        QTest::mouseClick(form->removeRateButton_, Qt::LeftButton);
        QCOMPARE(prompter_->texts(),
                 QStringList{"2 hours entries use the rate \"Overtime\". Remove the rate and those "
                             "entries?"});
        QCOMPARE(form->rateList_->topLevelItemCount(), 8);
        prompter_->answers.push_back(Prompter::Answer::Yes);
        QTest::mouseClick(form->removeRateButton_, Qt::LeftButton);
        QCOMPARE(
            rowTexts(form->rateList_, 0),
            (QStringList{"Regular", "Illness", "Vacation", "Holiday", "Unpaid", "Other", "Night"}));
        QCOMPARE(rowTexts(form->hoursList_, 1),
                 (QStringList{"Regular", "Illness", "Night", "Regular"}));
        QCOMPARE(rowTexts(form->hoursList_, 4), (QStringList{"0", "1", "6", "0"}));
        // A rate no entry uses goes without a question.
        form->rateList_->setCurrentItem(form->rateList_->topLevelItem(4));
        QTest::mouseClick(form->removeRateButton_, Qt::LeftButton);
        QCOMPARE(prompter_->messages.size(), size_t(2));
        QCOMPARE(form->rateList_->topLevelItemCount(), 6);

        // The generated sheet counts each remaining entry under its own rate.
        const TimesheetRecord record = form->record();
        double hours = 0, pay = 0;
        std::vector<double> hoursOf(record.rates.size());
        for (const HoursEntry& e : record.hours) {
            const double h = e.hours.left(2).toDouble() + e.hours.mid(3).toDouble() / 60;
            hoursOf[static_cast<size_t>(e.rateIndex.toInt())] += h;
            hours += h;
            pay += h * record.rates[static_cast<size_t>(e.rateIndex.toInt())].rate.toDouble();
        }
        QCOMPARE(hours, 16.5);
        PrivateTempFolder folder;
        const GenerationResult result = runGeneration(record, folder, {});
        QVERIFY(result.handedOver);
        QVERIFY(result.leftOut.empty());
        const engine::Workbook book = automation::readWorkbookFile(result.resultPath);
        const auto at = [&](int r, int c) {
            const engine::Cell* cell =
                book.sheets.at(0).find(static_cast<uint16_t>(r - 1), static_cast<uint16_t>(c - 1));
            return cell ? cell->value.number : -1.0;
        };
        QCOMPARE(at(23, 4) * 24, hours);  // D23, total hours
        QCOMPARE(at(24, 4), pay);         // D24, total pay
        for (size_t r = 0; r < record.rates.size(); ++r)
            QCOMPARE(at(19, static_cast<int>(r) + 2) * 24, hoursOf[r]);
        QCOMPARE(at(21, 7), 3 * 20.0);  // Night, now the sixth column, G
        // The grid says the same before any sheet is made.
        QCOMPARE(form->weekGrid_->totals().totalPay, pay);
        QCOMPARE(gridText(*form, 6, WeekGrid::kTotalColumn), QString("16:30"));
        QCOMPARE(gridText(*form, 6, WeekGrid::kPayColumn), QString("175.00"));
    }

    void gridEditsEqualListEdits() {
        auto form = startOnMonday();
        addEntry(*form, 2, 1, "7:30");
        const QStringList added = row(form->hoursList_, 0);
        QCOMPARE(gridText(*form, 1, 2), QString("07:30"));
        form->lists().undoStack().undo();
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        QCOMPARE(gridText(*form, 1, 2), QString());

        form->weekGrid_->item(1, 2)->setText("730");
        QCOMPARE(form->hoursList_->topLevelItemCount(), 1);
        QCOMPARE(row(form->hoursList_, 0), added);
        // Two entries in one cell are summed; a typed value replaces both.
        addEntry(*form, 0, 0, "2");
        addEntry(*form, 0, 0, "3:15");
        QCOMPARE(gridText(*form, 0, 0), QString("05:15"));
        QCOMPARE(gridText(*form, 7, 0), QString("05:15"));  // the day's total
        QCOMPARE(gridText(*form, 7, WeekGrid::kTotalColumn), QString("12:45"));
        form->weekGrid_->item(0, 0)->setText("6");
        QCOMPARE(rowTexts(form->hoursList_, 2), (QStringList{"07:30", "06:00"}));
        // 0 or an empty cell removes the day's hours of that type.
        form->weekGrid_->item(1, 2)->setText("0");
        QCOMPARE(rowTexts(form->hoursList_, 2), QStringList{"06:00"});
        form->weekGrid_->item(0, 0)->setText("");
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        // What is no duration is refused and the cell shows the list again.
        addEntry(*form, 4, 3, "1");
        form->weekGrid_->item(3, 4)->setText("lots");
        QCOMPARE(gridText(*form, 3, 4), QString("01:00"));
        QCOMPARE(prompter_->texts(),
                 QStringList{"Type the hours as 8, 8:30, 830 or 8.5 (up to 24 hours)."});
        // The columns are headed with the days' dates.
        QCOMPARE(form->weekGrid_->horizontalHeaderItem(0)->text(), QString("Mon\nAug 30"));
        QCOMPARE(form->weekGrid_->horizontalHeaderItem(6)->text(), QString("Sun\nSep 5"));
    }

    void newWeekStartsEmptyOrCopiesTheHours() {
        auto form = startOnMonday();
        form->companyEdit_->setText("Marrowick Joinery Ltd");
        addEntry(*form, 0, 0, "8");
        addEntry(*form, 4, 1, "2");
        const QStringList rates = rowTexts(form->rateList_, 0);
        prompter_->answers.push_back(Prompter::Answer::Yes);
        form->menu_->newWeekAction()->trigger();
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 9, 6));
        QCOMPARE(store_->value("dtpDate"), QString("2021-09-06"));
        QCOMPARE(rowTexts(form->hoursList_, 0),
                 (QStringList{"Monday, September 6, 2021", "Friday, September 10, 2021"}));
        QCOMPARE(rowTexts(form->hoursList_, 2), (QStringList{"08:00", "02:00"}));
        QCOMPARE(form->dayChoice_->itemText(0), QString("Monday, September 6, 2021"));
        prompter_->answers.push_back(Prompter::Answer::No);
        QTest::mouseClick(form->newWeekButton_, Qt::LeftButton);
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 9, 13));
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        QCOMPARE(rowTexts(form->rateList_, 0), rates);
        QCOMPARE(form->companyEdit_->text(), QString("Marrowick Joinery Ltd"));
        QCOMPARE(prompter_->messages.size(), size_t(2));
        // An empty week moves on without a question.
        form->onNewWeek();
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 9, 20));
        QCOMPARE(prompter_->messages.size(), size_t(2));
    }

    void entriesSelectedUpdatedAndDeletedSeveralAtOnce() {
        auto form = startOnMonday();
        form->listTabs_->setCurrentIndex(1);
        showAndActivate(*form);
        for (int d = 0; d < 4; ++d) {
            addEntry(*form, d, d, QString::number(d + 1));
            // The new entry is the selected one, in view.
            QCOMPARE(form->hoursList_->selectedItems(),
                     QList<QTreeWidgetItem*>{form->hoursList_->topLevelItem(d)});
            QVERIFY(form->hoursList_->viewport()->rect().intersects(
                form->hoursList_->visualItemRect(form->hoursList_->topLevelItem(d))));
        }
        // Selecting an entry brings it into the inputs; Update changes it.
        QTreeWidget* list = form->hoursList_;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(1)).center());
        QCOMPARE(form->dayChoice_->currentIndex(), 1);
        QCOMPARE(form->rateChoice_->currentText(), QString("Overtime"));
        QCOMPARE(form->hoursEdit_->text(), QString("02:00"));
        form->hoursEdit_->setText("930");
        form->rateChoice_->setCurrentIndex(6);
        QTest::mouseClick(form->updateHoursButton_, Qt::LeftButton);
        QCOMPARE(row(list, 1),
                 (QStringList{"Tuesday, August 31, 2021", "Other", "09:30", "1", "6"}));
        QCOMPARE(list->topLevelItemCount(), 4);

        // Ctrl+click adds to the selection; the Delete key removes them all.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(0)).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->topLevelItem(2)).center());
        QCOMPARE(list->selectedItems().size(), 2);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(rowTexts(list, 2), (QStringList{"09:30", "04:00"}));
        // Shift+click selects a range; "Delete Selected" removes it.
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list->topLevelItemCount(), 4);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(1)).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          list->visualItemRect(list->topLevelItem(3)).center());
        QTest::mouseClick(form->deleteHoursButton_, Qt::LeftButton);
        QCOMPARE(rowTexts(list, 2), QStringList{"01:00"});
        QVERIFY(prompter_->messages.empty());
    }

    void everyKindOfChangeIsUndoneAndRedone() {
        auto form = startOnMonday();
        std::vector<QStringList> states{state(*form)};
        const auto step = [&](const std::function<void()>& change) {
            change();
            QVERIFY(state(*form) != states.back());
            states.push_back(state(*form));
        };
        step([&] { addEntry(*form, 0, 0, "8"); });
        step([&] { addEntry(*form, 1, 1, "2"); });
        step([&] {
            form->hoursList_->setCurrentItem(form->hoursList_->topLevelItem(0));
            form->hoursEdit_->setText("7");
            form->onUpdateHoursClicked();
        });
        step([&] { form->onDeleteHoursClicked(); });
        step([&] { form->weekGrid_->item(2, 3)->setText("4:45"); });
        step([&] {
            form->rateNameEdit_->setText("Night");
            form->rateAmountEdit_->setText("20");
            form->onAddRateClicked();
        });
        step([&] {
            form->rateList_->setCurrentItem(form->rateList_->topLevelItem(0));
            form->rateAmountEdit_->setText("11");
            form->onEditRateClicked();
        });
        step([&] {
            prompter_->answers.push_back(Prompter::Answer::Yes);
            form->rateList_->setCurrentItem(form->rateList_->topLevelItem(1));
            form->onRemoveRateClicked();
        });
        step([&] {
            prompter_->answers.push_back(Prompter::Answer::Yes);
            form->onNewWeek();
        });
        step([&] {
            prompter_->answers.push_back(Prompter::Answer::Yes);
            form->onSampleClicked();
        });
        QAction* undo = form->menu_->undoAction();
        QAction* redo = form->menu_->redoAction();
        QCOMPARE(undo->shortcut(), QKeySequence("Ctrl+Z"));
        QCOMPARE(redo->shortcut(), QKeySequence("Ctrl+Shift+Z"));
        for (size_t i = states.size() - 1; i > 0; --i) {
            QVERIFY(undo->isEnabled());
            undo->trigger();
            QCOMPARE(state(*form), states[i - 1]);
        }
        QVERIFY(!undo->isEnabled());
        QCOMPARE(store_->value("txtName"), QString());  // the sample's fields went too
        for (size_t i = 1; i < states.size(); ++i) {
            redo->trigger();
            QCOMPARE(state(*form), states[i]);
        }
        QVERIFY(!redo->isEnabled());
        QCOMPARE(store_->value("txtName"), QString("ACME Inc"));
    }

    void sampleDataAsksWhenTheWindowHoldsSomethingTyped() {
        auto form = start();
        form->onSampleClicked();  // a fresh start: nothing to lose
        QVERIFY(prompter_->messages.empty());
        QCOMPARE(form->hoursList_->topLevelItemCount(), 34);
        form->menu_->undoAction()->trigger();
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        QCOMPARE(rowTexts(form->rateList_, 0), kDefaultRates);
        QCOMPARE(form->companyEdit_->text(), QString());

        form->employeeEdit_->setText("Ada Pennington");
        form->onSampleClicked();  // unanswered: No
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].buttons, Prompter::Buttons::YesNo);
        QCOMPARE(form->employeeEdit_->text(), QString("Ada Pennington"));
        QCOMPARE(form->hoursList_->topLevelItemCount(), 0);
        prompter_->answers.push_back(Prompter::Answer::Yes);
        form->onSampleClicked();
        QCOMPARE(form->employeeEdit_->text(), QString("Arlen Tovey Jr."));
        QCOMPARE(form->hoursList_->topLevelItemCount(), 34);
        form->menu_->undoAction()->trigger();
        QCOMPARE(form->employeeEdit_->text(), QString("Ada Pennington"));
        QCOMPARE(store_->value("txtEmp"), QString("Ada Pennington"));

        // A rate typed into the defaults counts as typed too.
        auto other = start();
        other->lists().editRate(3, {"Vacation", "5"});
        other->onSampleClicked();
        QCOMPARE(prompter_->messages.size(), size_t(3));
        QCOMPARE(other->hoursList_->topLevelItemCount(), 0);
    }

    void hoursAndChoicesAreTypedFreely() {
        auto form = startOnMonday();
        form->listTabs_->setCurrentIndex(1);
        showAndActivate(*form);
        const auto type = [&](QWidget* w, const QString& text) {
            w->setFocus();
            QTest::keyClicks(w, text);
        };
        type(form->dayChoice_->lineEdit(), "Wed");
        type(form->rateChoice_->lineEdit(), "over");
        // The cursor in the middle of the shown "00:00": the typing still counts.
        form->hoursEdit_->setFocus();
        form->hoursEdit_->setCursorPosition(2);
        form->hoursEdit_->deselect();
        form->hoursEdit_->clear();
        QTest::keyClicks(form->hoursEdit_, "0800");
        QTest::mouseClick(form->addHoursButton_, Qt::LeftButton);
        QCOMPARE(row(form->hoursList_, 0),
                 (QStringList{"Wednesday, September 1, 2021", "Overtime", "08:00", "2", "1"}));
        const QStringList typed{"8:30", "830", "8.5", " 8 "};
        const QStringList stored{"08:30", "08:30", "08:30", "08:00"};
        for (int i = 0; i < typed.size(); ++i) {
            addEntry(*form, 0, 0, typed[i]);
            QCOMPARE(form->hoursList_->topLevelItem(i + 1)->text(2), stored[i]);
        }
        addEntry(*form, 0, 0, "8,5");  // no decimal comma in English
        addEntry(*form, 0, 0, "25");
        QCOMPARE(form->hoursList_->topLevelItemCount(), 5);
        QCOMPARE(prompter_->messages.size(), size_t(2));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        addEntry(*form, 0, 0, "8,5");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(form->hoursList_->topLevelItem(5)->text(2), QString("08:30"));
        // Leaving the box shows what was read.
        form->hoursEdit_->setFocus();
        form->hoursEdit_->setText("745");
        form->rateChoice_->setFocus();
        QCOMPARE(form->hoursEdit_->text(), QString("07:45"));
    }

    void menuBarWithMnemonicsAndKeys() {
        auto form = startOnMonday();
        showAndActivate(*form);
        QStringList titles;
        for (QAction* a : form->menu_->menuBar()->actions()) titles << a->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Help"}));
        QStringList file;
        for (QAction* a : form->menu_->fileMenu()->actions())
            if (!a->isSeparator()) file << a->text();
        QCOMPARE(file, (QStringList{"&New Week\u2026", "&Open Timesheet\u2026", "Open &Recent",
                                    "Save Timesheet &As\u2026", "&Import Hours from CSV\u2026",
                                    "&Quit"}));
        // The timesheet file dialogs have their keys (both cancelled here).
        QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(prompter_->openFolders.size(), 1);
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(prompter_->saveRequests.size(), std::size_t(1));
        QCOMPARE(form->menu_->deleteAction()->text(), QString("&Delete"));
        QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 9, 6));
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 8, 30));
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 9, 6));
        form->menu_->helpAction()->trigger();
        QVERIFY(prompter_->texts().value(0).startsWith("Questions? Please contact"));
        form->menu_->quitAction()->trigger();
        QCOMPARE(endings_, 1);
    }
};

int main(int argc, char** argv) {
    return runTestProgram<WeekEntryTest>(argc, argv, ProgramLocale::UnitedStatesEnglish);
}

#include "moc_entry_window_fixture.cpp"
#include "week_entry_qtest.moc"
