#include "entry/entry_menu.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>
#include <QWidget>

namespace tallowby {

EntryMenu::EntryMenu(QWidget& window, QUndoStack& undoStack) : QObject(&window) {
    bar_ = new QMenuBar(&window);
    bar_->setObjectName(QStringLiteral("MenuBar"));
    // The bar takes the window's bold font otherwise; menus read as the desktop's.
    bar_->setFont(QFont());

    file_ = bar_->addMenu(QStringLiteral("&File"));
    newWeek_ = file_->addAction(QStringLiteral("&New Week\u2026"));
    newWeek_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    fileEnd_ = file_->addSeparator();
    quit_ = file_->addAction(QStringLiteral("&Quit"));
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = bar_->addMenu(QStringLiteral("&Edit"));
    undo_ = undoStack.createUndoAction(edit, QStringLiteral("&Undo"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = undoStack.createRedoAction(edit, QStringLiteral("&Redo"));
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addAction(undo_);
    edit->addAction(redo_);
    edit->addSeparator();
    delete_ = edit->addAction(QStringLiteral("&Delete"));
    delete_->setShortcut(QKeySequence(Qt::Key_Delete));
    // Delete reaches the hours list only where the window adds the action;
    // in a text box the key keeps deleting text.
    delete_->setShortcutContext(Qt::WidgetWithChildrenShortcut);

    QMenu* help = bar_->addMenu(QStringLiteral("&Help"));
    help_ = help->addAction(QStringLiteral("&Help"));
    help_->setShortcut(QKeySequence::HelpContents);

    // Undo and Redo work wherever the focus is in the window.
    window.addAction(undo_);
    window.addAction(redo_);
    window.addAction(newWeek_);
    window.addAction(quit_);

    if (QLayout* layout = window.layout()) {
        layout->setMenuBar(bar_);
        return;
    }
    // A window placed by hand: its client area moves down under the bar,
    // unchanged, and the window grows by the bar's height.
    const int height = bar_->sizeHint().height();
    for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != bar_) child->move(child->x(), child->y() + height);
    bar_->setGeometry(0, 0, window.width(), height);
    if (window.minimumSize() == window.maximumSize())
        window.setFixedSize(window.width(), window.height() + height);
    else
        window.resize(window.width(), window.height() + height);
}

}  // namespace tallowby
