#include "workbook/engine/formula/formula_text.h"

#include <gtest/gtest.h>

#include "tests/engine/formula/token_builder.h"
#include "workbook/engine/formula/token_cursor.h"

namespace tallowby::engine {
namespace {

using formula::formulaText;
using testing::Tokens;

TEST(FormulaText, ShowsTheTimesheetFormulas) {
    EXPECT_EQ(formulaText(Tokens().area(11, 1, 11, 7).attrSum().bytes()), "=SUM(B12:H12)");
    EXPECT_EQ(formulaText(Tokens().ref(19, 1).ref(18, 1).mul().integer(24).mul().bytes()),
              "=B20*B19*24");
    EXPECT_EQ(formulaText(Tokens().ref(8, 6).bytes()), "=G9");
    EXPECT_EQ(formulaText(Tokens().area(20, 1, 20, 7).funcVar(4, 1).bytes()), "=SUM(B21:H21)");
}

TEST(FormulaText, AbsoluteMarksOperatorsAndConstants) {
    EXPECT_EQ(
        formulaText(
            Tokens().ref(0, 0, 0x24, false, false).ref(255, 255, 0x24, true, false).add().bytes()),
        "=$A$1+$IV256");
    EXPECT_EQ(formulaText(Tokens().ref(65535, 26, 0x24, false, true).bytes()), "=AA$65536");
    EXPECT_EQ(
        formulaText(Tokens().ref(0, 0).ref(0, 1).sub().paren().number(2.5).div().op(0x13).bytes()),
        "=-(A1-B1)/2.5");
    EXPECT_EQ(formulaText(Tokens().str("say \"hi\"").integer(50).op(0x14).op(0x08).bytes()),
              "=\"say \"\"hi\"\"\"&50%");
    EXPECT_EQ(formulaText(Tokens().boolean(true).error(0x07).op(0x0E).bytes()), "=TRUE<>#DIV/0!");
    EXPECT_EQ(
        formulaText(Tokens().number(-7.5).func(24).integer(1).byte(0x16).funcVar(1, 3).bytes()),
        "=IF(ABS(-7.5),1,)");
}

TEST(FormulaText, NamesSheetsOfThreeDReferences) {
    Workbook book;
    book.sheets.resize(2);
    book.sheets[1].name = "Employee Timesheet";
    book.globalRecords.push_back(RawRecord{0x01AE, {2, 0, 0x01, 0x04}});
    book.globalRecords.push_back(RawRecord{0x0017, {1, 0, 0, 0, 1, 0, 1, 0}});
    EXPECT_EQ(formulaText(Tokens().ref3d(0, 3, 2).bytes(), {}, &book), "='Employee Timesheet'!C4");
    EXPECT_EQ(formulaText(Tokens().ref3d(0, 3, 2).bytes()), "=#REF!C4");
}

TEST(FormulaText, MalformedTokensThrow) {
    EXPECT_THROW(formulaText(Tokens().add().bytes()), formula::MalformedFormula);
    EXPECT_THROW(formulaText(Tokens().integer(1).integer(2).bytes()), formula::MalformedFormula);
    EXPECT_THROW(formulaText(Tokens().byte(0x1F).bytes()), formula::MalformedFormula);
    EXPECT_THROW(formulaText(Tokens().bytes()), formula::MalformedFormula);
}

}  // namespace
}  // namespace tallowby::engine
