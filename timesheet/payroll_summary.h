#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <vector>

#include "timesheet/timesheet_record.h"
#include "timesheet/week_totals.h"

// The payroll summary: one row per timesheet with its hours per rate type,
// total hours and total pay, as the timesheet's own workbook shows them.
namespace tallowby::payroll_summary {

// One rate type's figures in one timesheet.
struct RateFigures {
    int64_t minutes = 0;
    double pay = 0;  // 0 when the rate is empty or cannot be written, as the sheet shows it
    bool operator==(const RateFigures&) const = default;
};

struct SummaryRow {
    QString employee;
    QString supervisor;
    QString company;
    QDate weekStart;
    QString source;  // the timesheet file's name, without its folder
    // By rate description (outer spaces aside); rate types of one timesheet
    // that share a description share one entry.
    std::map<QString, RateFigures> rates;

    int64_t totalMinutes() const;
    // The sum of the rate types' pay, in description order.
    double totalPay() const;
    bool operator==(const SummaryRow&) const = default;
};

struct PayrollSummary {
    // The rate descriptions of every row, one column each, in columnOrder().
    QStringList rateTypes;
    std::vector<SummaryRow> rows;  // in rowOrder()

    int64_t totalMinutes() const;
    double totalPay() const;
};

// Hours and pay per rate type as the timesheet's workbook shows them: entries
// are placed as the generation run places them (entries with no place on the
// sheet or hours that are no duration are left out); the sheet's seven
// template columns keep their headings beyond the typed rates, so hours placed
// there count under those headings; a rate the sheet would not write pays
// nothing. `readRate` reads a rate as typed input (the week's totals use it).
SummaryRow rowOf(const TimesheetRecord& record, const QString& source,
                 const week_totals::RateReader& readRate);

// Employee (case aside), then week start, then source name, then the exact
// employee, company and supervisor. Names compare by their characters, case
// aside first, never by the machine's locale, so shards sort alike anywhere.
bool rowOrder(const SummaryRow& a, const SummaryRow& b);
// Rate descriptions alphabetically, case aside first: a column's place does not
// depend on which timesheets a shard happened to hold, so merged shard
// summaries have the columns of the summary of all.
bool columnOrder(const QString& a, const QString& b);

// The rows sorted and their rate types gathered into columns. Merging
// shards is the same call over all their rows.
PayrollSummary summarize(std::vector<SummaryRow> rows);

}  // namespace tallowby::payroll_summary
