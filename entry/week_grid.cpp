#include "entry/week_grid.h"

#include <QHeaderView>
#include <QLocale>
#include <QScopedValueRollback>
#include <utility>

#include "app/application_title.h"
#include "timesheet/duration_text.h"
#include "ui/prompter.h"

namespace tallowby {

namespace {

QString hoursText(int minutes) {
    return minutes > 0 ? duration_text::format(minutes) : QString();
}

QString payText(const std::optional<double>& pay) {
    return pay ? QLocale().toString(*pay, 'f', 2) : QString();
}

}  // namespace

WeekGrid::WeekGrid(TimesheetLists& lists, week_totals::RateReader readRate, QWidget* parent)
    : QTableWidget(parent), lists_(lists), readRate_(std::move(readRate)) {
    setObjectName(QStringLiteral("WeekGrid"));
    QFont plain = font();
    plain.setBold(false);
    setFont(plain);
    setColumnCount(kPayColumn + 1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setMinimumSectionSize(10);
    verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(this, &QTableWidget::cellChanged, this,
            [this](int row, int column) { onCellChanged(row, column); });
    refresh();
}

QTableWidgetItem* WeekGrid::cell(int row, int column, bool editable) {
    QTableWidgetItem* it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setItem(row, column, it);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    if (it->flags() != flags) it->setFlags(flags);
    // Totals and pay stand out from what is typed.
    QFont cellFont = font();
    cellFont.setBold(!editable);
    if (it->font() != cellFont) it->setFont(cellFont);
    return it;
}

void WeekGrid::refresh() {
    const QScopedValueRollback quiet(refreshing_, true);
    const std::vector<RateEntry>& rates = lists_.rates();
    totals_ = week_totals::compute(rates, lists_.hours(), readRate_);
    const int rateRows = static_cast<int>(rates.size());
    const int totalRow = rateRows;
    setUpdatesEnabled(false);
    setRowCount(rateRows + 1);

    const QLocale locale;
    QStringList columns;
    for (int d = 0; d < week_totals::kDays; ++d) {
        const QDate date = lists_.record().weekStart.addDays(d);
        columns << locale.dayName(date.dayOfWeek(), QLocale::ShortFormat) + QLatin1Char('\n') +
                       locale.toString(date, QStringLiteral("MMM d"));
    }
    columns << QStringLiteral("Total") << QStringLiteral("Pay");
    setHorizontalHeaderLabels(columns);
    QStringList rows;
    for (const RateEntry& rate : rates) rows << rate.description;
    rows << QStringLiteral("Total");
    setVerticalHeaderLabels(rows);

    for (int r = 0; r < rateRows; ++r) {
        const auto ri = static_cast<size_t>(r);
        for (int d = 0; d < week_totals::kDays; ++d)
            cell(r, d, true)->setText(hoursText(totals_.minutes[ri][static_cast<size_t>(d)]));
        cell(r, kTotalColumn, false)->setText(hoursText(totals_.rateMinutes[ri]));
        cell(r, kPayColumn, false)->setText(payText(totals_.ratePay[ri]));
    }
    for (int d = 0; d < week_totals::kDays; ++d)
        cell(totalRow, d, false)->setText(hoursText(totals_.dayMinutes[static_cast<size_t>(d)]));
    cell(totalRow, kTotalColumn, false)->setText(hoursText(totals_.weekMinutes));
    cell(totalRow, kPayColumn, false)->setText(payText(totals_.totalPay));
    setUpdatesEnabled(true);
}

void WeekGrid::onCellChanged(int row, int column) {
    if (refreshing_) return;
    if (row < 0 || static_cast<size_t>(row) >= lists_.rates().size() ||
        column >= week_totals::kDays) {
        refresh();
        return;
    }
    const QString typed = item(row, column)->text().trimmed();
    if (typed.isEmpty()) {
        lists_.setCell(column, row, std::nullopt);
    } else if (const std::optional<int> minutes = duration_text::parse(typed)) {
        lists_.setCell(column, row, *minutes);
    } else {
        refresh();
        prompter().message(this, applicationTitle(),
                           QStringLiteral("Type the hours as 8, 8:30, 830 or %1 (up to 24 hours).")
                               .arg(QLocale().toString(8.5, 'f', 1)),
                           Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return;
    }
    // A cell set to what it held is no step; show the cell as the list has it.
    refresh();
}

}  // namespace tallowby
