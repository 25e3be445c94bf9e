// Reads a workbook with the engine and writes it back: the file the interop
// checks hand to python3-xlrd, LibreOffice and Gnumeric.
// Usage: file_roundtrip_tool <in.xls> <out.xls> [--as-workbook] [--edit]
//   --as-workbook  leave the template marker out
//   --edit         first change the first sheet the way the generation run
//                  does, with formats and cell styles the file lacks
#include <cstring>
#include <iostream>

#include "workbook/engine/biff/workbook_io.h"

namespace {

using namespace tallowby::engine;

// The cells check_edits.py looks for.
// A cell XF to start from: xlwt, unlike Excel, makes XF 15 a style.
Xf cellXf(const Workbook& wb) {
    Xf xf = wb.xf(15);
    if (xf.styleXf) {
        xf.styleXf = false;
        xf.parent = 0;
    }
    return xf;
}

void edit(Workbook& wb) {
    Sheet& sheet = wb.sheets.at(0);
    Xf hours = cellXf(wb);
    hours.format = wb.ensureFormat("[h]:mm:ss");
    hours.fillPattern = 1;
    hours.fillForeground = 13;  // yellow
    hours.bottom = {2, 8};
    hours.hAlign = HAlign::Right;
    Cell& j11 = sheet.at(10, 9);
    j11.value = CellValue::fromNumber(1.0625);  // 25:30:00
    j11.xf = wb.ensureXf(hours);

    Xf money = cellXf(wb);
    money.format = wb.ensureFormat("#,##0.000\\ \"h\"");
    money.wrap = true;
    Cell& a60 = sheet.at(59, 0);
    a60.value = CellValue::fromNumber(1234.5);
    a60.xf = wb.ensureXf(money);
    sheet.at(59, 1).value = CellValue::fromText("\xCE\xA3\xCF\x8D\xCE\xBD\xCE\xBF\xCE\xBB\xCE\xBF");
    sheet.merges.push_back({61, 62, 0, 3});
    sheet.at(61, 0).value = CellValue::fromText("merged note");
    sheet.printArea = CellRange{0, 62, 0, 9};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: " << argv[0] << " <in.xls> <out.xls> [--as-workbook] [--edit]\n";
        return 2;
    }
    try {
        WriteOptions options;
        bool editFirst = false;
        for (int i = 3; i < argc; ++i) {
            if (std::strcmp(argv[i], "--as-workbook") == 0) options.saveAsWorkbook = true;
            if (std::strcmp(argv[i], "--edit") == 0) editFirst = true;
        }
        Workbook workbook = readWorkbookFile(argv[1]);
        if (editFirst) edit(workbook);
        writeWorkbookFile(workbook, argv[2], options);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
