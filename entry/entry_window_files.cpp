// Timesheet files: File → "Open Timesheet…", "Open Recent" and "Save
// Timesheet As…". The settings store stays the working copy; a file is read
// into the window (and so into the store) or written from it.
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app/application_title.h"
#include "app/failure.h"
#include "app/settings_store.h"
#include "entry/entry_menu.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "timesheet/recent_timesheets.h"
#include "timesheet/settings_keys.h"
#include "timesheet/timesheet_file_io.h"
#include "ui/desktop.h"
#include "ui/prompter.h"

namespace tallowby {

void EntryWindow::addTimesheetFileActions() {
    QMenu* file = menu_->fileMenu();
    QAction* before = menu_->fileEndSeparator();

    openTimesheetAction_ = new QAction(QStringLiteral("&Open Timesheet\u2026"), this);
    openTimesheetAction_->setObjectName(QStringLiteral("openTimesheetAction"));
    openTimesheetAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(openTimesheetAction_, &QAction::triggered, this, [this] { openTimesheet(); });
    file->insertAction(before, openTimesheetAction_);

    recentMenu_ = new QMenu(QStringLiteral("Open &Recent"), file);
    recentMenu_->setObjectName(QStringLiteral("recentTimesheetsMenu"));
    // Files come and go while the program runs: the list is checked each time.
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { showRecentTimesheets(); });
    file->insertMenu(before, recentMenu_);

    saveTimesheetAction_ = new QAction(QStringLiteral("Save Timesheet &As\u2026"), this);
    saveTimesheetAction_->setObjectName(QStringLiteral("saveTimesheetAction"));
    saveTimesheetAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(saveTimesheetAction_, &QAction::triggered, this, [this] { saveTimesheetAs(); });
    file->insertAction(before, saveTimesheetAction_);
    file->insertSeparator(before);

    // The shortcuts work wherever the focus is in the window.
    addAction(openTimesheetAction_);
    addAction(saveTimesheetAction_);
    showRecentTimesheets();
}

QStringList EntryWindow::recentTimesheets() const {
    return recent_timesheets::fromStoredText(
        options_.store->value(QString::fromLatin1(settings_keys::kRecentTimesheets)));
}

void EntryWindow::setRecentTimesheets(const QStringList& paths) {
    writeStore(
        QStringLiteral("the list of recent timesheets"),
        [&](TimesheetStore&) {
            options_.store->setValue(QString::fromLatin1(settings_keys::kRecentTimesheets),
                                     recent_timesheets::toStoredText(paths));
        },
        false);
    showRecentTimesheets();
}

void EntryWindow::showRecentTimesheets() {
    // The entry chosen (or Clear) may be the one running now: its action goes
    // later, not from under its own signal.
    for (QAction* old : recentMenu_->actions()) {
        recentMenu_->removeAction(old);
        old->deleteLater();
    }
    const QStringList paths = recentTimesheets();
    int number = 0;
    for (const QString& path : paths) {
        ++number;
        // "&1 name.ini", the folder as its tip; a file gone since is shown
        // but cannot be chosen (it may be on a drive not mounted now).
        QAction* entry = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(number).arg(QFileInfo(path).fileName()));
        entry->setData(path);
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        entry->setEnabled(QFileInfo(path).isFile());
        connect(entry, &QAction::triggered, this, [this, path] { openTimesheetFrom(path); });
    }
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction(QStringLiteral("&Clear"));
    clear->setObjectName(QStringLiteral("clearRecentTimesheets"));
    clear->setEnabled(!paths.isEmpty());
    connect(clear, &QAction::triggered, this, [this] { setRecentTimesheets({}); });
    recentMenu_->menuAction()->setEnabled(!paths.isEmpty());
}

void EntryWindow::timesheetFileUsed(const QString& path) {
    timesheetFile_ = QFileInfo(path).absoluteFilePath();
    setRecentTimesheets(recent_timesheets::withFirst(recentTimesheets(), path));
    showStoreState();
}

void EntryWindow::openTimesheet() {
    const QString path =
        prompter().openFileNameIn(this, QStringLiteral("Open Timesheet"),
                                  timesheet_file_io::dialogFilter(), openFolder_.start());
    if (!path.isEmpty()) openTimesheetFrom(path);
}

void EntryWindow::openTimesheetFrom(const QString& path) {
    TimesheetRecord file;
    try {
        file = timesheet_file_io::read(path, options_.today());
    } catch (const std::exception& e) {
        desktop::warnUser(QString::fromUtf8(e.what()), this);
        return;
    }
    openFolder_.rememberFolderOf(path);
    if (holdsTypedData() &&
        prompter().message(this, applicationTitle(),
                           QStringLiteral("Open %1? It replaces the company and employee "
                                          "details, the week start, the hour rates and the hours "
                                          "list. Undo takes it back.")
                               .arg(QFileInfo(path).fileName()),
                           Prompter::Icon::Warning,
                           Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;

    // The whole file is one step to undo: what the window held before it.
    const TimesheetRecord before = lists_.record();
    // Typed in as the user would: each field reaches the store at once.
    companyEdit_->setText(file.company);
    addressEdit_->setText(file.address);
    cityEdit_->setText(file.city);
    phoneEdit_->setText(file.phone);
    employeeEdit_->setText(file.employee);
    supervisorEdit_->setText(file.supervisor);
    weekStartEdit_->setDate(file.weekStart);
    TimesheetRecord after = lists_.record();
    after.rates = std::move(file.rates);
    after.hours = std::move(file.hours);
    fillRateChoiceFrom(after.rates);
    lists_.replaceAll(before, after, QStringLiteral("Open Timesheet"));
    timesheetFileUsed(path);
}

void EntryWindow::saveTimesheetAs() {
    const TimesheetRecord timesheet = record();
    SaveRequest request;
    request.title = QStringLiteral("Save Timesheet As");
    request.filters = {QStringLiteral("Timesheet files (*.ini)")};
    request.folder = saveFolder_.start();
    request.suggestedName = timesheet_file_io::suggestedName(timesheet);
    // Asked while the dialog is open: "No" goes back to it.
    request.confirmOverwrite = [](QWidget* dialog, const QString& existing) {
        return prompter().message(dialog, applicationTitle(),
                                  QStringLiteral("%1 already exists. Replace it?")
                                      .arg(QDir::toNativeSeparators(existing)),
                                  Prompter::Icon::Warning,
                                  Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
    };
    const QString target = prompter().saveFile(this, request);
    if (target.isEmpty()) return;
    try {
        timesheet_file_io::write(target, timesheet);
    } catch (const std::exception& e) {
        desktop::warnUser(
            QStringLiteral("The timesheet was not saved.\n") + QString::fromUtf8(e.what()), this);
        return;
    }
    saveFolder_.rememberFolderOf(target);
    timesheetFileUsed(target);
}

}  // namespace tallowby
