#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QUndoStack;
class QWidget;

namespace tallowby {

// The entry window's menu bar: File ("New Week", "Quit"), Edit ("Undo",
// "Redo", "Delete") and Help ("Help"), each with a mnemonic. Other commands
// join the File menu above its last group (see `fileMenu()`); the window
// connects the actions to its own commands.
class EntryMenu : public QObject {
    Q_OBJECT
  public:
    EntryMenu(QWidget& window, QUndoStack& undoStack);

    QMenuBar* menuBar() const { return bar_; }
    QMenu* fileMenu() const { return file_; }
    // File items that open or bring in something go before this separator.
    QAction* fileEndSeparator() const { return fileEnd_; }
    QAction* newWeekAction() const { return newWeek_; }
    QAction* quitAction() const { return quit_; }
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    QAction* deleteAction() const { return delete_; }
    QAction* helpAction() const { return help_; }

  private:
    QMenuBar* bar_ = nullptr;
    QMenu* file_ = nullptr;
    QAction* fileEnd_ = nullptr;
    QAction* newWeek_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* help_ = nullptr;
};

}  // namespace tallowby
