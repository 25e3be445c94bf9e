#include "workbook/run/generation_run.h"

#include <QDir>
#include <QStringList>
#include <algorithm>
#include <memory>

#include "app/failure.h"
#include "app/guarded.h"
#include "app/program.h"
#include "workbook/automation/application.h"
#include "workbook/automation/result_export.h"
#include "workbook/run/entry_placement.h"
#include "workbook/run/template_resource.h"

namespace tallowby {

namespace {

using automation::Application;
using automation::Workbook;

template <class T>
T& require(T* object, const char* what) {
    if (!object)
        throw Failure(QStringLiteral("Object variable not set: %1.").arg(QLatin1String(what)));
    return *object;
}

}  // namespace

GenerationResult runGeneration(const TimesheetRecord& record, const PrivateTempFolder& folder,
                               const GenerationHooks& hooks) {
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton6_Click"), hooks.reportParent);
    GenerationResult result;
    const QString templatePath = folder.templateFile();
    const QString snapshotPath = folder.snapshotFile();
    std::unique_ptr<Application> instance1;
    Workbook* workbook = nullptr;
    QByteArray templateData;

    auto setBusy = [&](bool busy) {
        if (hooks.setBusy) hooks.setBusy(busy);
    };
    // Creating the engine, getting the template and saving the result are
    // what the rest of the run stands on: after one of them fails the run ends
    // with that one report, the pointer back to normal and nothing left behind.
    auto endEarly = [&] {
        if (instance1) instance1->Quit();
        setBusy(false);
        program::removeFile(snapshotPath);
        program::removeFile(templatePath);
        return result;
    };

    g.run(100, [&] { setBusy(true); });
    if (!g.run(101, [&] {
            const int rates = static_cast<int>(record.rates.size());
            if (rates > kMostRateEntries)
                throw Failure(QStringLiteral("The timesheet has room for at most %1 rate types "
                                             "(a sheet has 256 columns), but the hour-rate list "
                                             "has %2. No workbook was made.")
                                  .arg(kMostRateEntries)
                                  .arg(rates));
        }))
        return endEarly();
    if (!g.run(102, [&] { instance1 = automation::CreateApplication(); })) return endEarly();
    if (!g.run(104, [&] {
            templateData = hooks.templateBytes ? hooks.templateBytes() : templateBytes();
        }))
        return endEarly();
    g.run(106, [&] {
        if (!program::fileExists(templatePath))
            program::writeBinaryFile(templateData, templatePath);
    });
    if (!g.run(108, [&] { workbook = &instance1->Workbooks().Open(templatePath, true); }))
        return endEarly();
    Application& app = *instance1;
    g.run(110, [&] { app.setDisplayAlerts(false); });
    QString companyName;
    g.run(112, [&] { companyName = record.company; });
    g.run(114, [&] { app.ActiveWorkbook().Worksheets(1).Select(); });
    g.run(116, [&] { app.ActiveWorkbook().Worksheets(1).Activate(); });
    g.run(118, [&] { app.Cells(4, 1).setValue(companyName); });
    g.run(120, [&] { app.Cells(7, 1).setValue(record.address); });
    g.run(122, [&] { app.Cells(8, 1).setValue(record.city); });
    g.run(124, [&] { app.Cells(9, 1).setValue(record.phone); });
    g.run(126, [&] { app.Cells(5, 7).setValue(record.employee); });
    g.run(128, [&] { app.Cells(7, 7).setValue(record.supervisor); });
    g.run(130, [&] { app.Cells(9, 7).setValue(record.weekStart); });

    int row = 11;
    const int rateCount = static_cast<int>(record.rates.size());
    const int extraColumns = std::max(0, rateCount - kTemplateRateColumns);
    // More rate types than the template's seven: columns are inserted inside
    // the rate block, before its last column, so the row sums, the total pay
    // and the print area widen over them, and the block's rows (heading to
    // pay) are filled from a rate column.
    g.run(131, [&] {
        if (extraColumns > 0)
            app.ActiveWorkbook().Worksheets(1).InsertColumns(
                kFirstRateColumn + kTemplateRateColumns - 1, extraColumns);
    });
    g.run(132, [&] { row = 11; });
    g.run(133, [&] {
        if (extraColumns > 0)
            app.ActiveWorkbook().Worksheets(1).FillRight(
                kFirstRateColumn + kTemplateRateColumns - 2,
                kFirstRateColumn + kTemplateRateColumns - 1, extraColumns, kRateHeadingRow,
                kRatePayRow);
    });
    const int rateLoop = g.value(
        134, [&] { return rateCount; }, 1);
    {
        Guarded::Repeated loop(g);
        for (int i = 1; i <= rateLoop; ++i)
            g.run(136, [&] { app.Cells(row, i + 1).setValue(record.rates.at(i - 1).description); });
    }
    g.run(140, [&] { row = 20; });
    {
        Guarded::Repeated loop(g);
        for (int i = 1; i <= rateLoop; ++i)
            g.run(144, [&] { app.Cells(row, i + 1).setValue(record.rates.at(i - 1).rate); });
    }
    g.run(148, [&] { row = 12; });
    int column = 2;
    g.run(150, [&] { column = 2; });
    // Entries are gathered first: repeated ones share a cell, entries without
    // a place on the sheet are never written.
    const int rateColumns = std::max(rateCount, kTemplateRateColumns);
    EntryPlacement placement;
    g.run(152, [&] { placement = placeEntries(record.hours, rateColumns); });
    result.leftOut = placement.leftOut;
    {
        // Thousands of cells failing alike give one report with the count.
        Guarded::Repeated loop(g);
        for (const PlacedCell& placed : placement.cells) {
            g.run(154, [&] {
                auto cell = app.Cells(row + (placed.row - kFirstDayRow),
                                      column + (placed.column - kFirstRateColumn));
                if (placed.entries.size() == 1) {
                    cell.setValue(placed.entries.front().hours);
                    return;
                }
                QStringList hours;
                for (const HoursEntry& e : placed.entries) hours << e.hours;
                const QStringList notCounted = cell.setSum(hours);
                for (const HoursEntry& e : placed.entries)
                    if (notCounted.contains(e.hours)) result.leftOut.push_back(e);
            });
        }
    }
    g.run(158, [&] { app.ActiveWorkbook().Worksheets(1).Select(); });
    g.run(160, [&] { app.Cells(1, 1).Select(); });
    g.run(162, [&] { app.setDisplayAlerts(true); });
    g.run(164, [&] { app.setVisible(false); });
    g.run(166, [&] { result.resultPath = drawResultName(folder.path(), hooks.drawDigit); });
    if (!g.run(182, [&] {
            require(workbook, "the template workbook")
                .SaveAs(result.resultPath, result_export::GetXlsFileFormat(&app));
        }))
        return endEarly();
    g.run(184, [&] { app.setDisplayAlerts(false); });
    g.run(186, [&] { require(workbook, "the workbook").Close(); });
    workbook = nullptr;
    g.run(188, [&] { app.Quit(); });
    g.run(190, [&] { instance1.reset(); });

    std::unique_ptr<Application> instance2;
    Workbook* shown = nullptr;
    g.run(192, [&] { instance2 = result_export::OpenInNewExcel(result.resultPath); });
    g.run(194, [&] { setBusy(true); });
    g.run(196, [&] {
        Application& second = require(instance2.get(), "the second engine instance");
        shown = &second.Workbooks()(second.Workbooks().count());
    });
    g.run(198, [&] {
        result_export::saveCellsActivesheet(shown, snapshotPath, hooks.reportParent,
                                            hooks.pictureRatio);
    });
    g.run(200,
          [&] { require(instance2.get(), "the second engine instance").setDisplayAlerts(false); });
    g.run(202, [&] { require(shown, "the shown workbook").Close(); });
    g.run(204, [&] { require(instance2.get(), "the second engine instance").Quit(); });
    instance2.reset();

    g.run(206, [&] {
        QImage picture(snapshotPath);
        if (picture.isNull())
            throw Failure(QStringLiteral("Cannot load the picture file %1.").arg(snapshotPath));
        // A bitmap file keeps the resolution but not the ratio it was drawn at.
        picture.setDevicePixelRatio(hooks.pictureRatio);
        result.picture = picture;
    });
    g.run(208, [&] { setBusy(false); });
    g.run(212, [&] {
        if (hooks.handOver) hooks.handOver(result.picture, result.resultPath);
        result.handedOver = true;
    });
    g.run(214, [&] {
        if (hooks.hideMainWindow) hooks.hideMainWindow();
    });
    g.run(216, [&] { program::removeFile(snapshotPath); });
    g.run(218, [&] { program::removeFile(templatePath); });
    return result;
}

}  // namespace tallowby
