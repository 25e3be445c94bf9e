#pragma once

#include <array>
#include <string>

#include "timesheet/template_layout.h"
#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::testing {

// One week of sample timesheet values, placed on the timesheet template's
// cells directly (what typed input would store): rates as numbers, hours as
// fractions of a day, the week start as a date serial.
struct SampleWeek {
    static constexpr double kWeekStart = 46363;  // Monday 7 December 2026
    static constexpr std::array<double, 5> kRates = {11.50, 17.25, 11.50, 11.50, 23.00};
    // Minutes per day (rows 12-18) and rate column (B-F).
    static constexpr std::array<std::array<int, 5>, 7> kMinutes = {{
        {480, 0, 0, 0, 0},
        {480, 150, 0, 0, 0},
        {240, 0, 240, 0, 0},
        {480, 75, 0, 0, 0},
        {480, 0, 0, 0, 0},
        {0, 0, 0, 0, 0},
        {0, 0, 0, 0, 300},
    }};

    // Sum of pay computed here, not by the engine: minutes / 60 x rate.
    static double expectedPay() {
        double pay = 0;
        for (const auto& day : kMinutes)
            for (size_t c = 0; c < day.size(); ++c) pay += day[c] / 60.0 * kRates[c];
        return pay;
    }
    static int expectedMinutes() {
        int total = 0;
        for (const auto& day : kMinutes)
            for (int m : day) total += m;
        return total;
    }

    static void setText(Sheet& sheet, template_layout::CellPosition at, const std::string& text) {
        const auto cell = template_layout::zeroBased(at);
        sheet.at(cell.row, cell.column).value = CellValue::fromText(text);
    }

    // Fills the first sheet; cells keep their template formats.
    static void fill(Workbook& workbook) {
        using namespace template_layout;
        Sheet& sheet = workbook.sheets.at(0);
        setText(sheet, kCompany, "Marrowick Joinery Ltd");
        setText(sheet, kAddress, "14 Mill Lane");
        setText(sheet, kCity, "Hebden Bridge, HX7 8AD");
        setText(sheet, kPhone, "01422 845 100");
        setText(sheet, kEmployee, "Ada Pennington");
        setText(sheet, kSupervisor, "Tom Ashworth");
        const auto week =
            zeroBased(template_layout::kWeekStart);  // the cell; kWeekStart is the date
        sheet.at(week.row, week.column).value = CellValue::fromNumber(SampleWeek::kWeekStart);
        const auto firstRate = zeroBased({kRateRow, kFirstRateColumn});
        for (size_t c = 0; c < kRates.size(); ++c)
            sheet.at(firstRate.row, static_cast<uint16_t>(firstRate.column + c)).value =
                CellValue::fromNumber(kRates[c]);
        const auto firstHours = zeroBased({kFirstDayRow, kFirstRateColumn});
        for (size_t d = 0; d < kMinutes.size(); ++d)
            for (size_t c = 0; c < kMinutes[d].size(); ++c)
                if (kMinutes[d][c] > 0)
                    sheet
                        .at(static_cast<uint16_t>(firstHours.row + d),
                            static_cast<uint16_t>(firstHours.column + c))
                        .value = CellValue::fromNumber(kMinutes[d][c] / 1440.0);
    }
};

}  // namespace tallowby::engine::testing
