#include "workbook/engine/biff/record_writer.h"

#include <algorithm>

#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/string_writer.h"
#include "workbook/engine/biff/unicode_text.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

void appendRecord(std::vector<uint8_t>& out, uint16_t type, std::span<const uint8_t> data) {
    size_t at = 0;
    do {
        const size_t n = std::min(kMaxRecordData, data.size() - at);
        ByteWriter w(out);
        w.u16(at == 0 ? type : static_cast<uint16_t>(kContinue));
        w.u16(static_cast<uint16_t>(n));
        w.bytes(data.subspan(at, n));
        at += n;
    } while (at < data.size());
}

void appendStringRecord(std::vector<uint8_t>& out, const std::string& text) {
    const std::u16string units = textToUtf16Limited(text, 32767);
    const bool compressed = fitsCompressed(units);
    const size_t unit = compressed ? 1 : 2;
    std::vector<uint8_t> data;
    ByteWriter w(data);
    w.u16(static_cast<uint16_t>(units.size()));
    w.u8(compressed ? 0 : 1);
    uint16_t type = kString;
    size_t written = 0;
    do {
        const size_t n = std::min((kMaxRecordData - data.size()) / unit, units.size() - written);
        appendUnits(data, units, written, n, compressed);
        written += n;
        appendRecord(out, type, data);
        type = kContinue;
        data.assign(1, compressed ? 0 : 1);
    } while (written < units.size());
}

std::vector<uint8_t> bofData(uint16_t substreamType) {
    std::vector<uint8_t> data;
    ByteWriter w(data);
    w.u16(kBiff8Version);
    w.u16(substreamType);
    w.u16(0x0DBB);  // build
    w.u16(0x07CC);  // year
    w.u32(0);       // file history
    w.u32(0x06);    // lowest BIFF version that can read it
    return data;
}

}  // namespace tallowby::engine::biff
