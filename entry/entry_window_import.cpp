// Hours from a time tracker's CSV export: the action, the file question, the
// import window, and the rows joining the hours list.
#include <QAction>
#include <QDateEdit>
#include <QFileInfo>
#include <QMenu>
#include <QTreeWidget>

#include "app/application_title.h"
#include "entry/entry_menu.h"
#include "entry/entry_window.h"
#include "entry/hours_import_dialog.h"
#include "entry/list_rows.h"
#include "ui/prompter.h"

namespace tallowby {

void EntryWindow::addImportHoursAction() {
    importHoursAction_ = new QAction(QStringLiteral("&Import Hours from CSV…"), this);
    importHoursAction_->setObjectName(QStringLiteral("importHoursAction"));
    importHoursAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    importHoursAction_->setShortcutContext(Qt::WindowShortcut);
    connect(importHoursAction_, &QAction::triggered, this, [this] { importHoursFromCsv(); });
    addAction(importHoursAction_);
    menu_->fileMenu()->insertAction(menu_->fileEndSeparator(), importHoursAction_);
    // The hours list offers it on its own menu too, beside Delete.
    hoursList_->addAction(importHoursAction_);
    hoursList_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void EntryWindow::importHoursFromCsv() {
    const QString path = prompter().openFileNameIn(
        this, QStringLiteral("Import Hours from CSV"),
        QStringLiteral("CSV and text files|*.csv *.txt *.tsv|All files|*"), importFolder_.start());
    if (path.isEmpty()) return;
    importFolder_.rememberFolderOf(path);
    importHoursFrom(path);
}

void EntryWindow::importHoursFrom(const QString& path) {
    HoursImportDialog dialog(path, weekStartEdit_->date(), record().rates, this);
    // A file without a header row has nothing to show: say why at once.
    if (dialog.plan().file().header.isEmpty()) {
        prompter().message(this, applicationTitle(), dialog.plan().summary(),
                           Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return;
    }
    if (dialog.exec() != QDialog::Accepted || !dialog.plan().canImport()) return;
    const HoursImportPlan& plan = dialog.plan();
    // Moving the week relabels the entries already listed and stores the date.
    if (plan.weekStart() != weekStartEdit_->date()) weekStartEdit_->setDate(plan.weekStart());
    // One undoable step; the lists' change stores them at once.
    lists_.addHours(plan.result().entries);
}

}  // namespace tallowby
