#include <gtest/gtest.h>

#include "tests/support/template_loading.h"
#include "workbook/engine/formula/formula_text.h"
#include "workbook/engine/formula/recalculate.h"

namespace tallowby::engine {
namespace {

using formula::cellName;
using formula::formulaText;

class TemplateFormulas : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(testing::loadTemplate(book));
        ASSERT_FALSE(book.sheets.empty());
    }
    std::string textAt(uint16_t row, uint16_t col) {
        const Cell* cell = book.sheets[0].find(row, col);
        if (!cell || !cell->hasFormula()) return "(no formula)";
        return formulaText(cell->formula, {row, col}, &book);
    }
    const CellValue& valueAt(uint16_t row, uint16_t col) {
        return book.sheets[0].at(row, col).value;
    }
    Workbook book;
};

TEST_F(TemplateFormulas, TheTemplateHoldsTheTimesheetFormulas) {
    EXPECT_EQ(textAt(11, 0), "=G9");
    for (uint16_t r = 12; r <= 17; ++r) EXPECT_EQ(textAt(r, 0), "=" + cellName(r - 1, 0) + "+1");
    for (uint16_t r = 11; r <= 17; ++r)
        EXPECT_EQ(textAt(r, 8), "=SUM(" + cellName(r, 1) + ":" + cellName(r, 7) + ")");
    for (uint16_t c = 1; c <= 8; ++c)
        EXPECT_EQ(textAt(18, c), "=SUM(" + cellName(11, c) + ":" + cellName(17, c) + ")");
    for (uint16_t c = 1; c <= 7; ++c)
        EXPECT_EQ(textAt(20, c), "=" + cellName(19, c) + "*" + cellName(18, c) + "*24");
    EXPECT_EQ(textAt(20, 8), "=SUM(B21:H21)");
    EXPECT_EQ(textAt(22, 3), "=I19");
    EXPECT_EQ(textAt(23, 3), "=I21");
}

TEST_F(TemplateFormulas, EmptyTemplateComputesZeroPayAndTheWeekDays) {
    const auto summary = formula::recalculate(book);
    EXPECT_EQ(summary.formulas, 7u + 7u + 8u + 7u + 1u + 2u);
    EXPECT_EQ(summary.circular, 0u);
    EXPECT_EQ(valueAt(17, 0), CellValue::fromNumber(6));  // no week start: 0 + 6
    EXPECT_EQ(valueAt(23, 3), CellValue::fromNumber(0));
}

TEST_F(TemplateFormulas, FilledWeekGivesTotalsComputedIndependently) {
    testing::SampleWeek::fill(book);
    formula::recalculate(book);
    EXPECT_EQ(valueAt(11, 0), CellValue::fromNumber(testing::SampleWeek::kWeekStart));
    EXPECT_EQ(valueAt(17, 0), CellValue::fromNumber(testing::SampleWeek::kWeekStart + 6));
    EXPECT_NEAR(valueAt(22, 3).number * 1440, testing::SampleWeek::expectedMinutes(), 1e-6);
    EXPECT_NEAR(valueAt(23, 3).number, testing::SampleWeek::expectedPay(), 1e-9);
    EXPECT_NEAR(valueAt(20, 1).number, 40 * 11.5 - 4 * 11.5, 1e-9);  // 36 regular hours
    // A day total: Tuesday, 8 h + 2:30.
    EXPECT_NEAR(valueAt(12, 8).number * 24, 10.5, 1e-9);
}

TEST_F(TemplateFormulas, SavedFileCarriesTheComputedResults) {
    testing::SampleWeek::fill(book);
    formula::recalculate(book);
    const Workbook reread = readWorkbook(writeWorkbook(book, WriteOptions{true}));
    const Cell* pay = reread.sheets[0].find(23, 3);
    ASSERT_NE(pay, nullptr);
    EXPECT_NEAR(pay->value.number, testing::SampleWeek::expectedPay(), 1e-9);
    EXPECT_TRUE(pay->hasFormula());
    EXPECT_EQ(pay->formulaFlags & 1, 1);  // always recalculate
}

}  // namespace
}  // namespace tallowby::engine
