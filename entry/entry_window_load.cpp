// Start-up and shutdown of the main window.
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/cursor_file.h"
#include "app/failure.h"
#include "app/guarded.h"
#include "app/hover_cursor_path.h"
#include "app/packed_list.h"
#include "app/program.h"
#include "app/prompter.h"
#include "app/settings_store.h"
#include "app/week_start_date.h"
#include "entry/entry_window.h"
#include "entry/list_rows.h"
#include "entry/select_all_line_edit.h"

namespace tallowby {

namespace {

const char* const kDefaultRates[] = {"Regular", "Overtime", "Illness", "Vacation",
                                     "Holiday", "Unpaid",   "Other"};

// Blanks are spaces; tabs and line breaks are content.
bool isBlankText(const QString& text) {
    for (QChar c : text)
        if (c != QLatin1Char(' ')) return false;
    return true;
}

}  // namespace

void EntryWindow::load() {
    Guarded g(QStringLiteral("Form1"), QStringLiteral("Form_Load"), this);
    SettingsStore& store = *options_.store;

    g.run(104, [&] { setWindowTitle(QStringLiteral("Tallowby")); });
    g.run(104, [&] { setWindowIcon(QIcon(QStringLiteral(":/tallowby.png"))); });
    g.run(104, [&] { program::setAppTitle(); });
    const QString cursorPath = hoverCursorPath(options_.programFolder);
    if (g.test(106, [&] { return program::fileExists(cursorPath); }))
        g.run(108, [&] { customPointer_ = cursor_file::load(cursorPath); });
    g.run(110, [&] { program::maybeOpenHomePage(options_.homePage); });

    const auto restore = [&](int line, SelectAllLineEdit* edit, const char* key) {
        g.run(line, [&] { edit->setText(store.GetSetting(QString::fromLatin1(key), QString())); });
    };
    restore(128, companyEdit_, "txtName");
    restore(130, addressEdit_, "txtLocation");
    restore(132, cityEdit_, "txtCity");
    restore(134, phoneEdit_, "txtPhone");
    std::optional<QDate> storedDate;
    QString storedDateText;
    const bool dateValid = g.test(136, [&] {
        storedDateText = store.GetSetting(QStringLiteral("dtpDate"), QString());
        storedDate = week_start_date::fromStoredText(storedDateText, QLocale(), options_.today());
        return storedDate.has_value();
    });
    // Text that is no date is the user's: say so once and leave it stored.
    const bool keepStoredDate =
        week_start_date::isUnreadable(storedDateText, QLocale(), options_.today());
    if (keepStoredDate)
        prompter().message(this, program::appTitle(),
                           week_start_date::unreadableNotice(storedDateText),
                           Prompter::Icon::Warning, Prompter::Buttons::Ok);
    if (dateValid) {
        g.run(138, [&] {
            if (!storedDate) throw Failure("Type mismatch");
            weekStartEdit_->setDate(*storedDate);
        });
    } else {
        g.run(140, [&] {
            const QScopedValueRollback keep(keepStoredDate_, keepStoredDate);
            weekStartEdit_->setDate(options_.today());
        });
    }
    restore(142, employeeEdit_, "txtEmp");
    restore(144, supervisorEdit_, "txtSVisor");

    QString rates;
    if (g.test(146, [&] {
            rates = store.GetSetting(QStringLiteral("Rates"), QString());
            return !isBlankText(rates);
        })) {
        unpackInto(g, rateList_, rates, 148);
    } else {
        addDefaultRates(g);
    }
    QString hours;
    g.run(180, [&] { hours = store.GetSetting(QStringLiteral("Hours"), QString()); });
    unpackInto(g, hoursList_, hours, 180);

    g.run(198, [&] { fillDayChoice(); });
    g.run(200, [&] { fillRateChoice(); });
    g.run(202, [&] {
        const QString text = store.GetSetting(QStringLiteral("TabSel"), QStringLiteral("0"));
        bool ok = false;
        const int index = text.trimmed().toInt(&ok);
        if (!ok) throw Failure("Type mismatch");
        if (index < 0 || index >= listTabs_->count()) throw Failure("Invalid tab index");
        listTabs_->setCurrentIndex(index);
    });
    g.run(204, [&] { options_.presenceCheck(); });

    companyEdit_->setFocus(Qt::OtherFocusReason);
}

// Statements, from `firstLine`: +0 split into rows, +2 each row, +4 split into
// fields, +6 each field, +10 add the row, +12 set a further field, +16 next row.
void EntryWindow::unpackInto(Guarded& g, QTreeWidget* list, const QString& text, int firstLine) {
    std::vector<QStringList> rows;
    g.run(firstLine, [&] { rows = packed_list::unpack(text); });
    // Thousands of stored rows failing alike give one report with the count.
    Guarded::Repeated loop(g);
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
    for (const char* description : kDefaultRates) {
        g.run(line, [&] {
            new QTreeWidgetItem(rateList_, QStringList{QString::fromLatin1(description)});
        });
        line += 2;
    }
    list_rows::ensureCurrentRow(rateList_);
}

void EntryWindow::saveLists() {
    Guarded g(QStringLiteral("Form1"), QStringLiteral("Form_QueryUnload"), this);
    SettingsStore& store = *options_.store;
    QString rates;
    g.run(100, [&] { rates = packed_list::pack(list_rows::read(rateList_)); });
    g.run(120, [&] { store.SaveSetting(QStringLiteral("Rates"), rates); });
    QString hours;
    g.run(122, [&] { hours = packed_list::pack(list_rows::read(hoursList_)); });
    g.run(142, [&] { store.SaveSetting(QStringLiteral("Hours"), hours); });
}

// Form_QueryUnload never cancels; Form_Unload then ends the program at once.
void EntryWindow::closeEvent(QCloseEvent* event) {
    saveLists();
    event->accept();
    options_.endProgram();
}

}  // namespace tallowby
