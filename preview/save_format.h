#pragma once

#include <QString>

namespace tallowby::preview {

// The formats the preview saves the result workbook in, in the order the
// save dialog lists them.
enum class SaveFormat { Xls = 0, Xlsx = 1 };

// The save dialog's filter list: the 97-2003 format first, so it is the default.
QString saveDialogFilter();

// The format a save writes: a typed ".xls" or ".xlsx" (in any case) decides;
// a name with neither takes the format of the filter chosen in the dialog.
SaveFormat chosenSaveFormat(const QString& fileName, int filterIndex);

}  // namespace tallowby::preview
