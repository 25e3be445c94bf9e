// The buttons of the main window and the rows they change.
#include <QComboBox>
#include <QDateEdit>
#include <QLocale>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeWidget>

#include "app/application_title.h"
#include "app/build_config.h"
#include "app/failure.h"
#include "app/guarded.h"
#include "app/report_locations.h"
#include "entry/duration_edit.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "timesheet/duration_text.h"
#include "timesheet/sample_data.h"
#include "ui/error_report_box.h"
#include "ui/prompter.h"
#include "workbook/automation/typed_number_text.h"

namespace tallowby {

namespace {

// The picked item's position; text typed into the edit part counts when it
// is one of the items or the beginning of one item alone. -1 for anything else.
int chosenIndex(const QComboBox* combo) {
    const int index = combo->currentIndex();
    const QString typed = combo->currentText();
    if (index >= 0 && combo->itemText(index) == typed) return index;
    if (typed.isEmpty()) return -1;
    const int exact = combo->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (exact >= 0) return exact;
    // A typed beginning that fits one item alone: "Wed", "over".
    int found = -1;
    for (int i = 0; i < combo->count(); ++i) {
        if (!combo->itemText(i).startsWith(typed, Qt::CaseInsensitive)) continue;
        if (found >= 0) return -1;
        found = i;
    }
    return found;
}

// What the user still has to choose before an hours entry can be added, or
// nothing when the entry has both a day and a type.
QString missingChoice(bool hasDay, bool hasType) {
    if (!hasDay && !hasType) return QStringLiteral("Choose a day and a type for the hours.");
    if (!hasDay) return QStringLiteral("Choose a day for the hours.");
    if (!hasType) return QStringLiteral("Choose a type for the hours.");
    return {};
}

void clearChoice(QComboBox* combo) {
    combo->setCurrentIndex(-1);
    combo->clearEditText();
}

}  // namespace

void EntryWindow::onHelpClicked() {
    Guarded g(report_locations::kEntryWindow, report_locations::kHelpClicked,
              error_report_box::shownOver(this));
    g.run(100, [&] {
        prompter().message(this, applicationTitle(),
                           QStringLiteral("Questions? Please contact Team Marrowick at ") +
                               QString::fromUtf8(build::kContactPage),
                           Prompter::Icon::None, Prompter::Buttons::Ok);
    });
}

void EntryWindow::onRateClicked(QTreeWidgetItem*) {
    // The row the click has just made current, not the event's argument.
    showCurrentRate();
}

namespace {

// What a rate must be: a number as the user's locale writes it, or nothing.
QString rateExpected() {
    const QLocale locale;
    return QStringLiteral("Type the rate as a number, such as %1, or leave it empty.")
        .arg(locale.toString(11.5, 'f', 2));
}

}  // namespace

// A rate that is no number would make the sheet's pay an error.
bool EntryWindow::rateAcceptable(const QString& description, const QString& rate) {
    QString problem;
    if (description.trimmed().isEmpty())
        problem = QStringLiteral("Type a description for the rate.");
    else if (!rate.trimmed().isEmpty() && !automation::TypedNumberReader(QLocale())(rate))
        problem = QStringLiteral("\"%1\" is no number. ").arg(rate) + rateExpected();
    if (problem.isEmpty()) return true;
    prompter().message(this, applicationTitle(), problem, Prompter::Icon::Warning,
                       Prompter::Buttons::Ok);
    return false;
}

void EntryWindow::onEditRateClicked() {
    Guarded g(report_locations::kEntryWindow, report_locations::kEditRateClicked,
              error_report_box::shownOver(this));
    if (g.test(100, [&] { return rateList_->topLevelItemCount() > 0; })) {
        // With rows but none current there is nothing to write into.
        const int row = rateList_->indexOfTopLevelItem(rateList_->currentItem());
        if (row >= 0) {
            if (!rateAcceptable(rateNameEdit_->text(), rateAmountEdit_->text())) return;
            // The hours entries of this rate show its new description.
            g.run(102, [&] {
                lists_.editRate(row, {rateNameEdit_->text(), rateAmountEdit_->text()});
            });
        }
    }
    // The boxes show the row as it now is (or nothing, without rows).
    g.run(106, [&] { showCurrentRate(); });
}

void EntryWindow::onAddRateClicked() {
    if (!rateAcceptable(rateNameEdit_->text(), rateAmountEdit_->text())) return;
    lists_.addRate({rateNameEdit_->text(), rateAmountEdit_->text()});
    rateList_->setCurrentItem(rateList_->topLevelItem(rateList_->topLevelItemCount() - 1));
    rateList_->scrollToItem(rateList_->currentItem());
}

void EntryWindow::onRemoveRateClicked() {
    const int row = rateList_->indexOfTopLevelItem(rateList_->currentItem());
    if (row < 0) return;
    const int used = lists_.entriesOfRate(row);
    if (used > 0) {
        const QString text =
            QStringLiteral("%1 hours %2 the rate \"%3\". Remove the rate and %4?")
                .arg(used)
                .arg(used == 1 ? QStringLiteral("entry uses") : QStringLiteral("entries use"))
                .arg(lists_.rates().at(static_cast<size_t>(row)).description)
                .arg(used == 1 ? QStringLiteral("that entry") : QStringLiteral("those entries"));
        if (prompter().message(this, applicationTitle(), text, Prompter::Icon::Warning,
                               Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
            return;
    }
    lists_.removeRate(row);
}

std::optional<HoursEntry> EntryWindow::entryFromInputs() {
    // An entry without a day or a type would have no place on the sheet.
    QString problem = missingChoice(chosenIndex(dayChoice_) >= 0, chosenIndex(rateChoice_) >= 0);
    const std::optional<int> minutes = hoursEdit_->minutes();
    if (problem.isEmpty() && !minutes)
        problem = QStringLiteral("Type the hours as 8, 8:30, 830 or %1 (up to 24 hours).")
                      .arg(QLocale().toString(8.5, 'f', 1));
    if (!problem.isEmpty()) {
        prompter().message(this, applicationTitle(), problem, Prompter::Icon::Warning,
                           Prompter::Buttons::Ok);
        return std::nullopt;
    }
    HoursEntry e;
    e.day = dayChoice_->itemText(chosenIndex(dayChoice_));
    e.rateType = rateChoice_->itemText(chosenIndex(rateChoice_));
    e.hours = duration_text::format(*minutes);
    e.dayIndex = QString::number(chosenIndex(dayChoice_));
    e.rateIndex = QString::number(chosenIndex(rateChoice_));
    return e;
}

void EntryWindow::onAddHoursClicked() {
    Guarded g(report_locations::kEntryWindow, report_locations::kAddHoursClicked,
              error_report_box::shownOver(this));
    std::optional<HoursEntry> entry;
    g.run(99, [&] { entry = entryFromInputs(); });
    if (!entry) return;
    g.run(100, [&] { lists_.addHours({*entry}); });
    // The new entry shows, selected, before the inputs are reset for the next.
    g.run(108, [&] { selectHoursRow(hoursList_->topLevelItemCount() - 1); });
    g.run(110, [&] { clearChoice(dayChoice_); });
    g.run(112, [&] { clearChoice(rateChoice_); });
    g.run(114, [&] { hoursEdit_->setMinutes(0); });
}

void EntryWindow::onUpdateHoursClicked() {
    const QList<int> rows = selectedHoursRows();
    if (rows.size() != 1) {
        prompter().message(this, applicationTitle(),
                           QStringLiteral("Select the one entry to update."),
                           Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return;
    }
    const std::optional<HoursEntry> entry = entryFromInputs();
    if (!entry) return;
    lists_.updateHours(rows.front(), *entry);
    selectHoursRow(rows.front());
}

void EntryWindow::onDeleteHoursClicked() {
    Guarded g(report_locations::kEntryWindow, report_locations::kDeleteHoursClicked,
              error_report_box::shownOver(this));
    if (g.test(100, [&] { return hoursList_->topLevelItemCount() > 0; })) {
        g.run(102, [&] {
            QList<int> rows = selectedHoursRows();
            // Nothing selected: the current entry, if there is one.
            if (rows.isEmpty() && hoursList_->currentItem())
                rows << hoursList_->indexOfTopLevelItem(hoursList_->currentItem());
            const int first = rows.isEmpty() ? -1 : rows.front();
            lists_.deleteHours(rows);
            if (first >= 0 && hoursList_->topLevelItemCount() > 0)
                selectHoursRow(std::min(first, hoursList_->topLevelItemCount() - 1));
        });
    }
}

void EntryWindow::onNewWeek() {
    QString text =
        QStringLiteral(
            "Start the week of %1.\n\nCopy this week's hours to the same weekdays? "
            "\"No\" starts the new week empty.")
            .arg(QLocale().toString(lists_.record().weekStart.addDays(7), QLocale::LongFormat));
    bool copy = false;
    if (!lists_.hours().empty())
        copy = prompter().message(this, applicationTitle(), text, Prompter::Icon::None,
                                  Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
    lists_.newWeek(copy);
}

bool EntryWindow::holdsTypedData() const {
    for (const SelectAllLineEdit* edit :
         {companyEdit_, addressEdit_, cityEdit_, phoneEdit_, employeeEdit_, supervisorEdit_})
        if (!edit->text().isEmpty()) return true;
    if (!lists_.hours().empty()) return true;
    const std::vector<RateEntry>& rates = lists_.rates();
    if (rates.size() != std::size(kDefaultRateDescriptions)) return true;
    for (size_t i = 0; i < rates.size(); ++i)
        if (rates[i].description != QLatin1String(kDefaultRateDescriptions[i]) ||
            !rates[i].rate.isEmpty())
            return true;
    return false;
}

void EntryWindow::onStartClicked() {
    // One run at a time: a click queued while a run shows a message, or one
    // reaching the window the run has just hidden, starts nothing.
    if (!generationRunner_ || running_) return;
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)) return;
    const QScopedValueRollback running(running_, true);
    struct WorkButtonsHeld {
        QList<QPushButton*> buttons;
        explicit WorkButtonsHeld(QList<QPushButton*> held) : buttons(std::move(held)) {
            for (QPushButton* b : buttons) b->setEnabled(false);
        }
        ~WorkButtonsHeld() {
            for (QPushButton* b : buttons) b->setEnabled(true);
        }
    } held({startButton_, sampleButton_});
    generationRunner_();
}

void EntryWindow::onSampleClicked() {
    namespace sd = sample_data;
    if (holdsTypedData() &&
        prompter().message(this, applicationTitle(),
                           QStringLiteral("Load the example data? It replaces the company and "
                                          "employee details and the week start, and adds its "
                                          "rates and hours to the lists. Undo takes it back."),
                           Prompter::Icon::Warning,
                           Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    Guarded g(report_locations::kEntryWindow, report_locations::kSampleClicked,
              error_report_box::shownOver(this));
    // The whole fill is one step to undo: what the window held before it.
    const TimesheetRecord before = lists_.record();
    g.run(100, [&] { companyEdit_->setText(QString::fromUtf8(sd::kCompany)); });
    g.run(102, [&] { addressEdit_->setText(QString::fromUtf8(sd::kAddress)); });
    g.run(104, [&] { cityEdit_->setText(QString::fromUtf8(sd::kCity)); });
    g.run(106, [&] { phoneEdit_->setText(QString::fromUtf8(sd::kPhone)); });
    g.run(108, [&] { weekStartEdit_->setDate(options_.today().addDays(-sd::kWeekStartDaysAgo)); });
    g.run(110, [&] { employeeEdit_->setText(QString::fromUtf8(sd::kEmployee)); });
    g.run(112, [&] { supervisorEdit_->setText(QString::fromUtf8(sd::kSupervisor)); });
    TimesheetRecord after = lists_.record();
    int line = 114;
    for (const sd::SampleRate& rate : sd::kRates) {
        g.run(line, [&] {
            after.rates.push_back(
                {QString::fromUtf8(rate.description), QString::fromUtf8(rate.rate)});
        });
        line += 4;
    }
    g.run(142, [&] { fillDayChoice(); });
    g.run(144, [&] { fillRateChoiceFrom(after.rates); });

    // A failing loop header resumes with the body, so the body runs once.
    const int days = g.value(
        146, [&] { return dayChoice_->count(); }, 1);
    for (int d = 0; d < days; ++d) {
        g.run(148, [&] { dayChoice_->setCurrentIndex(d); });
        const int types = g.value(
            150, [&] { return rateChoice_->count(); }, 1);
        for (int t = 0; t < types; ++t) {
            if (!g.test(152, [&] { return sd::wantsEntry(d, t); })) continue;
            g.run(154, [&] { rateChoice_->setCurrentIndex(t); });
            g.run(156, [&] { hoursEdit_->setText(QString::fromLatin1(sd::kHours)); });
            HoursEntry entry;
            g.run(158, [&] { entry.day = dayChoice_->currentText(); });
            g.run(160, [&] { entry.rateType = rateChoice_->currentText(); });
            g.run(162, [&] { entry.hours = duration_text::format(hoursEdit_->minutes().value()); });
            g.run(164, [&] { entry.dayIndex = QString::number(d); });
            g.run(166, [&] {
                entry.rateIndex = QString::number(t);
                after.hours.push_back(entry);
            });
        }
    }
    lists_.replaceAll(before, after, QStringLiteral("Load Sample Data"));
}

}  // namespace tallowby
