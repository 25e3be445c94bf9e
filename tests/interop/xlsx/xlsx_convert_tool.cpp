// Reads an Excel 97-2003 workbook with the engine and writes it as .xlsx,
// printing the writer's warnings, one a line.
//   xlsx_convert_tool IN.xls OUT.xlsx
#include <exception>
#include <iostream>

#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/xlsx/xlsx_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: xlsx_convert_tool IN.xls OUT.xlsx\n";
        return 2;
    }
    try {
        const auto book = tallowby::engine::readWorkbookFile(argv[1]);
        for (const std::string& warning : tallowby::engine::xlsx::writeXlsxFile(book, argv[2]))
            std::cout << "warning: " << warning << "\n";
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
