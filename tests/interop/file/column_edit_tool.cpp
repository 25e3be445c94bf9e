// Inserts columns into the first sheet of a workbook with the engine (and
// optionally fills right), recalculates, writes the result, reads it back and
// prints what the engine's reader sees: the values of the first sheet and its
// print area. The file the column-edit interop check hands to python3-xlrd,
// LibreOffice and Gnumeric.
// Usage: column_edit_tool <in.xls> <out.xls> <before> <count> [<source> <first> <count>]
//        (0-based columns)
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/edit/column_edits.h"
#include "workbook/engine/formula/recalculate.h"

using namespace tallowby::engine;

namespace {

uint16_t arg(char** argv, int i) {
    return static_cast<uint16_t>(std::atoi(argv[i]));
}

void dump(const Sheet& sheet) {
    if (sheet.printArea)
        std::printf("print_area\t%d\t%d\t%d\t%d\n", sheet.printArea->firstRow,
                    sheet.printArea->lastRow, sheet.printArea->firstCol, sheet.printArea->lastCol);
    for (const auto& [a, c] : sheet.cells()) {
        switch (c.value.type) {
            case CellValue::Type::Number:
                std::printf("%d\t%d\tn\t%.17g\n", a.row, a.col, c.value.number);
                break;
            case CellValue::Type::Text: {
                std::string text;  // one line per cell: line breaks written as \n
                for (char ch : c.value.text)
                    text += ch == '\n' ? std::string("\\n") : std::string(1, ch);
                std::printf("%d\t%d\tt\t%s\n", a.row, a.col, text.c_str());
                break;
            }
            case CellValue::Type::Boolean:
                std::printf("%d\t%d\tb\t%d\n", a.row, a.col, c.value.number != 0 ? 1 : 0);
                break;
            case CellValue::Type::Error:
                std::printf("%d\t%d\te\t%d\n", a.row, a.col, static_cast<int>(c.value.error));
                break;
            case CellValue::Type::Empty:
                break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 8) {
        std::cerr << "usage: " << argv[0]
                  << " <in.xls> <out.xls> <before> <count> [<source> <first> <count>]\n";
        return 2;
    }
    try {
        Workbook workbook = readWorkbookFile(argv[1]);
        tallowby::engine::edit::insertColumns(workbook, 0, arg(argv, 3), arg(argv, 4));
        if (argc == 8)
            tallowby::engine::edit::fillRight(workbook, 0, arg(argv, 5), arg(argv, 6),
                                              arg(argv, 7));
        formula::recalculate(workbook);
        writeWorkbookFile(workbook, argv[2], {.saveAsWorkbook = true});
        dump(readWorkbookFile(argv[2]).sheets.at(0));
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
