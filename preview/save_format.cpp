#include "preview/save_format.h"

#include <QFileInfo>

namespace tallowby::preview {

QString saveDialogFilter() {
    return QStringLiteral("Excel 97-2003 Workbook (*.xls)|*.xls|Excel Workbook (*.xlsx)|*.xlsx|");
}

SaveFormat chosenSaveFormat(const QString& fileName, int filterIndex) {
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0) return SaveFormat::Xlsx;
    if (suffix.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0) return SaveFormat::Xls;
    return filterIndex == static_cast<int>(SaveFormat::Xlsx) ? SaveFormat::Xlsx : SaveFormat::Xls;
}

}  // namespace tallowby::preview
