#pragma once

#include <QString>
#include <QStringList>

#include "ui/prompter.h"

class QWidget;

namespace tallowby {

class Guarded;

namespace preview {

// The statement numbers of a save command's question about its target.
struct OverwriteStatements {
    int chosen;  // a target was chosen
    int exists;  // the target exists already
    int ask;     // ask before overwriting it
    int fresh;   // a new file: yes without asking
};

// Yes when the chosen target may be written: a new file, or an existing one
// the user agrees to overwrite; No when nothing was chosen or the user
// declines. The existing file is left alone here: both commands replace it
// only once the new bytes are complete, so a failed write keeps it.
Prompter::Answer confirmTarget(Guarded& g, QWidget* parent, const QString& target,
                               const OverwriteStatements& lines);

// The question before replacing `target`, Yes or No.
Prompter::Answer askOverwrite(QWidget* parent, const QString& target);

// The closing "Done." of a command that wrote its file; with the file, a
// second line names it and its folder.
void announceDone(Guarded& g, int line, QWidget* parent, const QString& writtenFile = {});

// "Done.", then the written file's name and folder when there is one.
QString doneText(const QString& writtenFile);

// The file types the workbook can be saved as, in the save dialog's order.
QStringList workbookSaveFilters();

// `fileName` with its extension replaced by (or given) `extension`.
QString withExtension(const QString& fileName, const QString& extension);

}  // namespace preview
}  // namespace tallowby
