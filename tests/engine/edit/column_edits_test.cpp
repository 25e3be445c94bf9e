#include "workbook/engine/edit/column_edits.h"

#include <gtest/gtest.h>

#include "tests/engine/file/sample_files.h"
#include "tests/engine/formula/token_builder.h"
#include "tests/support/template_fixture.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/formula/formula_text.h"
#include "workbook/engine/formula/recalculate.h"

namespace tallowby::engine::edit {
namespace {

using testing::Tokens;

// Cells by A1 name, the way the assertions below read.
struct At {
    uint16_t row, col;
};
At cell(const char* name) {
    uint16_t col = 0;
    const char* p = name;
    while (*p >= 'A' && *p <= 'Z') col = static_cast<uint16_t>(col * 26 + (*p++ - 'A' + 1));
    return {static_cast<uint16_t>(std::atoi(p) - 1), static_cast<uint16_t>(col - 1)};
}

std::string formulaAt(const Workbook& wb, int sheet, const char* name) {
    const At a = cell(name);
    const Cell* c = wb.sheets.at(sheet).find(a.row, a.col);
    if (!c || !c->hasFormula()) return "(no formula)";
    return formula::formulaText(c->formula, {a.row, a.col}, &wb);
}

double numberAt(const Workbook& wb, int sheet, const char* name) {
    const At a = cell(name);
    const Cell* c = wb.sheets.at(sheet).find(a.row, a.col);
    return c ? c->value.number : -1;
}

uint16_t widthOf(const Sheet& s, uint16_t col) {
    for (const ColumnInfo& run : s.columns)
        if (run.firstCol <= col && col <= run.lastCol) return run.width;
    return 0;
}

// Each cell's value and formula, for comparing a sheet with its copy read
// back from a file (the writer may renumber formats).
std::vector<std::string> contents(const Sheet& s) {
    std::vector<std::string> out;
    for (const auto& [a, c] : s.cells())
        out.push_back(std::to_string(a.row) + "," + std::to_string(a.col) + ":" +
                      std::to_string(static_cast<int>(c.value.type)) + ":" +
                      std::to_string(c.value.number) + ":" + c.value.text + ":" +
                      std::string(c.formula.begin(), c.formula.end()));
    return out;
}

Workbook readBack(const Workbook& wb) {
    return readWorkbook(writeWorkbook(wb, {.saveAsWorkbook = true}));
}

// The timesheet template with seven columns inserted before H, the last rate
// column, as a user makes room for fourteen rate types.
class TemplateInsert : public ::testing::Test {
  protected:
    void SetUp() override {
        wb = readWorkbookFile(testing::templatePath());
        original = wb;
        insertColumns(wb, 0, 7, 7);
    }
    Workbook wb, original;
};

TEST_F(TemplateInsert, SumsAndPayThatSpanTheRateBlockWiden) {
    EXPECT_EQ(formulaAt(original, 0, "I12"), "=SUM(B12:H12)");
    EXPECT_EQ(formulaAt(wb, 0, "P12"), "=SUM(B12:O12)");
    EXPECT_EQ(formulaAt(wb, 0, "P18"), "=SUM(B18:O18)");
    EXPECT_EQ(formulaAt(wb, 0, "P21"), "=SUM(B21:O21)");
    // The old last rate column moved with its own references.
    EXPECT_EQ(formulaAt(wb, 0, "O19"), "=SUM(O12:O18)");
    EXPECT_EQ(formulaAt(original, 0, "H21"), "=H20*H19*24");
    EXPECT_EQ(formulaAt(wb, 0, "O21"), "=O20*O19*24");
    // References left of the insertion stay; those right of it move.
    EXPECT_EQ(formulaAt(wb, 0, "B19"), "=SUM(B12:B18)");
    EXPECT_EQ(formulaAt(wb, 0, "A13"), formulaAt(original, 0, "A13"));
    EXPECT_EQ(formulaAt(wb, 0, "D23"), "=P19");
    EXPECT_EQ(formulaAt(wb, 0, "D24"), "=P21");
    // The inserted columns are empty and formatted like column G; nothing is
    // left where the totals were.
    for (uint16_t col = 7; col < 14; ++col)
        for (uint16_t row = 0; row < 40; ++row) {
            const Cell* inserted = wb.sheets[0].find(row, col);
            const Cell* left = wb.sheets[0].find(row, 6);
            ASSERT_EQ(inserted != nullptr, left != nullptr) << row << "," << col;
            if (!inserted) continue;
            EXPECT_TRUE(inserted->value.isEmpty());
            EXPECT_FALSE(inserted->hasFormula());
            EXPECT_EQ(inserted->xf, left->xf);
        }
    const Cell* heading = wb.sheets[0].find(10, 15);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->value, original.sheets[0].find(10, 8)->value);
}

TEST_F(TemplateInsert, PrintAreaMergesColumnWidthsAndExtentFollow) {
    const Sheet& s = wb.sheets[0];
    ASSERT_TRUE(s.printArea);
    EXPECT_EQ(*s.printArea, (CellRange{0, 30, 0, 15}));
    auto hasMerge = [&](CellRange r) {
        return std::find(s.merges.begin(), s.merges.end(), r) != s.merges.end();
    };
    EXPECT_TRUE(hasMerge({0, 0, 0, 15}));  // the title over A1:I1 widens to A1:P1
    EXPECT_TRUE(hasMerge({4, 4, 6, 15}));  // G5:I5 spans H: widens
    EXPECT_TRUE(hasMerge({8, 8, 6, 14}));  // G9:H9 ends at H: widens
    EXPECT_TRUE(hasMerge({3, 3, 0, 4}));   // A4:E4 is left of the insertion
    EXPECT_EQ(s.merges.size(), original.sheets[0].merges.size());
    // Rate columns B..O keep the rate width; the totals column keeps its own.
    for (uint16_t col = 1; col <= 14; ++col)
        EXPECT_EQ(widthOf(s, col), widthOf(original.sheets[0], 1));
    EXPECT_EQ(widthOf(s, 15), widthOf(original.sheets[0], 8));
    EXPECT_EQ(s.usedRange()->lastCol, original.sheets[0].usedRange()->lastCol + 7);
}

TEST_F(TemplateInsert, FillRightCopiesTheRateColumnAndTheFileReadsBackTheSame) {
    fillRight(wb, 0, 6, 7, 7, 10, 20);  // the rate block's rows, heading to pay
    EXPECT_EQ(formulaAt(wb, 0, "H19"), "=SUM(H12:H18)");
    EXPECT_EQ(formulaAt(wb, 0, "N19"), "=SUM(N12:N18)");
    EXPECT_EQ(formulaAt(wb, 0, "N21"), "=N20*N19*24");
    const Sheet& s = wb.sheets[0];
    for (uint16_t row = 10; row < 21; ++row)
        for (uint16_t col = 7; col < 14; ++col) {
            ASSERT_NE(s.find(row, col), nullptr) << row << "," << col;
            EXPECT_EQ(s.find(row, col)->xf, s.find(row, 6)->xf);
        }
    EXPECT_EQ(s.find(10, 10)->value, s.find(10, 6)->value);  // G11's heading copied
    // Rows outside the filled block stay as the insertion left them: formatted, empty.
    for (const auto& [a, c] : s.cells())
        if (a.col >= 7 && a.col < 14 && (a.row < 10 || a.row > 20)) {
            EXPECT_TRUE(c.value.isEmpty()) << a.row;
        }
    EXPECT_EQ(widthOf(s, 13), widthOf(s, 6));

    // Hours in a filled column count in the widened totals.
    wb.sheets[0].at(11, 12).value = CellValue::fromNumber(0.5);  // M12: 12 hours
    wb.sheets[0].at(19, 12).value = CellValue::fromNumber(2);    // M20: rate 2
    formula::recalculate(wb);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "M19"), 0.5);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "P12"), 0.5);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "M21"), 24);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "P21"), 24);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "D24"), 24);

    const Workbook back = readBack(wb);
    EXPECT_EQ(contents(back.sheets[0]), contents(wb.sheets[0]));
    EXPECT_EQ(back.sheets[0].merges, wb.sheets[0].merges);
    EXPECT_EQ(back.sheets[0].columns, wb.sheets[0].columns);
    EXPECT_EQ(back.sheets[0].printArea, wb.sheets[0].printArea);
}

// A small workbook of two sheets whose formulas hold every kind of reference.
Workbook twoSheets() {
    Workbook wb = readWorkbookFile(testing::templatePath());
    wb.sheets.resize(1);
    Sheet& s = wb.sheets[0];
    for (auto it = s.cells().begin(); it != s.cells().end();) {
        const CellAddress a = it->first;
        ++it;
        s.erase(a.row, a.col);
    }
    s.merges.clear();
    s.merges.push_back({0, 0, 0, 1});                             // A1:B1, left of the insertion
    s.merges.push_back({1, 1, 3, 5});                             // D2:F2, right of it
    s.at(0, 3).value = CellValue::fromNumber(4);                  // D1
    s.at(0, 2).value = CellValue::fromNumber(3);                  // C1
    s.at(0, 1).value = CellValue::fromNumber(2);                  // B1
    s.at(5, 0).formula = Tokens().ref(0, 3);                      // =D1
    s.at(5, 1).formula = Tokens().ref(0, 3, 0x44, false, false);  // =$D$1
    s.at(5, 2).formula = Tokens().ref(0, 1);                      // =B1
    s.at(5, 3).formula = Tokens().area(0, 1, 0, 3).attrSum();     // =SUM(B1:D1)
    s.at(5, 4).formula = Tokens().area(0, 3, 0, 4).attrSum();     // =SUM(D1:E1)
    s.at(5, 5).formula = Tokens().area(0, 0, 0, 1, 0x25, false).attrSum();  // =SUM($A$1:$B$1)
    s.at(5, 6).formula = Tokens().ref(0, 254);                              // =IU1
    s.printArea = CellRange{0, 9, 0, 6};
    return wb;
}

TEST(InsertColumns, MovesRefsAfterKeepsRefsBeforeWidensSpanningAreas) {
    Workbook wb = twoSheets();
    insertColumns(wb, 0, 2, 2);  // two columns before C
    // The formula cells at column C and after moved two to the right.
    EXPECT_EQ(formulaAt(wb, 0, "A6"), "=F1");
    EXPECT_EQ(formulaAt(wb, 0, "B6"), "=$F$1");  // absolute references follow their cell too
    EXPECT_EQ(formulaAt(wb, 0, "E6"), "=B1");
    EXPECT_EQ(formulaAt(wb, 0, "F6"), "=SUM(B1:F1)");
    EXPECT_EQ(formulaAt(wb, 0, "G6"), "=SUM(F1:G1)");
    EXPECT_EQ(formulaAt(wb, 0, "H6"), "=SUM($A$1:$B$1)");
    EXPECT_EQ(formulaAt(wb, 0, "I6"), "=#REF!");  // IU1 pushed off the sheet
    EXPECT_EQ(wb.sheets[0].merges[0], (CellRange{0, 0, 0, 1}));
    EXPECT_EQ(wb.sheets[0].merges[1], (CellRange{1, 1, 5, 7}));
    EXPECT_EQ(*wb.sheets[0].printArea, (CellRange{0, 9, 0, 8}));
    formula::recalculate(wb);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "F6"), 2 + 3 + 4);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "A6"), 4);
}

TEST(FillRight, MovesRelativePartsKeepsAbsolutePartsAndClearsTargets) {
    Workbook wb = twoSheets();
    Sheet& s = wb.sheets[0];
    s.at(5, 8).value = CellValue::fromText("stale");  // I6, cleared by the fill
    s.at(5, 7).formula = Tokens().ref(0, 0).ref(0, 0, 0x44, true, false).add();  // H6: =A1+$A1
    fillRight(wb, 0, 7, 8, 3);
    EXPECT_EQ(formulaAt(wb, 0, "I6"), "=B1+$A1");
    EXPECT_EQ(formulaAt(wb, 0, "K6"), "=D1+$A1");
    EXPECT_EQ(s.find(6, 8), nullptr);
    // A fill limited to some rows leaves the others alone.
    s.at(7, 7).value = CellValue::fromNumber(7);
    s.at(8, 9).value = CellValue::fromNumber(9);
    fillRight(wb, 0, 7, 9, 1, 7, 7);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "J8"), 7);
    EXPECT_DOUBLE_EQ(numberAt(wb, 0, "J9"), 9);
    // A relative reference pushed off the sheet becomes #REF!.
    s.at(0, 200).formula = Tokens().ref(0, 250);
    fillRight(wb, 0, 200, 210, 1);
    EXPECT_EQ(formulaAt(wb, 0, "HC1"), "=#REF!");
}

TEST(InsertColumns, NamesWithThreeDReferencesFollowOnlyTheirOwnSheet) {
    // LibreOffice's and Gnumeric's samples: print areas and other names are
    // NAME records with 3-D references; the first sheet has shared formulas.
    for (const char* sample : {"libreoffice_sample.xls", "gnumeric_sample.xls"}) {
        SCOPED_TRACE(sample);
        Workbook wb = readWorkbook(testing::sampleBytes(sample));
        const Workbook original = wb;
        ASSERT_TRUE(wb.sheets[0].printArea);
        insertColumns(wb, 0, 2, 3);  // three columns before C of "Data"
        EXPECT_EQ(wb.sheets[0].printArea->firstCol, original.sheets[0].printArea->firstCol);
        EXPECT_EQ(wb.sheets[0].printArea->lastCol, original.sheets[0].printArea->lastCol + 3);
        for (size_t s = 1; s < wb.sheets.size(); ++s)
            EXPECT_EQ(wb.sheets[s].printArea, original.sheets[s].printArea);
        // Every formula of the first sheet, recomputed, gives the values it had.
        formula::recalculate(wb);
        for (const auto& [a, c] : original.sheets[0].cells()) {
            if (!c.hasFormula() || c.value.type != CellValue::Type::Number) continue;
            const uint16_t col = a.col >= 2 ? static_cast<uint16_t>(a.col + 3) : a.col;
            const Cell* moved = wb.sheets[0].find(a.row, col);
            ASSERT_NE(moved, nullptr);
            EXPECT_NEAR(moved->value.number, c.value.number, 1e-9)
                << formula::formulaText(moved->formula, {a.row, col}, &wb);
        }
        const Workbook back = readBack(wb);
        EXPECT_EQ(back.sheets[0].printArea, wb.sheets[0].printArea);
        EXPECT_EQ(contents(back.sheets[0]), contents(wb.sheets[0]));
    }
}

TEST(InsertColumns, SharedFormulasFollowCellByCell) {
    // LibreOffice stores D3:D22 of its sample as one shared formula.
    Workbook wb = readWorkbook(testing::sampleBytes("libreoffice_sample.xls"));
    EXPECT_EQ(formulaAt(wb, 0, "D3"), "=B3*C3");
    EXPECT_EQ(formulaAt(wb, 0, "D22"), "=B22*C22");
    insertColumns(wb, 0, 2, 3);
    EXPECT_EQ(formulaAt(wb, 0, "G3"), "=B3*F3");
    EXPECT_EQ(formulaAt(wb, 0, "G22"), "=B22*F22");
    EXPECT_EQ(formulaAt(wb, 0, "G23"), "=SUM(G3:G22)");
}

TEST(InsertColumns, RefusesABadSheetOrColumnAndChangesNothing) {
    Workbook wb = twoSheets();
    const Workbook before = wb;
    EXPECT_THROW(insertColumns(wb, 3, 0, 1), std::out_of_range);
    EXPECT_THROW(insertColumns(wb, 0, 256, 1), std::out_of_range);
    EXPECT_THROW(fillRight(wb, 0, 0, 250, 7), std::out_of_range);
    EXPECT_EQ(wb.sheets[0].cells(), before.sheets[0].cells());
}

}  // namespace
}  // namespace tallowby::engine::edit
