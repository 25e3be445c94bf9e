// Reads a workbook with the engine and writes it back: the file the interop
// checks hand to python3-xlrd, LibreOffice and Gnumeric.
// Usage: file_roundtrip_tool <in.xls> <out.xls> [--as-workbook]
#include <cstring>
#include <iostream>

#include "workbook/engine/biff/workbook_io.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: " << argv[0] << " <in.xls> <out.xls> [--as-workbook]\n";
        return 2;
    }
    try {
        tallowby::engine::WriteOptions options;
        options.saveAsWorkbook = argc > 3 && std::strcmp(argv[3], "--as-workbook") == 0;
        const auto workbook = tallowby::engine::readWorkbookFile(argv[1]);
        tallowby::engine::writeWorkbookFile(workbook, argv[2], options);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
