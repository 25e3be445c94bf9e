#pragma once

#include <QString>
#include <functional>

#include "app/dialog_folder.h"

class QPrinter;
class QWidget;

namespace tallowby::preview {

// Shows the platform's print dialog for the printer; true when the user
// chose to print. Tests replace it.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;
// Installs a runner (an empty one restores the real dialog).
void setPrintDialogRunner(PrintDialogRunner runner);

// "Print…": prepares the printer with the workbook's paper (the locale's
// when the workbook names none) and title, shows the print dialog, and
// prints the page on the paper chosen there. Printing to a file offers
// "<the PDF export's name>" in the remembered folder (Documents, else home,
// at first) and remembers the folder of the file printed to. Failures are
// reported with their statement numbers.
void printTimesheet(QWidget* parent, const QString& workbookFile, RememberedFolder& fileFolder);

}  // namespace tallowby::preview
