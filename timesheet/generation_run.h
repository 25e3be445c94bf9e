#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

#include "app/guarded.h"
#include "timesheet/timesheet_record.h"
#include "workbook/run/private_temp_folder.h"

namespace tallowby {

// What the generation run needs from the windows around it.
struct GenerationHooks {
    std::function<void(bool busy)> setBusy;  // the main window's hourglass
    // Gives the preview the picture and the result workbook's path, and shows it.
    std::function<void(const QImage& picture, const QString& resultPath)> handOver;
    std::function<void()> hideMainWindow;
    std::function<QByteArray()> templateBytes;  // default: the embedded template
    std::function<int()> drawDigit;             // 1..9; default: seeded from the time of day
    // Told of each failure the moment it happens, in statement order (the
    // window shows its error report then); the result lists them all too.
    FailureSink reportFailure;
    // Device pixels per screen pixel where the picture will be shown: the
    // picture is drawn that much finer and handed over with that ratio.
    double pictureRatio = 1.0;
};

struct GenerationResult {
    bool handedOver = false;  // false when the run ended early after a reported failure
    QString resultPath;
    QImage picture;
    // Hours entries that were not written (no place on the sheet, or hours
    // that cannot be summed with the others of their cell), in list order.
    std::vector<HoursEntry> leftOut;
    // Every failure of the run, in the order it was reported.
    std::vector<StatementFailure> failures;
};

// "Start Creating Template": fills the template from the record, saves the
// result workbook in the folder, draws it, and hands both over. Failures are
// kept with their statement numbers and handed to the caller. Only a complete
// run hands over: creating the engine, reading or opening the template and
// saving the result end the run at once; after any other failed step (the
// rates that were not written aside) the run ends once the cells are filled,
// the workbook is saved or the picture is drawn, and nothing is handed over.
GenerationResult runGeneration(const TimesheetRecord& record, const PrivateTempFolder& folder,
                               const GenerationHooks& hooks);

// A fresh result workbook name in the folder: "kovlar", eight digits 1 to 9,
// ".xls", drawn again while a file of that name exists.
QString drawResultName(const QString& folder, const std::function<int()>& drawDigit);

}  // namespace tallowby
