#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workbook/engine/cfb/file_format_error.h"
#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine {

// Reads an Excel 97-2003 (BIFF8) workbook or template. Throws FileFormatError
// with a description for the user when the bytes are not one or are damaged.
Workbook readWorkbook(std::span<const uint8_t> bytes);
// Reads a file; also throws FileFormatError when it cannot be opened.
Workbook readWorkbookFile(const std::string& path);

struct WriteOptions {
    // Save a template as an ordinary workbook: the template marker is left out.
    bool saveAsWorkbook = false;
};

// The bytes of an Excel 97-2003 file holding the workbook. Formula cells are
// written with the results their values hold, marked to be recalculated.
std::vector<uint8_t> writeWorkbook(const Workbook& workbook, const WriteOptions& options = {});
// Writes the file; throws std::runtime_error when it cannot be written.
void writeWorkbookFile(const Workbook& workbook, const std::string& path,
                       const WriteOptions& options = {});

}  // namespace tallowby::engine
