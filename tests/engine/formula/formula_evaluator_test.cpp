#include "workbook/engine/formula/formula_evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/engine/formula/token_builder.h"

namespace tallowby::engine {
namespace {

using formula::evaluateFormula;
using testing::Tokens;

constexpr uint16_t A = 0, B = 1, C = 2, D = 3;

class FormulaEvaluation : public ::testing::Test {
  protected:
    FormulaEvaluation() { book.sheets.resize(1); }
    Sheet& sheet() { return book.sheets[0]; }
    void set(uint16_t row, uint16_t col, CellValue v) { sheet().at(row, col).value = std::move(v); }
    CellValue eval(const Tokens& t, CellAddress at = {40, 10}) {
        return evaluateFormula(book, 0, at, t.bytes());
    }
    double number(const Tokens& t) {
        CellValue v = eval(t);
        EXPECT_EQ(v.type, CellValue::Type::Number) << "error " << errorText(v.error);
        return v.number;
    }
    Workbook book;
};

CellValue err(ErrorCode e) {
    return CellValue::fromError(e);
}

TEST_F(FormulaEvaluation, ArithmeticFollowsTokenOrder) {
    set(0, A, CellValue::fromNumber(2.5));
    set(0, B, CellValue::fromNumber(3));
    // =A1*24+B1
    EXPECT_DOUBLE_EQ(number(Tokens().ref(0, A).integer(24).mul().ref(0, B).add()), 63);
    // =(A1-B1)/4, =2^10, =-A1, =+A1, =50%
    EXPECT_DOUBLE_EQ(number(Tokens().ref(0, A).ref(0, B).sub().paren().integer(4).div()), -0.125);
    EXPECT_DOUBLE_EQ(number(Tokens().integer(2).integer(10).op(0x07)), 1024);
    EXPECT_DOUBLE_EQ(number(Tokens().ref(0, A).op(0x13)), -2.5);
    EXPECT_DOUBLE_EQ(number(Tokens().ref(0, A).op(0x12)), 2.5);
    EXPECT_DOUBLE_EQ(number(Tokens().integer(50).op(0x14)), 0.5);
    EXPECT_DOUBLE_EQ(number(Tokens().number(0.1).number(0.2).add()), 0.1 + 0.2);
}

TEST_F(FormulaEvaluation, ReferenceClassesAndAbsoluteBitsAllReadTheStoredCell) {
    set(4, C, CellValue::fromNumber(7));
    for (uint8_t id : {uint8_t{0x24}, uint8_t{0x44}, uint8_t{0x64}})
        for (bool rel : {false, true})
            EXPECT_DOUBLE_EQ(number(Tokens().ref(4, C, id, rel, !rel)), 7) << int(id);
    set(5, C, CellValue::fromNumber(1));
    for (uint8_t id : {uint8_t{0x25}, uint8_t{0x45}, uint8_t{0x65}})
        EXPECT_DOUBLE_EQ(number(Tokens().area(4, C, 5, C, id, id == 0x45).funcVar(4, 1)), 8)
            << int(id);
}

TEST_F(FormulaEvaluation, BlankIsZeroAndTextInArithmeticIsValueError) {
    set(0, A, CellValue::fromText("11.50"));
    set(0, B, CellValue::fromBool(true));
    EXPECT_DOUBLE_EQ(number(Tokens().ref(9, D).integer(1).add()), 1);  // D10 does not exist
    EXPECT_DOUBLE_EQ(number(Tokens().ref(0, B).integer(1).add()), 2);  // TRUE is 1
    EXPECT_EQ(eval(Tokens().ref(0, A).integer(1).add()), err(ErrorCode::Value));
    EXPECT_EQ(eval(Tokens().str("x").op(0x13)), err(ErrorCode::Value));
    // A formula that only refers to a blank shows 0, not a blank.
    EXPECT_EQ(eval(Tokens().ref(9, D)), CellValue::fromNumber(0));
}

TEST_F(FormulaEvaluation, ErrorsPropagateAndDivisionByZeroFails) {
    set(0, A, err(ErrorCode::NA));
    EXPECT_EQ(eval(Tokens().integer(1).integer(0).div()), err(ErrorCode::Div0));
    EXPECT_EQ(eval(Tokens().integer(1).ref(3, D).div()), err(ErrorCode::Div0));
    EXPECT_EQ(eval(Tokens().ref(0, A).integer(2).mul()), err(ErrorCode::NA));
    EXPECT_EQ(eval(Tokens().integer(1).integer(0).div().ref(0, A).add()),
              err(ErrorCode::Div0));  // left first
    EXPECT_EQ(eval(Tokens().ref(0, A).op(0x13)), err(ErrorCode::NA));
    EXPECT_EQ(eval(Tokens().error(0x24)), err(ErrorCode::Num));
    EXPECT_EQ(eval(Tokens().integer(0).integer(0).op(0x07)), err(ErrorCode::Num));
    EXPECT_EQ(eval(Tokens().number(1e300).number(1e300).mul()), err(ErrorCode::Num));
}

TEST_F(FormulaEvaluation, SumInBothEncodingsSkipsTextAndBooleansInRanges) {
    set(11, B, CellValue::fromNumber(1.5));
    set(11, C, CellValue::fromText("2"));
    set(11, D, CellValue::fromBool(true));
    set(11, 4, CellValue::fromNumber(0.25));
    auto range = Tokens().area(11, B, 11, 7);
    EXPECT_DOUBLE_EQ(number(Tokens(range).attrSum()), 1.75);
    EXPECT_DOUBLE_EQ(number(Tokens(range).funcVar(4, 1)), 1.75);
    // Direct arguments count: =SUM(B12:H12, TRUE, 2)
    EXPECT_DOUBLE_EQ(number(Tokens(range).boolean(true).integer(2).funcVar(4, 3)), 4.75);
    // A single-cell reference behaves like a range: its text is skipped.
    EXPECT_DOUBLE_EQ(number(Tokens().ref(11, C).attrSum()), 0);
    // An error anywhere in the range is the result.
    set(11, 6, err(ErrorCode::Ref));
    EXPECT_EQ(eval(Tokens(range).attrSum()), err(ErrorCode::Ref));
    // SUM of an empty range is 0.
    EXPECT_DOUBLE_EQ(number(Tokens().area(30, A, 35, D).attrSum()), 0);
}

TEST_F(FormulaEvaluation, SumOverAWholeColumnVisitsOnlyItsCells) {
    for (uint16_t r = 0; r < 100; ++r) {
        set(r, B, CellValue::fromNumber(1));
        set(r, A, CellValue::fromNumber(1000));  // beside the range, not in it
        set(r, C, CellValue::fromNumber(1000));
    }
    EXPECT_DOUBLE_EQ(number(Tokens().area(0, B, 0xFFFF, B).attrSum()), 100);
}

TEST_F(FormulaEvaluation, AggregatesAndSmallFunctions) {
    set(0, A, CellValue::fromNumber(4));
    set(1, A, CellValue::fromNumber(-2));
    set(2, A, CellValue::fromText("t"));
    set(3, A, CellValue::fromNumber(10));
    auto col = Tokens().area(0, A, 9, A);
    EXPECT_DOUBLE_EQ(number(Tokens(col).funcVar(6, 1)), -2);   // MIN
    EXPECT_DOUBLE_EQ(number(Tokens(col).funcVar(7, 1)), 10);   // MAX
    EXPECT_DOUBLE_EQ(number(Tokens(col).funcVar(5, 1)), 4);    // AVERAGE
    EXPECT_DOUBLE_EQ(number(Tokens(col).funcVar(0, 1)), 3);    // COUNT
    EXPECT_DOUBLE_EQ(number(Tokens(col).funcVar(169, 1)), 4);  // COUNTA
    EXPECT_EQ(eval(Tokens().area(20, A, 21, A).funcVar(5, 1)), err(ErrorCode::Div0));
    EXPECT_DOUBLE_EQ(number(Tokens().number(2.675).integer(2).func(27)), 2.68);  // ROUND
    EXPECT_DOUBLE_EQ(number(Tokens().number(-2.5).integer(0).func(27)), -3);
    EXPECT_DOUBLE_EQ(number(Tokens().number(-7.5).func(24)), 7.5);          // ABS
    EXPECT_DOUBLE_EQ(number(Tokens().number(-7.5).func(25)), -8);           // INT
    EXPECT_DOUBLE_EQ(number(Tokens().integer(7).number(-2).func(39)), -1);  // MOD
}

TEST_F(FormulaEvaluation, IfWithItsJumpTokensPicksOneBranch) {
    set(0, A, CellValue::fromNumber(5));
    // =IF(A1>3,"big",1/0): tAttrIf and tAttrGoto skip bytes only for a lazy evaluator.
    auto formula = [](uint16_t threshold) {
        return Tokens()
            .ref(0, A)
            .integer(threshold)
            .op(0x0D)
            .attr(0x02, 7)
            .str("big")
            .attr(0x08, 9)
            .integer(1)
            .integer(0)
            .div()
            .attr(0x08, 3)
            .funcVar(1, 3);
    };
    EXPECT_EQ(eval(formula(3)), CellValue::fromText("big"));
    EXPECT_EQ(eval(formula(9)), err(ErrorCode::Div0));
    // A text condition is #VALUE!; IF without an else part gives FALSE.
    EXPECT_EQ(eval(Tokens().str("x").integer(1).funcVar(1, 2)), err(ErrorCode::Value));
    EXPECT_EQ(eval(Tokens().integer(0).integer(1).funcVar(1, 2)), CellValue::fromBool(false));
    // CHOOSE with its jump table: =CHOOSE(2,"a","b")
    auto choose = Tokens()
                      .integer(2)
                      .byte(0x19)
                      .byte(0x04)
                      .word(2)
                      .word(6)
                      .word(10)
                      .word(14)
                      .str("a")
                      .attr(0x08, 10)
                      .str("b")
                      .attr(0x08, 3)
                      .funcVar(100, 3);
    EXPECT_EQ(eval(choose), CellValue::fromText("b"));
}

TEST_F(FormulaEvaluation, ComparisonsAndConcatenation) {
    set(0, A, CellValue::fromText("Abc"));
    EXPECT_EQ(eval(Tokens().ref(0, A).str("aBC").op(0x0B)), CellValue::fromBool(true));
    EXPECT_EQ(eval(Tokens().integer(5).str("1").op(0x09)),
              CellValue::fromBool(true));  // numbers before text
    EXPECT_EQ(eval(Tokens().ref(5, A).integer(0).op(0x0B)),
              CellValue::fromBool(true));  // blank equals 0
    EXPECT_EQ(eval(Tokens().ref(0, A).number(1.5).op(0x08)), CellValue::fromText("Abc1.5"));
    EXPECT_EQ(eval(Tokens().str("x").error(0x07).op(0x08)), err(ErrorCode::Div0));
}

TEST_F(FormulaEvaluation, AreaInASingleValuePlaceIntersectsWithTheFormulaRow) {
    for (uint16_t r = 0; r < 5; ++r) set(r, B, CellValue::fromNumber(r * 10));
    // =B1:B5*2 in row 4 uses B4.
    EXPECT_EQ(evaluateFormula(book, 0, {3, D}, Tokens().area(0, B, 4, B).integer(2).mul().bytes()),
              CellValue::fromNumber(60));
    EXPECT_EQ(evaluateFormula(book, 0, {9, D}, Tokens().area(0, B, 4, B).integer(2).mul().bytes()),
              err(ErrorCode::Value));
}

TEST_F(FormulaEvaluation, SharedFormulaOffsetsAreRelativeToTheCell) {
    set(2, A, CellValue::fromNumber(3));
    // ptgRefN row -1, column -1 (both relative) from C4 reads B3... here A3 from B4.
    auto refN = Tokens().byte(0x2C).word(0xFFFF).word(0xC0FF);
    EXPECT_EQ(evaluateFormula(book, 0, {3, B}, refN.bytes()), CellValue::fromNumber(3));
    EXPECT_EQ(evaluateFormula(book, 0, {0, A}, refN.bytes()),
              err(ErrorCode::Ref));  // off the sheet
}

TEST_F(FormulaEvaluation, ThreeDReferencesResolveThroughTheExternSheetTable) {
    book.sheets.resize(2);
    book.sheets[1].at(0, A).value = CellValue::fromNumber(42);
    book.globalRecords.push_back(RawRecord{0x01AE, {2, 0, 0x01, 0x04}});
    // Entries: sheet 1, then a range of sheets 0..1 (not a single sheet).
    book.globalRecords.push_back(RawRecord{0x0017, {2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0}});
    EXPECT_EQ(eval(Tokens().ref3d(0, 0, A)), CellValue::fromNumber(42));
    EXPECT_EQ(eval(Tokens().ref3d(1, 0, A)), err(ErrorCode::Ref));
    EXPECT_EQ(eval(Tokens().ref3d(7, 0, A)), err(ErrorCode::Ref));
}

TEST_F(FormulaEvaluation, UnsupportedThingsAreErrorValues) {
    EXPECT_EQ(eval(Tokens().integer(1).funcVar(255, 1)), err(ErrorCode::Name));  // unknown function
    EXPECT_EQ(eval(Tokens().integer(1).func(15)),
              err(ErrorCode::Name));                            // SIN: known, not computed
    EXPECT_EQ(eval(Tokens().func(999)), err(ErrorCode::Name));  // unknown fixed-arg function
    EXPECT_EQ(eval(Tokens().byte(0x23).word(1).word(0)), err(ErrorCode::Name));   // a defined name
    EXPECT_EQ(eval(Tokens().byte(0x01).word(0).word(0)), err(ErrorCode::Value));  // ptgExp
    EXPECT_EQ(eval(Tokens().byte(0xFF)), err(ErrorCode::Value));                  // no such token
}

TEST_F(FormulaEvaluation, MalformedTokenArraysGiveValueError) {
    EXPECT_EQ(eval(Tokens()), err(ErrorCode::Value));                     // nothing
    EXPECT_EQ(eval(Tokens().byte(0x1F).byte(0)), err(ErrorCode::Value));  // truncated number
    EXPECT_EQ(eval(Tokens().byte(0x44).word(0)), err(ErrorCode::Value));  // truncated reference
    EXPECT_EQ(eval(Tokens().byte(0x17).byte(10).byte(0).byte('a')), err(ErrorCode::Value));
    EXPECT_EQ(eval(Tokens().integer(1).add()), err(ErrorCode::Value));       // stack underflow
    EXPECT_EQ(eval(Tokens().integer(1).integer(2)), err(ErrorCode::Value));  // two results
    EXPECT_EQ(eval(Tokens().funcVar(4, 5)), err(ErrorCode::Value));  // more arguments than operands
    EXPECT_EQ(eval(Tokens().byte(0x19).byte(0x04).word(0xFFFF)),
              err(ErrorCode::Value));  // choose table cut off
    Tokens deep;
    for (int i = 0; i < 5000; ++i) deep.integer(1);  // stack overflow
    EXPECT_EQ(eval(deep), err(ErrorCode::Value));
}

TEST_F(FormulaEvaluation, RandomBytesNeverCrash) {
    set(0, A, CellValue::fromNumber(1));
    std::mt19937 random(20261208);
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes(random() % 24);
        for (auto& b : bytes) b = static_cast<uint8_t>(random());
        const CellValue v = evaluateFormula(book, 0, {1, 1}, bytes);
        EXPECT_NE(v.type, CellValue::Type::Empty);
    }
}

}  // namespace
}  // namespace tallowby::engine
