// Start-up and shutdown of the main window.
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/application_title.h"
#include "app/failure.h"
#include "app/guarded.h"
#include "app/plain_file.h"
#include "app/report_locations.h"
#include "entry/entry_window.h"
#include "entry/list_fit.h"
#include "entry/list_rows.h"
#include "entry/select_all_line_edit.h"
#include "timesheet/settings_keys.h"
#include "timesheet/week_start_date.h"
#include "ui/cursor_file.h"
#include "ui/desktop.h"
#include "ui/error_report_box.h"
#include "ui/hover_cursor_path.h"
#include "ui/prompter.h"

namespace tallowby {

void EntryWindow::load() {
    Guarded g(report_locations::kEntryWindow, report_locations::kEntryLoad,
              error_report_box::shownOver(this));
    TimesheetStore store = timesheet();
    // Restoring a value must not write it back: a start changes nothing on disk.
    const QScopedValueRollback restoring(restoring_, true);

    g.run(104, [&] { setWindowTitle(QStringLiteral("Tallowby")); });
    g.run(104, [&] { setWindowIcon(QIcon(QStringLiteral(":/tallowby.png"))); });
    g.run(104, [&] { setApplicationTitle(); });
    const QString cursorPath = hoverCursorPath(options_.programFolder);
    if (g.test(106, [&] { return fileExists(cursorPath); }))
        g.run(108, [&] { customPointer_ = cursor_file::load(cursorPath); });
    g.run(110, [&] {
        desktop::HomePageHooks homePage = options_.homePage;
        homePage.turnedOff = homePage.turnedOff ||
                             desktop::homePageTurnedOff(store.field(settings_keys::kNoHomePage));
        desktop::maybeOpenHomePage(homePage);
    });

    const auto restore = [&](int line, SelectAllLineEdit* edit, const char* key) {
        g.run(line, [&] { edit->setText(store.field(key)); });
    };
    restore(128, companyEdit_, settings_keys::kCompany);
    restore(130, addressEdit_, settings_keys::kAddress);
    restore(132, cityEdit_, settings_keys::kCity);
    restore(134, phoneEdit_, settings_keys::kPhone);
    TimesheetStore::WeekStart week;
    const bool dateValid = g.test(136, [&] {
        week = store.weekStart(options_.today());
        return week.date.has_value();
    });
    // Text that is no date is the user's: say so once and leave it stored.
    const bool keepStoredDate = week.unreadable;
    if (keepStoredDate) desktop::warnUser(week_start_date::unreadableNotice(week.storedText), this);
    if (dateValid) {
        g.run(138, [&] {
            if (!week.date) throw Failure("Type mismatch");
            weekStartEdit_->setDate(*week.date);
        });
    } else {
        g.run(140, [&] {
            const QScopedValueRollback keep(keepStoredDate_, keepStoredDate);
            weekStartEdit_->setDate(options_.today());
        });
    }
    restore(142, employeeEdit_, settings_keys::kEmployee);
    restore(144, supervisorEdit_, settings_keys::kSupervisor);

    std::optional<std::vector<QStringList>> rates;
    if (g.test(146, [&] {
            rates = store.storedRates();
            return rates.has_value();
        })) {
        unpackInto(
            g, rateList_, [&] { return rates ? *rates : std::vector<QStringList>{}; }, 148);
    } else {
        addDefaultRates(g);
    }
    unpackInto(
        g, hoursList_, [&] { return store.storedHours(); }, 180);
    // From here on the lists live in the timesheet lists; the views follow them.
    lists_.load(record());
    listsLoaded_ = true;

    g.run(198, [&] { fillDayChoice(); });
    g.run(200, [&] { fillRateChoice(); });
    g.run(202, [&] {
        const QString text = store.listTab();
        bool ok = false;
        const int index = text.trimmed().toInt(&ok);
        if (!ok) throw Failure("Type mismatch");
        if (index < 0 || index >= listTabs_->count()) throw Failure("Invalid tab index");
        listTabs_->setCurrentIndex(index);
    });
    g.run(204, [&] { options_.presenceCheck(); });

    companyEdit_->setFocus(Qt::OtherFocusReason);
}

// Statements, from `firstLine`: +0 read the stored rows, +2 each row, +4 split
// into fields, +6 each field, +10 add the row, +12 set a further field (one
// beyond the list's columns is surplus and fails), +16 next row.
void EntryWindow::unpackInto(Guarded& g, QTreeWidget* list,
                             const std::function<std::vector<QStringList>()>& read, int firstLine) {
    std::vector<QStringList> rows;
    g.run(firstLine, [&] { rows = read(); });
    // Thousands of stored rows failing alike give one report with the count.
    Guarded::Repeated loop(g);
    const list_fit::HeldFitting fitOnceAtTheEnd(list);
    for (const QStringList& fields : rows) {
        QTreeWidgetItem* item = nullptr;
        for (qsizetype position = 0; position < fields.size(); ++position) {
            if (position == 0) {
                g.run(firstLine + 10,
                      [&] { item = new QTreeWidgetItem(list, QStringList{fields[0]}); });
                continue;
            }
            g.run(firstLine + 12, [&] {
                if (!item || position >= list->columnCount()) throw Failure("Index out of bounds");
                item->setText(static_cast<int>(position), fields[position]);
            });
        }
    }
    list_rows::ensureCurrentRow(list);
}

void EntryWindow::addDefaultRates(Guarded& g) {
    int line = 166;
    for (const char* description : kDefaultRateDescriptions) {
        g.run(line, [&] {
            new QTreeWidgetItem(rateList_, QStringList{QString::fromLatin1(description)});
        });
        line += 2;
    }
    list_rows::ensureCurrentRow(rateList_);
}

void EntryWindow::saveLists() {
    Guarded g(report_locations::kEntryWindow, report_locations::kEntryClosing,
              error_report_box::shownOver(this));
    std::vector<QStringList> rates;
    g.run(100, [&] { rates = list_rows::read(rateList_); });
    std::vector<QStringList> hours;
    g.run(122, [&] { hours = list_rows::read(hoursList_); });
    // A failed write is not told here: the closing query asks about it.
    g.run(142, [&] {
        writeStore(
            QStringLiteral("the hour rates and the hours list"),
            [&](TimesheetStore& store) { store.saveLists(rates, hours); }, false);
    });
}

bool EntryWindow::mayClose() {
    saveLists();
    if (!options_.store->hasUnsavedChanges()) return true;
    return prompter().message(this, applicationTitle(), storeFailures_.closeQuestion(),
                              Prompter::Icon::Warning, Prompter::Buttons::CloseAnywayCancel) ==
           Prompter::Answer::CloseAnyway;
}

// The closing query keeps the window open only when the user chooses to keep
// changes the store could not take; the unload then ends the program at once.
void EntryWindow::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    options_.endProgram();
}

}  // namespace tallowby
