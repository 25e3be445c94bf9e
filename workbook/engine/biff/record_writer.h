#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::biff {

// Appends a record; data longer than a record holds goes on in CONTINUE records.
void appendRecord(std::vector<uint8_t>& out, uint16_t type, std::span<const uint8_t> data);
inline void appendRecord(std::vector<uint8_t>& out, const RawRecord& r) {
    appendRecord(out, r.type, r.data);
}

// Appends a STRING record (a formula's text result); long text goes on in
// CONTINUE records that each restate the character width.
void appendStringRecord(std::vector<uint8_t>& out, const std::string& text);

// The BOF record of the workbook globals or of a worksheet.
std::vector<uint8_t> bofData(uint16_t substreamType);

}  // namespace tallowby::engine::biff
