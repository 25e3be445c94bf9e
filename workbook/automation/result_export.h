#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "app/guarded.h"
#include "workbook/automation/application.h"

namespace tallowby::automation {

// A new engine instance with the file opened in it (not read-only).
std::unique_ptr<automation::Application> openInNewEngine(const QString& path);

// Opens `source` read-only in a new engine instance and saves it as
// `target` in the given format (see Workbook::SaveAs), building an .xlsx in
// `scratchFolder`. Returns what that format cannot hold of the workbook.
QStringList saveWorkbookCopyAs(const QString& source, const QString& target, int32_t fileFormat,
                               const QString& scratchFolder);

// Draws the used range of the workbook's active sheet into a picture file.
// Nothing is written when all that is used lies in row 1 or in column A.
// `pixelRatio` above 1 draws that many device pixels per 96-dpi pixel; the
// file's resolution says so (192 dpi for 2). Failures go to `report`.
void saveCellsActivesheet(automation::Workbook* workbook, const QString& picturePath,
                          const FailureSink& report, double pixelRatio = 1.0);

}  // namespace tallowby::automation
