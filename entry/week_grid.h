#pragma once

#include <QTableWidget>

#include "timesheet/timesheet_lists.h"
#include "timesheet/week_totals.h"

namespace tallowby {

// The week at a glance: one row per rate type and one column per day (headed
// with its date), the hours of each day and type summed in the cells, then
// the totals per type, per day and for the week, and the pay. Typing a
// duration into a cell sets that day and type to it; an empty cell or 0
// removes its hours. It follows every change of the lists.
class WeekGrid : public QTableWidget {
    Q_OBJECT
  public:
    WeekGrid(TimesheetLists& lists, week_totals::RateReader readRate, QWidget* parent = nullptr);

    // Redraws from the lists now (the lists' changes call it).
    void refresh();

    const week_totals::WeekTotals& totals() const { return totals_; }
    static constexpr int kTotalColumn = week_totals::kDays;
    static constexpr int kPayColumn = week_totals::kDays + 1;

  private:
    void onCellChanged(int row, int column);
    QTableWidgetItem* cell(int row, int column, bool editable);

    TimesheetLists& lists_;
    week_totals::RateReader readRate_;
    week_totals::WeekTotals totals_;
    bool refreshing_ = false;
};

}  // namespace tallowby
