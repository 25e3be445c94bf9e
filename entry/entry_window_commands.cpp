// The buttons of the main window and the rows they change.
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimeEdit>
#include <QTreeWidget>

#include "app/build_config.h"
#include "app/failure.h"
#include "app/guarded.h"
#include "app/program.h"
#include "app/report_locations.h"
#include "entry/entry_labels.h"
#include "entry/entry_window.h"
#include "entry/list_rows.h"
#include "entry/select_all_line_edit.h"
#include "timesheet/sample_data.h"
#include "ui/error_report_box.h"
#include "ui/prompter.h"

namespace tallowby {

namespace {

// The picked item's position; text typed into the edit part counts when it
// is exactly one of the items. -1 for anything else.
int chosenIndex(const QComboBox* combo) {
    const int index = combo->currentIndex();
    if (index >= 0 && combo->itemText(index) == combo->currentText()) return index;
    if (combo->currentText().isEmpty()) return -1;
    return combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// What the user still has to choose before an hours entry can be added, or
// nothing when the entry has both a day and a type.
QString missingChoice(bool hasDay, bool hasType) {
    if (!hasDay && !hasType) return QStringLiteral("Choose a day and a type for the hours.");
    if (!hasDay) return QStringLiteral("Choose a day for the hours.");
    if (!hasType) return QStringLiteral("Choose a type for the hours.");
    return {};
}

QTreeWidgetItem* requireRow(QTreeWidgetItem* item) {
    if (!item) throw Failure("Object variable not set");
    return item;
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
        prompter().message(this, program::appTitle(),
                           QStringLiteral("Questions? Please contact Team Marrowick at ") +
                               QString::fromUtf8(build::kContactPage),
                           Prompter::Icon::None, Prompter::Buttons::Ok);
    });
}

void EntryWindow::onRateClicked(QTreeWidgetItem*) {
    // The row the click has just made current, not the event's argument.
    if (rateList_->topLevelItemCount() == 0) return;
    const QTreeWidgetItem* current = rateList_->currentItem();
    if (!current) return;
    rateNameEdit_->setText(current->text(0));
    rateAmountEdit_->setText(current->text(1));
}

void EntryWindow::onEditRateClicked() {
    Guarded g(report_locations::kEntryWindow, report_locations::kEditRateClicked,
              error_report_box::shownOver(this));
    if (g.test(100, [&] { return rateList_->topLevelItemCount() > 0; })) {
        // With rows but none current there is nothing to write into.
        QTreeWidgetItem* current = rateList_->currentItem();
        if (current) {
            g.run(102, [&] { current->setText(0, rateNameEdit_->text()); });
            g.run(104, [&] { current->setText(1, rateAmountEdit_->text()); });
            // The hours entries of this rate show its new description.
            g.run(105, [&] {
                entry_labels::relabel(hoursList_, 1, 4, rateList_->indexOfTopLevelItem(current),
                                      current->text(0));
            });
        }
    }
    g.run(106, [&] { rateNameEdit_->clear(); });
    g.run(108, [&] { rateAmountEdit_->clear(); });
    listsChanged();
}

void EntryWindow::onAddHoursClicked() {
    Guarded g(report_locations::kEntryWindow, report_locations::kAddHoursClicked,
              error_report_box::shownOver(this));
    // An entry without a day or a type would have no place on the sheet.
    bool refused = false;
    g.run(99, [&] {
        const QString missing =
            missingChoice(chosenIndex(dayChoice_) >= 0, chosenIndex(rateChoice_) >= 0);
        if (missing.isEmpty()) return;
        refused = true;
        prompter().message(this, program::appTitle(), missing, Prompter::Icon::Warning,
                           Prompter::Buttons::Ok);
    });
    if (refused) return;
    QTreeWidgetItem* item = nullptr;
    g.run(100,
          [&] { item = new QTreeWidgetItem(hoursList_, QStringList{dayChoice_->currentText()}); });
    g.run(102, [&] { requireRow(item)->setText(1, rateChoice_->currentText()); });
    g.run(104, [&] {
        requireRow(item)->setText(2, hoursEdit_->time().toString(QStringLiteral("hh:mm")));
    });
    g.run(106, [&] { requireRow(item)->setText(3, QString::number(chosenIndex(dayChoice_))); });
    g.run(108, [&] { requireRow(item)->setText(4, QString::number(chosenIndex(rateChoice_))); });
    g.run(110, [&] { clearChoice(dayChoice_); });
    g.run(112, [&] { clearChoice(rateChoice_); });
    g.run(114, [&] { hoursEdit_->setTime(QTime(0, 0)); });
    list_rows::ensureCurrentRow(hoursList_);
    listsChanged();
}

void EntryWindow::onDeleteHoursClicked() {
    Guarded g(report_locations::kEntryWindow, report_locations::kDeleteHoursClicked,
              error_report_box::shownOver(this));
    if (g.test(100, [&] { return hoursList_->topLevelItemCount() > 0; })) {
        g.run(102, [&] {
            QTreeWidgetItem* current = hoursList_->currentItem();
            if (!current) return;  // entries but none current: nothing to remove
            delete hoursList_->takeTopLevelItem(hoursList_->indexOfTopLevelItem(current));
        });
    }
    list_rows::ensureCurrentRow(hoursList_);
    listsChanged();
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
    Guarded g(report_locations::kEntryWindow, report_locations::kSampleClicked,
              error_report_box::shownOver(this));
    g.run(100, [&] { companyEdit_->setText(QString::fromUtf8(sd::kCompany)); });
    g.run(102, [&] { addressEdit_->setText(QString::fromUtf8(sd::kAddress)); });
    g.run(104, [&] { cityEdit_->setText(QString::fromUtf8(sd::kCity)); });
    g.run(106, [&] { phoneEdit_->setText(QString::fromUtf8(sd::kPhone)); });
    g.run(108, [&] { weekStartEdit_->setDate(options_.today().addDays(-sd::kWeekStartDaysAgo)); });
    g.run(110, [&] { employeeEdit_->setText(QString::fromUtf8(sd::kEmployee)); });
    g.run(112, [&] { supervisorEdit_->setText(QString::fromUtf8(sd::kSupervisor)); });
    int line = 114;
    for (const sd::SampleRate& rate : sd::kRates) {
        QTreeWidgetItem* item = nullptr;
        g.run(line, [&] {
            item = new QTreeWidgetItem(rateList_, QStringList{QString::fromUtf8(rate.description)});
        });
        g.run(line + 2, [&] { requireRow(item)->setText(1, QString::fromUtf8(rate.rate)); });
        line += 4;
    }
    list_rows::ensureCurrentRow(rateList_);
    g.run(142, [&] { fillDayChoice(); });
    g.run(144, [&] { fillRateChoice(); });

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
            g.run(156, [&] {
                hoursEdit_->setTime(
                    QTime::fromString(QString::fromLatin1(sd::kHours), QStringLiteral("hh:mm")));
            });
            QTreeWidgetItem* item = nullptr;
            g.run(158, [&] {
                item = new QTreeWidgetItem(hoursList_, QStringList{dayChoice_->currentText()});
            });
            g.run(160, [&] { requireRow(item)->setText(1, rateChoice_->currentText()); });
            g.run(162, [&] {
                requireRow(item)->setText(2, hoursEdit_->time().toString(QStringLiteral("hh:mm")));
            });
            g.run(164, [&] { requireRow(item)->setText(3, QString::number(d)); });
            g.run(166, [&] { requireRow(item)->setText(4, QString::number(t)); });
        }
    }
    list_rows::ensureCurrentRow(hoursList_);
    listsChanged();
}

}  // namespace tallowby
