// The list views, the choices and the week grid follow the timesheet lists.
#include <QComboBox>
#include <QDateEdit>
#include <QScopedValueRollback>
#include <QTreeWidget>

#include "entry/duration_edit.h"
#include "entry/entry_window.h"
#include "entry/list_fit.h"
#include "entry/select_all_line_edit.h"
#include "entry/week_grid.h"
#include "timesheet/duration_text.h"
#include "timesheet/week_totals.h"

namespace tallowby {

namespace {

void setIfDifferent(SelectAllLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

}  // namespace

void EntryWindow::onListsChanged(TimesheetLists::Parts parts) {
    const TimesheetRecord& r = lists_.record();
    if (parts & TimesheetLists::GeneralFields) {
        setIfDifferent(companyEdit_, r.company);
        setIfDifferent(addressEdit_, r.address);
        setIfDifferent(cityEdit_, r.city);
        setIfDifferent(phoneEdit_, r.phone);
        setIfDifferent(employeeEdit_, r.employee);
        setIfDifferent(supervisorEdit_, r.supervisor);
    }
    if ((parts & TimesheetLists::WeekStart) && weekStartEdit_->date() != r.weekStart)
        weekStartEdit_->setDate(r.weekStart);
    if (parts & TimesheetLists::Lists) {
        showLists();
        // Every change of the lists reaches the store at once.
        listsChanged();
    }
    weekGrid_->refresh();
}

// Rows are put back as the lists hold them; the current rate row and the
// selected entries stay where they were, as far as the lists still reach.
void EntryWindow::showLists() {
    const int currentRate = rateList_->indexOfTopLevelItem(rateList_->currentItem());
    const QList<int> selectedHours = selectedHoursRows();
    const int currentHours = hoursList_->indexOfTopLevelItem(hoursList_->currentItem());
    {
        const QSignalBlocker quietRates(rateList_);
        const QSignalBlocker quietHours(hoursList_);
        const list_fit::HeldFitting fitRates(rateList_);
        const list_fit::HeldFitting fitHours(hoursList_);
        rateList_->clear();
        QList<QTreeWidgetItem*> rateRows;
        for (const RateEntry& rate : lists_.rates())
            rateRows << new QTreeWidgetItem(QStringList{rate.description, rate.rate});
        rateList_->addTopLevelItems(rateRows);
        hoursList_->clear();
        QList<QTreeWidgetItem*> hoursRows;
        for (const HoursEntry& e : lists_.hours())
            hoursRows << new QTreeWidgetItem(
                QStringList{e.day, e.rateType, e.hours, e.dayIndex, e.rateIndex});
        hoursList_->addTopLevelItems(hoursRows);

        const int rates = rateList_->topLevelItemCount();
        if (rates > 0)
            rateList_->setCurrentItem(
                rateList_->topLevelItem(std::clamp(currentRate, 0, rates - 1)));
        const int entries = hoursList_->topLevelItemCount();
        if (entries > 0) {
            hoursList_->setCurrentItem(
                hoursList_->topLevelItem(std::clamp(currentHours, 0, entries - 1)), 0,
                QItemSelectionModel::NoUpdate);
            for (int row : selectedHours)
                if (row < entries) hoursList_->topLevelItem(row)->setSelected(true);
        }
    }
    showCurrentRate();
    // The Type choice follows added, removed and renamed rates.
    QStringList descriptions;
    for (const RateEntry& rate : lists_.rates()) descriptions << rate.description;
    QStringList shown;
    for (int i = 0; i < rateChoice_->count(); ++i) shown << rateChoice_->itemText(i);
    if (shown != descriptions) {
        const QString typed = rateChoice_->currentText();
        fillRateChoice();
        rateChoice_->setEditText(typed);
    }
}

void EntryWindow::showCurrentRate() {
    const QTreeWidgetItem* current = rateList_->currentItem();
    if (!current) {
        rateNameEdit_->clear();
        rateAmountEdit_->clear();
        return;
    }
    rateNameEdit_->setText(current->text(0));
    rateAmountEdit_->setText(current->text(1));
}

QList<int> EntryWindow::selectedHoursRows() const {
    QList<int> rows;
    for (QTreeWidgetItem* item : hoursList_->selectedItems())
        rows << hoursList_->indexOfTopLevelItem(item);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void EntryWindow::selectHoursRow(int row) {
    QTreeWidgetItem* item = hoursList_->topLevelItem(row);
    if (!item) return;
    hoursList_->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
    hoursList_->scrollToItem(item);
}

// One selected entry comes into the inputs, ready for "Update Selected".
void EntryWindow::onHoursSelectionChanged() {
    const QList<int> rows = selectedHoursRows();
    // Rows being restored at start-up are not in the lists yet.
    if (rows.size() != 1 || static_cast<size_t>(rows.front()) >= lists_.hours().size()) return;
    const HoursEntry& e = lists_.hours()[static_cast<size_t>(rows.front())];
    const int day = week_totals::indexOf(e.dayIndex);
    if (day >= 0 && day < dayChoice_->count()) {
        dayChoice_->setCurrentIndex(day);
    } else {
        dayChoice_->setCurrentIndex(-1);
        dayChoice_->setEditText(e.day);
    }
    const int rate = week_totals::indexOf(e.rateIndex);
    if (rate >= 0 && rate < rateChoice_->count()) {
        rateChoice_->setCurrentIndex(rate);
    } else {
        rateChoice_->setCurrentIndex(-1);
        rateChoice_->setEditText(e.rateType);
    }
    if (const std::optional<int> minutes = duration_text::fromStored(e.hours))
        hoursEdit_->setMinutes(*minutes);
    else
        hoursEdit_->setText(e.hours);
}

}  // namespace tallowby
