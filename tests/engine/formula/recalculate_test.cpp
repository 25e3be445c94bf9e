#include "workbook/engine/formula/recalculate.h"

#include <gtest/gtest.h>

#include "tests/engine/formula/token_builder.h"
#include "workbook/engine/formula/formula_operand.h"

namespace tallowby::engine {
namespace {

using formula::recalculate;
using testing::Tokens;

class Recalculation : public ::testing::Test {
  protected:
    Recalculation() { book.sheets.resize(1); }
    Sheet& sheet() { return book.sheets[0]; }
    void setFormula(uint16_t row, uint16_t col, const Tokens& t) {
        sheet().at(row, col).formula = t;
    }
    void setNumber(uint16_t row, uint16_t col, double v) {
        sheet().at(row, col).value = CellValue::fromNumber(v);
    }
    const CellValue& value(uint16_t row, uint16_t col) { return sheet().at(row, col).value; }
    Workbook book;
};

TEST_F(Recalculation, FormulasSeeResultsOfFormulasStoredAfterThem) {
    // A1 = B5 * 2, with B5 = SUM(B1:B4) and B1 = C1 + 1: the map order is A1, B1, B5.
    setFormula(0, 0, Tokens().ref(4, 1).integer(2).mul());
    setFormula(4, 1, Tokens().area(0, 1, 3, 1).attrSum());
    setFormula(0, 1, Tokens().ref(0, 2).integer(1).add());
    setNumber(0, 2, 9);
    setNumber(2, 1, 5);
    const auto summary = recalculate(book);
    EXPECT_EQ(summary.formulas, 3u);
    EXPECT_EQ(summary.circular, 0u);
    EXPECT_EQ(value(0, 1), CellValue::fromNumber(10));
    EXPECT_EQ(value(4, 1), CellValue::fromNumber(15));
    EXPECT_EQ(value(0, 0), CellValue::fromNumber(30));

    // A changed input shows after the next recalculation.
    setNumber(0, 2, 19);
    recalculate(book);
    EXPECT_EQ(value(0, 0), CellValue::fromNumber(50));
}

TEST_F(Recalculation, CircularReferencesAreErrorsAndTheirDependentsToo) {
    setFormula(0, 0, Tokens().ref(0, 0).integer(1).add());  // A1 = A1 + 1
    setFormula(1, 0, Tokens().ref(2, 0));                   // A2 = A3
    setFormula(2, 0, Tokens().area(0, 1, 5, 1).attrSum());  // A3 = SUM(B1:B6)
    setFormula(3, 1,
               Tokens().ref(1, 0).integer(1).add());  // B4 = A2 + 1: closes A2 -> A3 -> B4 -> A2
    setFormula(5, 5,
               Tokens().ref(1, 0).integer(2).mul());  // F6 = A2 * 2: outside, depends on the cycle
    setFormula(6, 5, Tokens().integer(7));            // G7: unrelated
    const auto summary = recalculate(book);
    EXPECT_EQ(summary.circular, 4u);
    const CellValue circular = CellValue::fromError(formula::kCircularReferenceError);
    EXPECT_EQ(value(0, 0), circular);
    EXPECT_EQ(value(1, 0), circular);
    EXPECT_EQ(value(2, 0), circular);
    EXPECT_EQ(value(3, 1), circular);
    EXPECT_EQ(value(5, 5), circular);
    EXPECT_EQ(value(6, 5), CellValue::fromNumber(7));
}

TEST_F(Recalculation, LongChainsNeitherOverflowTheStackNorTakeLong) {
    // A1 = 1, A(n) = A(n-1) + 1 for 60000 rows, stored so the map order is the worst case.
    setNumber(0, 0, 1);
    for (uint16_t r = 1; r < 60000; ++r) setFormula(r, 0, Tokens().ref(r - 1, 0).integer(1).add());
    setFormula(60000, 1, Tokens().ref(59999, 0));
    recalculate(book);
    EXPECT_EQ(value(59999, 0), CellValue::fromNumber(60000));
    EXPECT_EQ(value(60000, 1), CellValue::fromNumber(60000));
}

TEST_F(Recalculation, SharedFormulaCellsKeepTheirCachedValues) {
    Cell& cell = sheet().at(3, 3);
    cell.formula = Tokens().byte(0x01).word(3).word(3);
    cell.value = CellValue::fromNumber(12.5);
    recalculate(book);
    EXPECT_EQ(value(3, 3), CellValue::fromNumber(12.5));
}

TEST_F(Recalculation, OtherSheetsAreComputedThroughThreeDReferences) {
    book.sheets.resize(2);
    book.globalRecords.push_back(RawRecord{0x01AE, {2, 0, 0x01, 0x04}});
    book.globalRecords.push_back(RawRecord{0x0017, {1, 0, 0, 0, 1, 0, 1, 0}});
    book.sheets[1].at(0, 0).formula = Tokens().integer(20).integer(2).div();
    setFormula(0, 0, Tokens().ref3d(0, 0, 0).integer(1).add());
    recalculate(book);
    EXPECT_EQ(value(0, 0), CellValue::fromNumber(11));
}

TEST_F(Recalculation, AbsurdAmountsOfWorkAreRefusedNotLeftRunning) {
    // 2000 formulas that each sum the column of the 2000 others: four million
    // links and reads, refused with a description under small limits.
    for (uint16_t r = 0; r < 2000; ++r) setFormula(r, 0, Tokens().area(0, 1, 1999, 1).attrSum());
    for (uint16_t r = 0; r < 2000; ++r) setFormula(r, 1, Tokens().area(0, 0, 1999, 0).attrSum());
    EXPECT_THROW(recalculate(book, 200'000'000, 100'000), formula::RecalculationTooLarge);
    for (uint16_t r = 0; r < 2000; ++r) sheet().at(r, 1).formula.clear();
    EXPECT_THROW(recalculate(book, 1'000'000), formula::RecalculationTooLarge);
    try {
        recalculate(book, 1'000'000);
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("too many cells"), std::string::npos);
    }
    EXPECT_NO_THROW(recalculate(book));  // the default limits allow it
}

// A payroll summary's shape over thousands of rows: values with gaps, a
// total per row, and totals per column under them, the last over the rows'
// totals, so it must come after every one of them.
TEST_F(Recalculation, ColumnTotalsOverManyRowsOfRowTotals) {
    constexpr uint16_t kRows = 3000, kTotalColumn = 5, kTotalRow = kRows;
    double columnTotals[kTotalColumn + 1] = {};
    for (uint16_t r = 0; r < kRows; ++r) {
        double rowTotal = 0;
        for (uint16_t c = 1; c < kTotalColumn; ++c) {
            if ((r + c) % 3 == 0) continue;  // a rate type this row does not have
            const double v = (r % 17) * 0.25 + c;
            setNumber(r, c, v);
            rowTotal += v;
            columnTotals[c] += v;
        }
        setFormula(r, kTotalColumn, Tokens().area(r, 1, r, kTotalColumn - 1).attrSum());
        columnTotals[kTotalColumn] += rowTotal;
        sheet().at(r, kTotalColumn + 1).value = CellValue::fromText("source");
    }
    for (uint16_t c = 1; c <= kTotalColumn; ++c)
        setFormula(kTotalRow, c, Tokens().area(0, c, kRows - 1, c).attrSum());
    EXPECT_EQ(recalculate(book).formulas, size_t{kRows} + kTotalColumn);
    EXPECT_EQ(value(7, kTotalColumn), CellValue::fromNumber(3 * 1.75 + 1 + 3 + 4));  // no C8
    for (uint16_t c = 1; c <= kTotalColumn; ++c)
        EXPECT_EQ(value(kTotalRow, c), CellValue::fromNumber(columnTotals[c])) << c;
}

// The timesheet's shape: hours as day fractions in B12:H18, rates in row 20,
// totals per day in column I, per rate in row 19, pay in row 21.
TEST_F(Recalculation, WeeklyTimesheetTotalsAndPay) {
    const uint16_t firstDay = 11, lastDay = 17, totalRow = 18, rateRow = 19, payRow = 20;
    setNumber(8, 6, 46286);                             // G9: the week start
    setFormula(firstDay, 0, Tokens().ref(8, 6));        // A12 = G9
    for (uint16_t r = firstDay + 1; r <= lastDay; ++r)  // A13 = A12 + 1 ...
        setFormula(r, 0, Tokens().ref(r - 1, 0).integer(1).add());
    for (uint16_t r = firstDay; r <= lastDay; ++r)
        setFormula(r, 8, Tokens().area(r, 1, r, 7).attrSum());
    for (uint16_t c = 1; c <= 8; ++c)
        setFormula(totalRow, c, Tokens().area(firstDay, c, lastDay, c).attrSum());
    for (uint16_t c = 1; c <= 7; ++c)
        setFormula(payRow, c, Tokens().ref(rateRow, c).ref(totalRow, c).mul().integer(24).mul());
    setFormula(payRow, 8, Tokens().area(payRow, 1, payRow, 7).attrSum());
    setFormula(22, 3, Tokens().ref(totalRow, 8));
    setFormula(23, 3, Tokens().ref(payRow, 8));

    // Regular 8 h Monday to Friday at 11.50, overtime 2:30 on Friday at 17.25, sick 4 h Wednesday.
    for (uint16_t d = 0; d < 5; ++d) setNumber(firstDay + d, 1, 8.0 / 24);
    setNumber(firstDay + 4, 2, 2.5 / 24);
    setNumber(firstDay + 2, 3, 4.0 / 24);
    setNumber(rateRow, 1, 11.5);
    setNumber(rateRow, 2, 17.25);
    sheet().at(rateRow, 3).value = CellValue::fromText("n/a");  // a rate typed as words

    recalculate(book);
    EXPECT_EQ(value(lastDay, 0), CellValue::fromNumber(46292));
    EXPECT_NEAR(value(firstDay + 4, 8).number * 24, 10.5, 1e-9);
    EXPECT_NEAR(value(totalRow, 8).number * 24, 46.5, 1e-9);
    EXPECT_NEAR(value(payRow, 1).number, 40 * 11.5, 1e-9);
    EXPECT_NEAR(value(payRow, 2).number, 2.5 * 17.25, 1e-9);
    EXPECT_EQ(value(payRow, 3), CellValue::fromError(ErrorCode::Value));
    EXPECT_EQ(value(payRow, 8),
              CellValue::fromError(ErrorCode::Value));  // the error reaches the total
    EXPECT_EQ(value(23, 3), CellValue::fromError(ErrorCode::Value));

    sheet().at(rateRow, 3).value = CellValue::empty();
    recalculate(book);
    EXPECT_NEAR(value(payRow, 8).number, 40 * 11.5 + 2.5 * 17.25, 1e-9);
    EXPECT_NEAR(value(23, 3).number, 503.125, 1e-9);
}

}  // namespace
}  // namespace tallowby::engine
