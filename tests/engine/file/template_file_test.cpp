// The timesheet template as the engine reads it: the sheet, the print area,
// merges, labels, number formats and the formulas of every computed cell.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/engine/file/sample_files.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine {
namespace {

std::string columnName(uint16_t col) {
    return std::string(1, static_cast<char>('A' + col));
}

std::string reference(uint16_t row, uint16_t colField) {
    const uint16_t col = colField & 0xFF;
    return std::string((colField & 0x4000) ? "" : "$") + columnName(col) +
           ((colField & 0x8000) ? "" : "$") + std::to_string(row + 1);
}

// Just enough of the token language to spell the template's formulas.
std::string decode(const std::vector<uint8_t>& t) {
    std::vector<std::string> stack;
    auto pop = [&] {
        if (stack.empty()) throw std::runtime_error("stack underflow");
        std::string s = stack.back();
        stack.pop_back();
        return s;
    };
    size_t i = 0;
    while (i < t.size()) {
        const uint8_t ptg = t[i];
        const uint8_t base = ptg >= 0x20 ? ((ptg & 0x1F) | 0x20) : ptg;
        if (base == 0x24) {
            stack.push_back(reference(peek16(&t[i + 1]), peek16(&t[i + 3])));
            i += 5;
        } else if (base == 0x25) {
            stack.push_back(reference(peek16(&t[i + 1]), peek16(&t[i + 5])) + ":" +
                            reference(peek16(&t[i + 3]), peek16(&t[i + 7])));
            i += 9;
        } else if (ptg >= 0x03 && ptg <= 0x06) {
            const std::string b = pop(), a = pop();
            stack.push_back(a + "+-*/"[ptg - 3] + b);
            i += 1;
        } else if (ptg == 0x15) {
            stack.push_back("(" + pop() + ")");
            i += 1;
        } else if (ptg == 0x1E) {
            stack.push_back(std::to_string(peek16(&t[i + 1])));
            i += 3;
        } else if (ptg == 0x19) {
            if (t[i + 1] & 0x10) stack.push_back("SUM(" + pop() + ")");
            i += 4;
        } else if (base == 0x22 && peek16(&t[i + 2]) == 4) {
            std::vector<std::string> args(t[i + 1]);
            for (size_t k = args.size(); k-- > 0;) args[k] = pop();
            std::string s = "SUM(";
            for (size_t k = 0; k < args.size(); ++k) s += (k ? "," : "") + args[k];
            stack.push_back(s + ")");
            i += 4;
        } else {
            return "<token " + std::to_string(ptg) + ">";
        }
    }
    return stack.size() == 1 ? "=" + stack[0] : "<unbalanced>";
}

struct Address {
    uint16_t row, col;
};
Address at(const std::string& a1) {
    return {static_cast<uint16_t>(std::stoi(a1.substr(1)) - 1), static_cast<uint16_t>(a1[0] - 'A')};
}

class TemplateFile : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        workbook_ = new Workbook(readWorkbookFile(testing::sourcePath("resources/template.xlt")));
    }
    static void TearDownTestSuite() { delete workbook_; }
    const Sheet& sheet() const { return workbook_->sheets.at(0); }
    const Cell* cell(const std::string& a1) const {
        const Address a = at(a1);
        return sheet().find(a.row, a.col);
    }
    std::string format(const std::string& a1) const {
        const Cell* c = cell(a1);
        return c ? workbook_->formatCode(workbook_->xf(c->xf).format) : "<no cell>";
    }
    static Workbook* workbook_;
};
Workbook* TemplateFile::workbook_ = nullptr;

TEST_F(TemplateFile, OneSheetWithItsPrintAreaAndMerges) {
    ASSERT_EQ(workbook_->sheets.size(), 1u);
    EXPECT_EQ(sheet().name, "Employee Timesheet");
    EXPECT_EQ(sheet().printArea, (CellRange{0, 30, 0, 8}));
    for (const char* range :
         {"A1:I1", "A4:E4", "A7:D7", "A8:D8", "A9:D9", "G5:I5", "G7:I7", "G9:H9"}) {
        const std::string text(range);
        const Address first = at(text.substr(0, text.find(':'))),
                      last = at(text.substr(text.find(':') + 1));
        const CellRange* merge = sheet().mergeAt(first.row, first.col);
        ASSERT_NE(merge, nullptr) << range;
        EXPECT_EQ(*merge, (CellRange{first.row, last.row, first.col, last.col})) << range;
    }
}

TEST_F(TemplateFile, LabelsAndPlaceholders) {
    const std::map<std::string, std::string> labels = {{"A1", "Employee Timesheet"},
                                                       {"A4", "[Company Name]"},
                                                       {"A7", "[Address]"},
                                                       {"A8", "[City, State  ZIP]"},
                                                       {"A9", "[Phone]"},
                                                       {"E5", "Employee Name:"},
                                                       {"E7", "Supervisor Name:"},
                                                       {"E9", "Week Start:"},
                                                       {"A11", "Day of Week"},
                                                       {"B11", "Regular"},
                                                       {"C11", "Overtime"},
                                                       {"D11", "Illness"},
                                                       {"E11", "Vacation"},
                                                       {"F11", "Holiday"},
                                                       {"G11", "Unpaid"},
                                                       {"H11", "Other"},
                                                       {"I11", "TOTAL\nHOURS"},
                                                       {"A19", "Total Hours:"},
                                                       {"A20", "Hour Rate:"},
                                                       {"A21", "Total Pay:"},
                                                       {"A23", "Total Hours Reported:"},
                                                       {"A24", "Total Pay:"},
                                                       {"A27", "Employee:"},
                                                       {"A29", "Supervisor:"}};
    for (const auto& [a1, text] : labels) {
        const Cell* c = cell(a1);
        ASSERT_NE(c, nullptr) << a1;
        EXPECT_EQ(c->value, CellValue::fromText(text)) << a1;
    }
    for (const char* empty : {"G5", "G7", "G9", "B12", "H18", "B20", "H20"}) {
        const Cell* c = cell(empty);
        EXPECT_TRUE(!c || (c->value.isEmpty() && !c->hasFormula())) << empty;
    }
}

TEST_F(TemplateFile, NumberFormats) {
    for (int row = 12; row <= 18; ++row) {
        EXPECT_EQ(format("A" + std::to_string(row)), "ddd\\ m/d") << row;
        for (char col = 'B'; col <= 'I'; ++col)
            EXPECT_EQ(format(col + std::to_string(row)), "[h]:mm") << col << row;
    }
    for (char col = 'B'; col <= 'I'; ++col) EXPECT_EQ(format(col + std::string("19")), "[h]:mm");
    for (char col = 'B'; col <= 'H'; ++col) {
        EXPECT_EQ(format(col + std::string("20")), "#,##0.00");
        EXPECT_EQ(format(col + std::string("21")), "#,##0.00");
    }
    EXPECT_EQ(format("D23"), "[h]:mm");
    // Short date and accounting: the built-in ids whose look follows the locale.
    EXPECT_EQ(workbook_->xf(cell("G9")->xf).format, 14);
    EXPECT_EQ(workbook_->xf(cell("I21")->xf).format, 44);
}

TEST_F(TemplateFile, FormulasAreTheTimesheetsOwn) {
    std::map<std::string, std::string> expected = {
        {"A12", "=G9"}, {"I21", "=SUM(B21:H21)"}, {"D23", "=I19"}, {"D24", "=I21"}};
    for (int row = 13; row <= 18; ++row)
        expected["A" + std::to_string(row)] = "=A" + std::to_string(row - 1) + "+1";
    for (int row = 12; row <= 18; ++row)
        expected["I" + std::to_string(row)] =
            "=SUM(B" + std::to_string(row) + ":H" + std::to_string(row) + ")";
    for (char col = 'B'; col <= 'I'; ++col)
        expected[col + std::string("19")] = "=SUM(" + std::string(1, col) + "12:" + col + "18)";
    for (char col = 'B'; col <= 'H'; ++col)
        expected[col + std::string("21")] = "=" + std::string(1, col) + "20*" + col + "19*24";
    size_t formulas = 0;
    for (const auto& [address, c] : sheet().cells()) {
        if (!c.hasFormula()) continue;
        ++formulas;
        const std::string a1 = columnName(address.col) + std::to_string(address.row + 1);
        ASSERT_TRUE(expected.count(a1)) << "unexpected formula in " << a1;
        EXPECT_EQ(decode(c.formula), expected[a1]) << a1;
    }
    EXPECT_EQ(formulas, expected.size());
}

TEST_F(TemplateFile, SavedAsWorkbookItKeepsEverythingButTheMarker) {
    WriteOptions asWorkbook;
    asWorkbook.saveAsWorkbook = true;
    const Workbook saved = readWorkbook(writeWorkbook(*workbook_, asWorkbook));
    EXPECT_FALSE(saved.isTemplate);
    EXPECT_EQ(saved.sheets.at(0).cells().size(), sheet().cells().size());
    EXPECT_EQ(saved.sheets.at(0).merges, sheet().merges);
    EXPECT_EQ(saved.sheets.at(0).printArea, sheet().printArea);
}

}  // namespace
}  // namespace tallowby::engine
