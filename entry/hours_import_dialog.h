#pragma once

#include <QDialog>
#include <QLocale>
#include <array>

#include "timesheet/import/hours_import_plan.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tallowby {

// Shows a tracker's CSV export before its rows join the hours list: the
// first rows, the columns found (changeable), the week the rows fall into,
// a rate for each unknown type, and what will be imported or left out.
// The decisions live in `HoursImportPlan`; this window only shows and asks.
class HoursImportDialog : public QDialog {
    Q_OBJECT
  public:
    HoursImportDialog(const QString& path, QDate weekStart, std::vector<RateEntry> rates,
                      QWidget* parent = nullptr);

    const HoursImportPlan& plan() const { return plan_; }

    QTableWidget* previewTable_ = nullptr;
    // Date, hours, start, end, type; the first item of each is "(none)".
    std::array<QComboBox*, 5> columnChoices_{};
    QLabel* weekLabel_ = nullptr;
    QPushButton* moveWeekButton_ = nullptr;
    QTableWidget* typeMapping_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QPushButton* importButton_ = nullptr;

  private:
    void fillPreview();
    void fillColumnChoices();
    void fillTypeMapping();
    void showState();
    void onColumnChosen();
    void onMoveWeek();

    HoursImportPlan plan_;
    QLocale locale_;
};

}  // namespace tallowby
