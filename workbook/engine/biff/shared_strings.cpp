#include "workbook/engine/biff/shared_strings.h"

#include <algorithm>

#include "workbook/engine/biff/record_reader.h"
#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/string_writer.h"
#include "workbook/engine/biff/unicode_text.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

namespace {

// How many units from `from` on fit in `bytes`. Readers decode each record on
// its own, so a surrogate pair is never split between two of them.
size_t roomFor(const std::u16string& units, size_t from, size_t bytes, size_t unit) {
    size_t room = std::min(bytes / unit, units.size() - from);
    if (room > 0 && room < units.size() - from && isHighSurrogate(units[from + room - 1])) --room;
    return room;
}

}  // namespace

std::vector<std::string> readSharedStrings(std::vector<std::span<const uint8_t>> fragments) {
    FieldReader r(std::move(fragments), "SST");
    r.u32();  // references in the workbook; not needed
    const uint32_t unique = r.u32();
    std::vector<std::string> strings;
    // Each string takes at least three bytes, so the count cannot promise more.
    strings.reserve(std::min<size_t>(unique, r.remaining() / 3));
    for (uint32_t i = 0; i < unique; ++i) {
        if (r.remaining() == 0) break;  // some writers overstate the count
        strings.push_back(r.unicodeString());
    }
    return strings;
}

uint32_t SharedStringTable::add(const std::string& text) {
    ++total_;
    auto [it, added] = index_.emplace(text, static_cast<uint32_t>(texts_.size()));
    if (added) texts_.push_back(text);
    return it->second;
}

std::vector<RawRecord> SharedStringTable::records(size_t sstOffset) const {
    std::vector<RawRecord> out;
    out.push_back(RawRecord{kSst, {}});
    ByteWriter(out.back().data).u32(total_);
    ByteWriter(out.back().data).u32(static_cast<uint32_t>(texts_.size()));

    // Every eighth string (or more per bucket for big tables) is indexed in EXTSST.
    const size_t perBucket = std::max<size_t>(8, (texts_.size() + 127) / 128);
    std::vector<std::pair<size_t, uint16_t>> buckets;  // record index, offset inside it
    for (size_t i = 0; i < texts_.size(); ++i) {
        const std::u16string units = textToUtf16Limited(texts_[i], 32767);
        const bool compressed = fitsCompressed(units);
        const size_t unit = compressed ? 1 : 2;
        const size_t firstCharacter =
            units.size() > 1 && isHighSurrogate(units[0]) ? 2 * unit : unit;
        // The 3-byte header and at least the first character stay together.
        if (out.back().data.size() + 3 + firstCharacter > kMaxRecordData)
            out.push_back(RawRecord{kContinue, {}});
        if (i % perBucket == 0)
            buckets.emplace_back(out.size() - 1, static_cast<uint16_t>(out.back().data.size()));
        ByteWriter w(out.back().data);
        w.u16(static_cast<uint16_t>(units.size()));
        w.u8(compressed ? 0x00 : 0x01);
        size_t written = 0;
        while (written < units.size()) {
            size_t room = roomFor(units, written, kMaxRecordData - out.back().data.size(), unit);
            if (room == 0) {
                // The characters go on in a CONTINUE that restates their width.
                out.push_back(
                    RawRecord{kContinue, {static_cast<uint8_t>(compressed ? 0x00 : 0x01)}});
                room = roomFor(units, written, kMaxRecordData - 1, unit);
            }
            appendUnits(out.back().data, units, written, room, compressed);
            written += room;
        }
    }

    std::vector<size_t> recordStart(out.size());
    size_t at = sstOffset;
    for (size_t i = 0; i < out.size(); ++i) {
        recordStart[i] = at;
        at += 4 + out[i].data.size();
    }
    RawRecord ext{kExtSst, {}};
    ByteWriter w(ext.data);
    w.u16(static_cast<uint16_t>(perBucket));
    for (const auto& [record, offset] : buckets) {
        w.u32(static_cast<uint32_t>(recordStart[record] + 4 + offset));
        w.u16(static_cast<uint16_t>(4 + offset));
        w.u16(0);
    }
    out.push_back(std::move(ext));
    return out;
}

}  // namespace tallowby::engine::biff
