#pragma once

// The timesheet template's layout, by role: every cell and range the program
// writes into or reads back. Rows and columns are 1-based, as the workbook
// facade's Cells(row, column) takes them; `zeroBased` gives the engine's
// indexes. Moving a cell of the template means changing it here only.
namespace tallowby::template_layout {

struct CellPosition {
    int row;
    int column;
};

// The engine's 0-based row and column of a position.
struct ZeroBased {
    unsigned short row;
    unsigned short column;
};
constexpr ZeroBased zeroBased(CellPosition cell) {
    return {static_cast<unsigned short>(cell.row - 1),
            static_cast<unsigned short>(cell.column - 1)};
}

// The heading: the company and its address lines in column A, the people and
// the week in column G.
inline constexpr CellPosition kCompany{4, 1};     // A4
inline constexpr CellPosition kAddress{7, 1};     // A7
inline constexpr CellPosition kCity{8, 1};        // A8
inline constexpr CellPosition kPhone{9, 1};       // A9
inline constexpr CellPosition kEmployee{5, 7};    // G5
inline constexpr CellPosition kSupervisor{7, 7};  // G7
inline constexpr CellPosition kWeekStart{9, 7};   // G9

// The rate block: a heading row of rate descriptions, one row per day of the
// week, the hours totals, the rates and the pay per rate, over one column
// per rate type from column B; the totals column follows the last rate column.
inline constexpr int kRateHeadingRow = 11;
inline constexpr int kFirstDayRow = 12;  // the week-start day
inline constexpr int kDaysInWeek = 7;
inline constexpr int kHoursTotalsRow = 19;
inline constexpr int kRateRow = 20;
inline constexpr int kPayRow = 21;
inline constexpr int kFirstRateColumn = 2;  // B
inline constexpr int kTemplateRateColumns = 7;
inline constexpr int kTotalsColumn =
    kFirstRateColumn + kTemplateRateColumns;  // I, before extra rates

// The grand totals with the template's seven rate columns: all hours, all pay.
inline constexpr CellPosition kGrandTotalHours{kHoursTotalsRow, kTotalsColumn};  // I19
inline constexpr CellPosition kGrandTotalPay{kPayRow, kTotalsColumn};            // I21

// The most rate columns a sheet of 256 columns holds beside the day column
// and the totals column.
inline constexpr int kMostRateEntries = 254;

}  // namespace tallowby::template_layout
