#pragma once

#include <QImage>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/render/sheet_renderer.h"

namespace tallowby::automation {

// The engine operations the automation layer needs, in one place.
engine::Workbook readWorkbookFile(const QString& path);
std::vector<uint8_t> writeAsWorkbook(const engine::Workbook& model);
// Writes the .xlsx file at `path`, its scratch files in `scratchFolder`;
// returns the writer's warnings.
QStringList writeXlsxFile(const engine::Workbook& model, const QString& path,
                          const QString& scratchFolder);
void recalculateWorkbook(engine::Workbook& model);
QImage renderSheet(const engine::Workbook& model, int sheetIndex, const QLocale& locale,
                   double pixelRatio = 1.0);
std::unique_ptr<engine::UsedRangeStrips> sheetStrips(const engine::Workbook& model, int sheetIndex,
                                                     const QLocale& locale,
                                                     double pixelRatio = 1.0);

}  // namespace tallowby::automation
