// Writes text at the edges into a workbook for check_edge_text.py: characters
// outside the Basic Multilingual Plane where records end, CJK, combining
// marks, and a cell text cut at the longest length a cell holds.
// Usage: edge_text_tool <base.xls> <out.xls>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "workbook/engine/biff/workbook_io.h"

namespace {

using namespace tallowby::engine;

std::string repeat(const std::string& part, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out += part;
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: edge_text_tool <base.xls> <out.xls>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    Workbook wb = readWorkbook(bytes);
    Sheet& sheet = wb.sheets.at(0);
    sheet.name = "\xE5\x8B\xA4\xE5\x8B\x99\xE8\xA1\xA8";  // a CJK sheet name
    const std::string emoji = "\xF0\x9F\x98\x80", clef = "\xF0\x9D\x84\x9E";
    const std::string texts[] = {
        "a" + repeat(emoji, 3000),
        "ab" + repeat(emoji, 3000),
        repeat("\xE6\xBC\xA2\xE5\xAD\x97", 3000),
        repeat("e\xCC\x81", 2500),
        std::string(32766, 'x') + emoji + "tail",
        std::string(4100, 'x') + clef + repeat(emoji, 5000),
    };
    uint16_t row = 200;
    for (const std::string& t : texts) sheet.at(row++, 0).value = CellValue::fromText(t);
    const std::vector<uint8_t> out = writeWorkbook(wb);
    std::ofstream(argv[2], std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return 0;
}
