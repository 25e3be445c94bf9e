#include "timesheet/generation_run.h"

#include <QStringList>
#include <algorithm>
#include <memory>

#include "app/background_release.h"
#include "app/failure.h"
#include "app/guarded.h"
#include "app/plain_file.h"
#include "app/report_locations.h"
#include "timesheet/entry_placement.h"
#include "timesheet/rejected_rates.h"
#include "timesheet/template_layout.h"
#include "workbook/automation/application.h"
#include "workbook/automation/bitmap_file.h"
#include "workbook/automation/result_export.h"
#include "workbook/run/template_resource.h"

namespace tallowby {

namespace {

using namespace template_layout;
using automation::Application;
using automation::Workbook;

// The report of rates that were not written; the run is complete without them.
constexpr int kRejectedRatesStatement = 146;

template <class T>
T& require(T* object, const char* what) {
    if (!object)
        throw Failure(QStringLiteral("Object variable not set: %1.").arg(QLatin1String(what)));
    return *object;
}

// The run's statements, step by step; each step shares the engine, the open
// workbook and the result with the others.
class GenerationSteps {
  public:
    GenerationSteps(const TimesheetRecord& record, const PrivateTempFolder& folder,
                    const GenerationHooks& hooks)
        : record_(record),
          hooks_(hooks),
          g_(report_locations::kEntryWindow, report_locations::kStartClicked,
             [this](const StatementFailure& failure) { keep(failure); }),
          folderPath_(folder.path()),
          templatePath_(folder.templateFile()),
          snapshotPath_(folder.snapshotFile()) {}

    // A run whose workbook or picture misses a step hands nothing over: its
    // failures are reported and the run ends without a preview or outputs.
    GenerationResult run() {
        if (!openTemplate()) return endEarly();
        fillGeneralFields();
        fillRates();
        fillHours();
        if (!complete()) return endEarly();
        if (!saveResult() || !complete()) return endEarly();
        drawPicture();
        if (!complete()) return endEarly();
        handOver();
        return result_;
    }

  private:
    void keep(const StatementFailure& failure) {
        result_.failures.push_back(failure);
        // Rates left unwritten are the timesheet's business, not a broken step.
        if (failure.line != kRejectedRatesStatement || failure.procedure != g_.procedure())
            ++brokenSteps_;
        if (hooks_.reportFailure) hooks_.reportFailure(failure);
    }

    bool complete() const { return brokenSteps_ == 0; }

    void setBusy(bool busy) {
        if (hooks_.setBusy) hooks_.setBusy(busy);
    }

    Application& app() { return *engine_; }
    automation::CellHandle cell(CellPosition at) { return app().Cells(at.row, at.column); }

    // Creating the engine, getting the template and saving the result are
    // what the rest of the run stands on: after one of them fails the run ends
    // with that one report, the pointer back to normal and nothing left behind.
    GenerationResult endEarly() {
        if (engine_) engine_->Quit();
        setBusy(false);
        removeFile(snapshotPath_);
        removeFile(templatePath_);
        if (!result_.resultPath.isEmpty()) removeFile(result_.resultPath);
        result_.resultPath.clear();
        result_.picture = QImage();
        return result_;
    }

    bool openTemplate();
    void fillGeneralFields();
    void fillRates();
    void fillHours();
    bool saveResult();
    void drawPicture();
    void handOver();

    const TimesheetRecord& record_;
    const GenerationHooks& hooks_;
    Guarded g_;
    GenerationResult result_;
    const QString folderPath_;
    const QString templatePath_;
    const QString snapshotPath_;
    std::unique_ptr<Application> engine_;
    Workbook* workbook_ = nullptr;
    QByteArray templateData_;
    int row_ = kRateHeadingRow;
    int column_ = kFirstRateColumn;
    int brokenSteps_ = 0;
};

bool GenerationSteps::openTemplate() {
    g_.run(100, [&] { setBusy(true); });
    if (!g_.run(101, [&] {
            const int rates = static_cast<int>(record_.rates.size());
            if (rates > kMostRateEntries)
                throw Failure(QStringLiteral("The timesheet has room for at most %1 rate types "
                                             "(a sheet has 256 columns), but the hour-rate list "
                                             "has %2. No workbook was made.")
                                  .arg(kMostRateEntries)
                                  .arg(rates));
        }))
        return false;
    if (!g_.run(102, [&] { engine_ = automation::CreateApplication(); })) return false;
    if (!g_.run(104, [&] {
            templateData_ = hooks_.templateBytes ? hooks_.templateBytes() : templateBytes();
        }))
        return false;
    g_.run(106, [&] {
        if (!fileExists(templatePath_)) writeBinaryFile(templateData_, templatePath_);
    });
    return g_.run(108, [&] { workbook_ = &engine_->Workbooks().Open(templatePath_, true); });
}

// The general fields are names, addresses and numbers to dial: they reach
// their cells as typed, never read as numbers, dates or truth values.
void GenerationSteps::fillGeneralFields() {
    QString companyName;
    g_.run(112, [&] { companyName = record_.company; });
    g_.run(114, [&] { app().ActiveWorkbook().Worksheets(1).Select(); });
    g_.run(116, [&] { app().ActiveWorkbook().Worksheets(1).Activate(); });
    g_.run(118, [&] { cell(kCompany).setText(companyName); });
    g_.run(120, [&] { cell(kAddress).setText(record_.address); });
    g_.run(122, [&] { cell(kCity).setText(record_.city); });
    g_.run(124, [&] { cell(kPhone).setText(record_.phone); });
    g_.run(126, [&] { cell(kEmployee).setText(record_.employee); });
    g_.run(128, [&] { cell(kSupervisor).setText(record_.supervisor); });
    g_.run(130, [&] { cell(kWeekStart).setValue(record_.weekStart); });
}

// More rate types than the template's seven: columns are inserted inside the
// rate block, before its last column, so the row sums, the total pay and the
// print area widen over them, and the block's rows (heading to pay) are
// filled from a rate column.
void GenerationSteps::fillRates() {
    const int rateCount = static_cast<int>(record_.rates.size());
    const int extraColumns = std::max(0, rateCount - kTemplateRateColumns);
    g_.run(131, [&] {
        if (extraColumns > 0)
            app().ActiveWorkbook().Worksheets(1).InsertColumns(
                kFirstRateColumn + kTemplateRateColumns - 1, extraColumns);
    });
    g_.run(132, [&] { row_ = kRateHeadingRow; });
    g_.run(133, [&] {
        if (extraColumns > 0)
            app().ActiveWorkbook().Worksheets(1).FillRight(
                kFirstRateColumn + kTemplateRateColumns - 2,
                kFirstRateColumn + kTemplateRateColumns - 1, extraColumns, kRateHeadingRow,
                kPayRow);
    });
    const int rateLoop = g_.value(
        134, [&] { return rateCount; }, 1);
    {
        Guarded::Repeated loop(g_);
        for (int i = 1; i <= rateLoop; ++i)
            g_.run(136, [&] {
                app()
                    .Cells(row_, kFirstRateColumn + i - 1)
                    .setValue(record_.rates.at(i - 1).description);
            });
    }
    g_.run(140, [&] { row_ = kRateRow; });
    // A rate the pay cannot be computed with is not written, so its pay shows
    // 0.00 instead of an error value, and all such rates get one report.
    std::vector<RejectedRate> rejected;
    {
        Guarded::Repeated loop(g_);
        for (int i = 1; i <= rateLoop; ++i)
            g_.run(144, [&] {
                const RateEntry& entry = record_.rates.at(i - 1);
                auto rateCell = app().Cells(row_, kFirstRateColumn + i - 1);
                if (const auto why = rateRefusal(entry.rate, rateCell.typedNumber(entry.rate))) {
                    rejected.push_back({entry, *why});
                    return;
                }
                rateCell.setValue(entry.rate);
            });
    }
    g_.run(kRejectedRatesStatement, [&] {
        if (!rejected.empty()) throw Failure(rejectedRatesMessage(rejected));
    });
}

// Entries are gathered first: repeated ones share a cell, entries without a
// place on the sheet are never written.
void GenerationSteps::fillHours() {
    g_.run(148, [&] { row_ = kFirstDayRow; });
    g_.run(150, [&] { column_ = kFirstRateColumn; });
    const int rateColumns = std::max(static_cast<int>(record_.rates.size()), kTemplateRateColumns);
    EntryPlacement placement;
    g_.run(152, [&] { placement = placeEntries(record_.hours, rateColumns); });
    result_.leftOut = placement.leftOut;
    // Thousands of cells failing alike give one report with the count.
    Guarded::Repeated loop(g_);
    for (const PlacedCell& placed : placement.cells) {
        g_.run(154, [&] {
            auto cell = app().Cells(row_ + (placed.row - kFirstDayRow),
                                    column_ + (placed.column - kFirstRateColumn));
            if (placed.entries.size() == 1) {
                cell.setValue(placed.entries.front()->hours);
                return;
            }
            QStringList hours;
            hours.reserve(static_cast<qsizetype>(placed.entries.size()));
            for (const HoursEntry* e : placed.entries) hours << e->hours;
            const QStringList notCounted = cell.setSum(hours);
            if (notCounted.isEmpty()) return;
            for (const HoursEntry* e : placed.entries)
                if (notCounted.contains(e->hours)) result_.leftOut.push_back(*e);
        });
    }
}

bool GenerationSteps::saveResult() {
    g_.run(158, [&] { app().ActiveWorkbook().Worksheets(1).Select(); });
    g_.run(160, [&] { app().Cells(1, 1).Select(); });
    g_.run(166, [&] { result_.resultPath = drawResultName(folderPath_, hooks_.drawDigit); });
    if (!g_.run(182, [&] {
            // The result lives in the private temp folder, gone with the program.
            require(workbook_, "the template workbook")
                .SaveAs(result_.resultPath, automation::kXlsFormat,
                        AtomicFileWriter::Flush::ForThisSessionOnly);
        }))
        return false;
    g_.run(186, [&] { require(workbook_, "the workbook").Close(); });
    workbook_ = nullptr;
    g_.run(188, [&] { app().Quit(); });
    g_.run(190, [&] { engine_.reset(); });
    return true;
}

// A second instance opens the saved workbook and draws its sheet to the
// snapshot file, which becomes the preview's picture.
void GenerationSteps::drawPicture() {
    std::unique_ptr<Application> instance2;
    Workbook* shown = nullptr;
    auto second = [&]() -> Application& {
        return require(instance2.get(), "the second engine instance");
    };
    g_.run(192, [&] { instance2 = automation::openInNewEngine(result_.resultPath); });
    g_.run(194, [&] { setBusy(true); });
    g_.run(196, [&] { shown = &second().Workbooks()(second().Workbooks().count()); });
    g_.run(198, [&] {
        automation::saveCellsActivesheet(
            shown, snapshotPath_, [this](const StatementFailure& f) { keep(f); },
            hooks_.pictureRatio);
    });
    // Once it also switched the instance's alerts off; the check that the
    // instance is still there is what remains of it.
    g_.run(200, [&] { second(); });
    g_.run(202, [&] { require(shown, "the shown workbook").Close(); });
    g_.run(204, [&] { second().Quit(); });
    instance2.reset();

    g_.run(206, [&] {
        QImage picture = automation::readBitmapFile(snapshotPath_);
        if (picture.isNull())
            throw Failure(QStringLiteral("Cannot load the picture file %1.").arg(snapshotPath_));
        // A bitmap file keeps the resolution but not the ratio it was drawn at.
        picture.setDevicePixelRatio(hooks_.pictureRatio);
        result_.picture = picture;
    });
}

void GenerationSteps::handOver() {
    g_.run(208, [&] { setBusy(false); });
    g_.run(212, [&] {
        if (hooks_.handOver) hooks_.handOver(result_.picture, result_.resultPath);
        result_.handedOver = true;
    });
    g_.run(214, [&] {
        if (hooks_.hideMainWindow) hooks_.hideMainWindow();
    });
    // The picture file is tens of megabytes for a wide sheet: the run does not
    // wait for the kernel to give its pages back.
    g_.run(216, [&] { removeFileReleasingLater(snapshotPath_); });
    g_.run(218, [&] { removeFile(templatePath_); });
}

}  // namespace

GenerationResult runGeneration(const TimesheetRecord& record, const PrivateTempFolder& folder,
                               const GenerationHooks& hooks) {
    GenerationSteps steps(record, folder, hooks);
    return steps.run();
}

}  // namespace tallowby
