#pragma once

#include <array>
#include <string>

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

    static void setText(Sheet& sheet, uint16_t row, uint16_t col, const std::string& text) {
        sheet.at(row, col).value = CellValue::fromText(text);
    }

    // Fills the first sheet; cells keep their template formats.
    static void fill(Workbook& workbook) {
        Sheet& sheet = workbook.sheets.at(0);
        setText(sheet, 3, 0, "Marrowick Joinery Ltd");
        setText(sheet, 6, 0, "14 Mill Lane");
        setText(sheet, 7, 0, "Hebden Bridge, HX7 8AD");
        setText(sheet, 8, 0, "01422 845 100");
        setText(sheet, 4, 6, "Ada Pennington");
        setText(sheet, 6, 6, "Tom Ashworth");
        sheet.at(8, 6).value = CellValue::fromNumber(kWeekStart);
        for (size_t c = 0; c < kRates.size(); ++c)
            sheet.at(19, static_cast<uint16_t>(1 + c)).value = CellValue::fromNumber(kRates[c]);
        for (size_t d = 0; d < kMinutes.size(); ++d)
            for (size_t c = 0; c < kMinutes[d].size(); ++c)
                if (kMinutes[d][c] > 0)
                    sheet.at(static_cast<uint16_t>(11 + d), static_cast<uint16_t>(1 + c)).value =
                        CellValue::fromNumber(kMinutes[d][c] / 1440.0);
    }
};

}  // namespace tallowby::engine::testing
