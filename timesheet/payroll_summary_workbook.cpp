#include "timesheet/payroll_summary_workbook.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/failure.h"
#include "workbook/automation/application.h"

namespace tallowby::payroll_summary {

namespace {

using automation::Application;

constexpr int kTitleRow = 1;
constexpr int kGroupRow = 3;
constexpr int kHeadingRow = 4;
constexpr int kFirstDataRow = 5;
constexpr int kEmployeeColumn = 1;
constexpr int kSupervisorColumn = 2;
constexpr int kCompanyColumn = 3;
constexpr int kWeekColumn = 4;
constexpr int kFirstHoursColumn = 5;
// Columns besides the two blocks of rate types: four names, two totals, the file.
constexpr int kFixedColumns = 7;
constexpr int kSheetColumns = 256;
constexpr int kSheetRows = 65536;
constexpr int kMostRateTypes = (kSheetColumns - kFixedColumns) / 2;
constexpr double kMinutesPerDay = 24 * 60;

// The timesheet's own formats: hours, pay per rate, the total pay, the week.
const QString kHoursFormat = QStringLiteral("[h]:mm");
const QString kPayFormat = QStringLiteral("#,##0.00");
const QString kTotalPayFormat =
    QStringLiteral("_($* #,##0.00_);_($* (#,##0.00);_($* \"-\"??_);_(@_)");
const QString kWeekFormat = QStringLiteral("m/d/yy");

const QString kEmployeeHeading = QStringLiteral("Employee");
const QString kSupervisorHeading = QStringLiteral("Supervisor");
const QString kCompanyHeading = QStringLiteral("Company");
const QString kWeekHeading = QStringLiteral("Week Start");
const QString kTotalHoursHeading = QStringLiteral("Total Hours");
const QString kTotalPayHeading = QStringLiteral("Total Pay");
const QString kSourceHeading = QStringLiteral("Timesheet");
const QString kGrandTotalLabel = QStringLiteral("Grand Total");

// Where each column of a summary with `rateTypes` rate types lies, 1-based.
struct Columns {
    int rateTypes = 0;
    int hours(int i) const { return kFirstHoursColumn + i; }
    int totalHours() const { return kFirstHoursColumn + rateTypes; }
    int pay(int i) const { return totalHours() + 1 + i; }
    int totalPay() const { return totalHours() + 1 + rateTypes; }
    int source() const { return totalPay() + 1; }
};

double widthFor(const QString& text, double least, double most) {
    return std::clamp(static_cast<double>(text.size()) + 2, least, most);
}

// Builds the summary on a new workbook of the engine instance.
void build(Application& app, const PayrollSummary& summary) {
    const int rateTypes = static_cast<int>(summary.rateTypes.size());
    if (rateTypes > kMostRateTypes)
        throw Failure(QStringLiteral("The payroll summary has room for at most %1 rate types (a "
                                     "sheet has 256 columns), but the timesheets have %2.")
                          .arg(kMostRateTypes)
                          .arg(rateTypes));
    const int rowCount = static_cast<int>(summary.rows.size());
    if (rowCount > kSheetRows - kFirstDataRow)
        throw Failure(QStringLiteral("The payroll summary has room for at most %1 timesheets "
                                     "(a sheet has 65536 rows), but there are %2.")
                          .arg(kSheetRows - kFirstDataRow)
                          .arg(rowCount));
    const Columns col{rateTypes};
    automation::Workbook& book = app.Workbooks().Add();
    automation::Worksheet& sheet = book.Worksheets(1);
    sheet.setName(QString::fromLatin1(kSummaryTitle));

    auto heading = [&](int row, int column, const QString& text) {
        auto cell = app.Cells(row, column);
        cell.setText(text);
        cell.setBold(true);
    };
    heading(kTitleRow, 1, QString::fromLatin1(kSummaryTitle));
    if (rateTypes > 0) {
        heading(kGroupRow, col.hours(0), QStringLiteral("Hours"));
        heading(kGroupRow, col.pay(0), QStringLiteral("Pay"));
    }
    heading(kHeadingRow, kEmployeeColumn, kEmployeeHeading);
    heading(kHeadingRow, kSupervisorColumn, kSupervisorHeading);
    heading(kHeadingRow, kCompanyColumn, kCompanyHeading);
    heading(kHeadingRow, kWeekColumn, kWeekHeading);
    for (int i = 0; i < rateTypes; ++i) {
        heading(kHeadingRow, col.hours(i), summary.rateTypes[i]);
        heading(kHeadingRow, col.pay(i), summary.rateTypes[i]);
    }
    heading(kHeadingRow, col.totalHours(), kTotalHoursHeading);
    heading(kHeadingRow, col.totalPay(), kTotalPayHeading);
    heading(kHeadingRow, col.source(), kSourceHeading);

    // A total over a row or a column: a SUM formula, or 0 when there is nothing to sum.
    auto total = [&](int row, int column, int firstRow, int firstColumn, int lastRow,
                     int lastColumn, const QString& format) {
        auto cell = app.Cells(row, column);
        if (lastRow >= firstRow && lastColumn >= firstColumn)
            cell.setSumFormula(firstRow, firstColumn, lastRow, lastColumn);
        else
            cell.setNumber(0);
        cell.setNumberFormat(format);
    };

    double widths[3] = {widthFor(kEmployeeHeading, 12, 40), widthFor(kSupervisorHeading, 12, 40),
                        widthFor(kCompanyHeading, 12, 40)};
    double sourceWidth = widthFor(kSourceHeading, 12, 60);
    for (int r = 0; r < rowCount; ++r) {
        const SummaryRow& data = summary.rows[static_cast<size_t>(r)];
        const int row = kFirstDataRow + r;
        app.Cells(row, kEmployeeColumn).setText(data.employee);
        app.Cells(row, kSupervisorColumn).setText(data.supervisor);
        app.Cells(row, kCompanyColumn).setText(data.company);
        auto week = app.Cells(row, kWeekColumn);
        week.setValue(data.weekStart);
        week.setNumberFormat(kWeekFormat);
        for (int i = 0; i < rateTypes; ++i) {
            const auto found = data.rates.find(summary.rateTypes[i]);
            if (found == data.rates.end()) continue;  // not a rate type of this timesheet
            auto hours = app.Cells(row, col.hours(i));
            hours.setNumber(static_cast<double>(found->second.minutes) / kMinutesPerDay);
            hours.setNumberFormat(kHoursFormat);
            auto pay = app.Cells(row, col.pay(i));
            pay.setNumber(found->second.pay);
            pay.setNumberFormat(kPayFormat);
        }
        total(row, col.totalHours(), row, col.hours(0), row, col.hours(rateTypes - 1),
              kHoursFormat);
        total(row, col.totalPay(), row, col.pay(0), row, col.pay(rateTypes - 1), kTotalPayFormat);
        app.Cells(row, col.source()).setText(data.source);
        widths[0] = std::max(widths[0], widthFor(data.employee, 12, 40));
        widths[1] = std::max(widths[1], widthFor(data.supervisor, 12, 40));
        widths[2] = std::max(widths[2], widthFor(data.company, 12, 40));
        sourceWidth = std::max(sourceWidth, widthFor(data.source, 12, 60));
    }

    const int totalRow = kFirstDataRow + rowCount;
    const int lastDataRow = totalRow - 1;
    heading(totalRow, kEmployeeColumn, kGrandTotalLabel);
    for (int i = 0; i < rateTypes; ++i) {
        total(totalRow, col.hours(i), kFirstDataRow, col.hours(i), lastDataRow, col.hours(i),
              kHoursFormat);
        total(totalRow, col.pay(i), kFirstDataRow, col.pay(i), lastDataRow, col.pay(i), kPayFormat);
    }
    total(totalRow, col.totalHours(), kFirstDataRow, col.totalHours(), lastDataRow,
          col.totalHours(), kHoursFormat);
    total(totalRow, col.totalPay(), kFirstDataRow, col.totalPay(), lastDataRow, col.totalPay(),
          kTotalPayFormat);
    for (int column = col.hours(0); column <= col.totalPay(); ++column)
        app.Cells(totalRow, column).setBold(true);

    sheet.setColumnWidth(kEmployeeColumn, widths[0]);
    sheet.setColumnWidth(kSupervisorColumn, widths[1]);
    sheet.setColumnWidth(kCompanyColumn, widths[2]);
    sheet.setColumnWidth(kWeekColumn, widthFor(kWeekHeading, 10, 12));
    for (int i = 0; i < rateTypes; ++i) {
        sheet.setColumnWidth(col.hours(i), widthFor(summary.rateTypes[i], 9, 24));
        sheet.setColumnWidth(col.pay(i), widthFor(summary.rateTypes[i], 10, 24));
    }
    sheet.setColumnWidth(col.totalHours(), widthFor(kTotalHoursHeading, 10, 12));
    sheet.setColumnWidth(col.totalPay(), 14);
    sheet.setColumnWidth(col.source(), sourceWidth);
}

std::unique_ptr<Application> builtSummary(const PayrollSummary& summary) {
    std::unique_ptr<Application> app = automation::CreateApplication();
    build(*app, summary);
    return app;
}

QDate dateOfSerial(double serial) {
    // The 1900 date system; the summaries this program writes use no other.
    if (!std::isfinite(serial) || serial < 61 || serial > 2958465) return {};
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(serial)));
}

// Throws unless the open workbook's active sheet is laid out as a summary;
// returns its number of rate types.
int summaryLayout(Application& app, const QString& path) {
    auto refuse = [&](const QString& why) {
        return Failure(QStringLiteral("%1 is not a payroll summary made by tallowby-fill: %2")
                           .arg(QFileInfo(path).fileName(), why));
    };
    if (app.Cells(kTitleRow, 1).text() != QLatin1String(kSummaryTitle))
        throw refuse(QStringLiteral("its cell A1 is not \"%1\"").arg(QLatin1String(kSummaryTitle)));
    const int lastColumn = app.ActiveWorkbook().ActiveSheet().UsedRangeLastColumn();
    if (lastColumn < kFixedColumns || (lastColumn - kFixedColumns) % 2 != 0)
        throw refuse(QStringLiteral("its columns do not pair hours with pay"));
    const Columns col{(lastColumn - kFixedColumns) / 2};
    const std::pair<int, QString> headings[] = {
        {kEmployeeColumn, kEmployeeHeading},    {kSupervisorColumn, kSupervisorHeading},
        {kCompanyColumn, kCompanyHeading},      {kWeekColumn, kWeekHeading},
        {col.totalHours(), kTotalHoursHeading}, {col.totalPay(), kTotalPayHeading},
        {col.source(), kSourceHeading}};
    for (const auto& [column, text] : headings)
        if (app.Cells(kHeadingRow, column).text() != text)
            throw refuse(QStringLiteral("row %1 has no heading \"%2\"").arg(kHeadingRow).arg(text));
    for (int i = 0; i < col.rateTypes; ++i)
        if (app.Cells(kHeadingRow, col.hours(i)).text() !=
            app.Cells(kHeadingRow, col.pay(i)).text())
            throw refuse(QStringLiteral("the hours and pay columns of its rate types differ"));
    const int lastRow = app.ActiveWorkbook().ActiveSheet().UsedRangeLastRow();
    if (lastRow < kFirstDataRow || app.Cells(lastRow, kEmployeeColumn).text() != kGrandTotalLabel)
        throw refuse(QStringLiteral("its last row is not the \"%1\"").arg(kGrandTotalLabel));
    return col.rateTypes;
}

}  // namespace

QStringList writeSummaryWorkbook(const PayrollSummary& summary, const QString& path,
                                 const QString& scratchFolder) {
    std::unique_ptr<Application> app = builtSummary(summary);
    app->setScratchFolder(scratchFolder);
    const bool xlsx =
        QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
    const QStringList warnings =
        app->ActiveWorkbook().SaveAs(path, xlsx ? automation::kXlsxFormat : automation::kXlsFormat);
    app->Quit();
    return warnings;
}

QImage summaryPicture(const PayrollSummary& summary, double pixelRatio) {
    std::unique_ptr<Application> app = builtSummary(summary);
    return app->ActiveWorkbook().ActiveSheet().UsedRangePicture(pixelRatio);
}

std::vector<SummaryRow> readSummaryWorkbook(const QString& path) {
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
        throw Failure(QStringLiteral("%1: summaries are read back from the Excel 97-2003 format "
                                     "(.xls) only; write the summaries to merge as .xls")
                          .arg(QFileInfo(path).fileName()));
    std::unique_ptr<Application> app = automation::CreateApplication();
    app->Workbooks().Open(path, true);
    const Columns col{summaryLayout(*app, path)};
    const int lastDataRow = app->ActiveWorkbook().ActiveSheet().UsedRangeLastRow() - 1;
    std::vector<QString> rateTypes;
    for (int i = 0; i < col.rateTypes; ++i)
        rateTypes.push_back(app->Cells(kHeadingRow, col.hours(i)).text());

    std::vector<SummaryRow> rows;
    auto readRow = [&](const automation::RowReading& cells) {
        SummaryRow data;
        data.employee = cells.text(kEmployeeColumn);
        data.supervisor = cells.text(kSupervisorColumn);
        data.company = cells.text(kCompanyColumn);
        const std::optional<double> week = cells.number(kWeekColumn);
        data.weekStart =
            week ? dateOfSerial(*week) : QDate::fromString(cells.text(kWeekColumn), Qt::ISODate);
        data.source = cells.text(col.source());
        for (int i = 0; i < col.rateTypes; ++i) {
            const std::optional<double> hours = cells.number(col.hours(i));
            if (!hours) continue;
            const std::optional<double> pay = cells.number(col.pay(i));
            if (!std::isfinite(*hours) || *hours < 0 || (pay && !std::isfinite(*pay)))
                throw Failure(QStringLiteral("%1: row %2 holds hours or pay that are no amount")
                                  .arg(QFileInfo(path).fileName())
                                  .arg(cells.row()));
            RateFigures& figures = data.rates[rateTypes[static_cast<size_t>(i)]];
            figures.minutes += std::llround(*hours * kMinutesPerDay);
            figures.pay += pay.value_or(0.0);
        }
        rows.push_back(std::move(data));
    };
    app->ActiveWorkbook().ActiveSheet().ReadRows(kFirstDataRow, lastDataRow, col.source(), readRow);
    app->Quit();
    return rows;
}

bool isSummaryWorkbook(const QString& path) {
    try {
        std::unique_ptr<Application> app = automation::CreateApplication();
        app->Workbooks().Open(path, true);
        summaryLayout(*app, path);
        app->Quit();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace tallowby::payroll_summary
