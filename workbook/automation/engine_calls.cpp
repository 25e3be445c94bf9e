#include "workbook/automation/engine_calls.h"

#include <QFile>
#include <span>

#include "app/failure.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/formula/recalculate.h"
#include "workbook/engine/numfmt/number_format.h"
#include "workbook/engine/render/sheet_renderer.h"
#include "workbook/engine/xlsx/xlsx_writer.h"

namespace tallowby::automation {

engine::Workbook readWorkbookFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    return engine::readWorkbook(std::span<const uint8_t>(
        reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
}

std::vector<uint8_t> writeAsWorkbook(const engine::Workbook& model) {
    engine::WriteOptions options;
    options.saveAsWorkbook = true;
    return engine::writeWorkbook(model, options);
}

QStringList writeXlsxFile(const engine::Workbook& model, const QString& path,
                          const QString& scratchFolder) {
    engine::xlsx::XlsxOptions options;
    options.scratchFolder = scratchFolder.toStdString();
    QStringList warnings;
    try {
        for (const std::string& w : engine::xlsx::writeXlsxFile(model, path.toStdString(), options))
            warnings << QString::fromStdString(w);
    } catch (const std::exception& e) {
        throw Failure(QString::fromStdString(e.what()));
    }
    return warnings;
}

void recalculateWorkbook(engine::Workbook& model) {
    engine::formula::recalculate(model);
}

QImage renderSheet(const engine::Workbook& model, int sheetIndex, const QLocale& locale,
                   double pixelRatio) {
    engine::RenderOptions options;
    options.pixelRatio = pixelRatio;
    return engine::renderUsedRange(model, sheetIndex, engine::FormatLocale::fromQLocale(locale),
                                   options);
}

std::unique_ptr<engine::UsedRangeStrips> sheetStrips(const engine::Workbook& model, int sheetIndex,
                                                     const QLocale& locale, double pixelRatio) {
    engine::RenderOptions options;
    options.pixelRatio = pixelRatio;
    return std::make_unique<engine::UsedRangeStrips>(
        model, sheetIndex, engine::FormatLocale::fromQLocale(locale), options);
}

}  // namespace tallowby::automation
