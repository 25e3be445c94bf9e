#include "workbook/automation/result_export.h"

#include <QFile>
#include <QImage>
#include <QLocale>

#include "app/failure.h"
#include "app/report_locations.h"
#include "workbook/automation/bitmap_file.h"
#include "workbook/engine/render/sheet_renderer.h"

namespace tallowby::automation {

std::unique_ptr<automation::Application> openInNewEngine(const QString& path) {
    auto app = automation::CreateApplication();
    app->Workbooks().Open(path);
    return app;
}

QStringList saveWorkbookCopyAs(const QString& source, const QString& target, int32_t fileFormat,
                               const QString& scratchFolder) {
    auto app = automation::CreateApplication();
    app->setScratchFolder(scratchFolder);
    automation::Workbook& book = app->Workbooks().Open(source, true);
    const QStringList warnings = book.SaveAs(target, fileFormat);
    book.Close();
    app->Quit();
    return warnings;
}

void saveCellsActivesheet(automation::Workbook* workbook, const QString& picturePath,
                          const FailureSink& report, double pixelRatio) {
    Guarded g(report_locations::kSheetPicture, report_locations::kSavePicture, report);
    automation::Worksheet* sheet = nullptr;
    int lastRow = 0;
    int lastColumn = 0;
    std::unique_ptr<engine::UsedRangeStrips> picture;
    auto requireSheet = [&] {
        if (!sheet) throw Failure("Object variable not set: there is no active sheet.");
        return sheet;
    };
    g.run(100, [&] {
        if (!workbook) throw Failure("Object variable not set: there is no workbook.");
        sheet = &workbook->ActiveSheet();
    });
    g.run(102, [&] { lastRow = requireSheet()->UsedRangeLastRow(); });
    g.run(104, [&] { lastColumn = requireSheet()->UsedRangeLastColumn(); });
    if (!g.test(106, [&] { return lastRow > 1 && lastColumn > 1; })) return;
    // The picture is laid out here and drawn as it is written: a wide
    // sheet's is tens of megabytes, never held whole.
    g.run(110, [&] { picture = requireSheet()->UsedRangePictureStrips(pixelRatio); });
    g.run(112, [&] {
        if (!picture || picture->isEmpty())
            throw Failure("There is no picture of the sheet to save.");
        // The file is a bitmap, as its ".bmp" name says.
        if (!writeBitmapFile(*picture, picturePath))
            throw Failure(QStringLiteral("Cannot write the picture file %1.").arg(picturePath));
    });
}

}  // namespace tallowby::automation
