#pragma once

#include <QString>

#include "app/dialog_folder.h"

class QWidget;

namespace tallowby::preview {

// "Export as PDF…": asks for a file name (suggesting "Timesheet <employee>
// <week start>.pdf" in the export's remembered folder, at first the user's
// Documents folder, else home), asks before replacing
// an existing file, writes the printed page of the result workbook as PDF all
// or nothing, and says "Done." only when the file is written. Failures are
// reported with their statement numbers. The folder of a written file is
// remembered for the next export.
void exportPdf(QWidget* parent, const QString& workbookFile, RememberedFolder& folder);

// The folder and file name the export suggests for the workbook.
QString suggestedPdfPath(const QString& workbookFile, const RememberedFolder& folder);

}  // namespace tallowby::preview
