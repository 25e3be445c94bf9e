#pragma once

#include <QString>

class QWidget;

namespace tallowby::preview {

// "Export as PDF…": asks for a file name (suggesting "Timesheet <employee>
// <week start>.pdf" in the user's Documents folder), asks before replacing
// an existing file, writes the printed page of the result workbook as PDF all
// or nothing, and says "Done." only when the file is written. Failures are
// reported with their statement numbers.
void exportPdf(QWidget* parent, const QString& workbookFile);

// The folder and file name the export suggests for the workbook.
QString suggestedPdfPath(const QString& workbookFile);

}  // namespace tallowby::preview
