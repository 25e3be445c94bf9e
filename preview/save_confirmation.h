#pragma once

#include <QString>

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

// The closing "Done." of a command that wrote its file.
void announceDone(Guarded& g, int line, QWidget* parent);

}  // namespace preview
}  // namespace tallowby
