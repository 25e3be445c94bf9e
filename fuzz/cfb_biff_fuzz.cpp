// The compound-file and BIFF8 readers on arbitrary bytes, and the writer on
// whatever they accept. The first byte chooses the layer: even, the bytes
// after it are a whole file; odd, they are a workbook stream, wrapped in a
// valid compound file so the BIFF reader sees them directly.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/cfb/compound_file.h"

using namespace tallowby::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::span<const uint8_t> bytes(data + 1, size - 1);
    std::vector<uint8_t> wrapped;
    if (data[0] & 1) {
        CompoundFile file;
        file.streams.push_back({"Workbook", {bytes.begin(), bytes.end()}});
        wrapped = writeCompoundFile(file);
        bytes = wrapped;
    }
    Workbook workbook;
    try {
        workbook = readWorkbook(bytes);
    } catch (const FileFormatError&) {
        return 0;  // the expected answer to damaged input
    }
    // Whatever the reader accepts, the writer must write and the reader read back.
    const std::vector<uint8_t> written = writeWorkbook(workbook);
    const Workbook again = readWorkbook(written);
    if (again.sheets.size() != workbook.sheets.size()) std::abort();
    return 0;
}
