#include "workbook/engine/biff/page_setup_records.h"

#include <algorithm>
#include <functional>
#include <type_traits>

#include "workbook/engine/biff/record_order.h"
#include "workbook/engine/biff/record_reader.h"
#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/string_writer.h"
#include "workbook/engine/cfb/file_format_error.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

namespace {

constexpr int kPageSetupRank = 30;

// Decoding never throws: a record it cannot read is simply not modelled.
template <class T>
std::optional<T> decodeWith(const RawRecord& r, const std::function<T(FieldReader&)>& read) {
    try {
        FieldReader f(r.data, "page setup");
        return read(f);
    } catch (const FileFormatError&) {
        return std::nullopt;
    }
}

std::optional<uint16_t> decodeU16(const RawRecord& r) {
    return decodeWith<uint16_t>(r, [](FieldReader& f) { return f.u16(); });
}
std::optional<bool> decodeFlag(const RawRecord& r) {
    return decodeWith<bool>(r, [](FieldReader& f) { return f.u16() != 0; });
}
std::optional<double> decodeDouble(const RawRecord& r) {
    return decodeWith<double>(r, [](FieldReader& f) { return f.f64(); });
}
std::optional<std::string> decodeText(const RawRecord& r) {
    if (r.data.empty()) return std::string();
    return decodeWith<std::string>(r, [](FieldReader& f) { return f.unicodeString(); });
}
std::optional<std::vector<PageBreak>> decodeBreaks(const RawRecord& r) {
    return decodeWith<std::vector<PageBreak>>(r, [](FieldReader& f) {
        const uint16_t count = f.u16();
        std::vector<PageBreak> breaks;
        for (uint16_t i = 0; i < count; ++i) {
            PageBreak b;
            b.index = f.u16();
            b.start = f.u16();
            b.end = f.u16();
            breaks.push_back(b);
        }
        return breaks;
    });
}
// The SETUP record's fields in file order, for reading and writing alike.
template <class Setup, class Field>
void setupFields(Setup& s, Field&& field) {
    for (auto* v : {&s.paperSize, &s.scalePercent, &s.firstPageNumber, &s.fitWidthPages,
                    &s.fitHeightPages, &s.flags, &s.printDpi, &s.verticalDpi})
        field(*v);
    field(s.headerMarginInches);
    field(s.footerMarginInches);
    field(s.copies);
}

std::optional<PrintSetup> decodeSetup(const RawRecord& r) {
    return decodeWith<PrintSetup>(r, [](FieldReader& f) {
        PrintSetup s;
        setupFields(s, [&f](auto& v) {
            if constexpr (std::is_same_v<std::remove_reference_t<decltype(v)>, double>)
                v = f.f64();
            else
                v = f.u16();
        });
        return s;
    });
}

std::vector<uint8_t> encodeU16(uint16_t v) {
    std::vector<uint8_t> out;
    ByteWriter(out).u16(v);
    return out;
}
std::vector<uint8_t> encodeFlag(bool v) {
    return encodeU16(v ? 1 : 0);
}
std::vector<uint8_t> encodeDouble(double v) {
    std::vector<uint8_t> out;
    ByteWriter(out).f64(v);
    return out;
}
std::vector<uint8_t> encodeText(const std::string& text) {
    std::vector<uint8_t> out;
    if (!text.empty()) appendUnicodeString(out, text);
    return out;
}
std::vector<uint8_t> encodeBreaks(const std::vector<PageBreak>& breaks) {
    std::vector<uint8_t> out;
    ByteWriter w(out);
    w.u16(static_cast<uint16_t>(std::min<size_t>(breaks.size(), 1026)));
    for (size_t i = 0; i < breaks.size() && i < 1026; ++i) {
        w.u16(breaks[i].index);
        w.u16(breaks[i].start);
        w.u16(breaks[i].end);
    }
    return out;
}
std::vector<uint8_t> encodeSetup(const PrintSetup& s) {
    std::vector<uint8_t> out;
    ByteWriter w(out);
    setupFields(s, [&w](const auto& v) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(v)>, double>)
            w.f64(v);
        else
            w.u16(v);
    });
    return out;
}

// Brings the one record of `type` in line with the model's value.
template <class T, class Encode>
void applyOne(std::vector<RawRecord>& records, uint16_t type, const std::optional<T>& wanted,
              std::optional<T> (*decode)(const RawRecord&), Encode encode) {
    auto it = std::find_if(records.begin(), records.end(),
                           [type](const RawRecord& r) { return r.type == type; });
    const bool present = it != records.end();
    if (!wanted) {
        // Only a record the model could read was the model's to remove.
        if (present && decode(*it)) records.erase(it);
        return;
    }
    if (present) {
        const std::optional<T> current = decode(*it);
        if (!current || !(*current == *wanted)) it->data = encode(*wanted);
        return;
    }
    insertByRank(Part::SheetBeforeCells, records, RawRecord{type, encode(*wanted)}, kPageSetupRank);
}

const RawRecord* findRecord(const std::vector<RawRecord>& records, uint16_t type) {
    for (const RawRecord& r : records)
        if (r.type == type) return &r;
    return nullptr;
}

template <class T>
void readOne(const std::vector<RawRecord>& records, uint16_t type, std::optional<T>& into,
             std::optional<T> (*decode)(const RawRecord&)) {
    if (const RawRecord* r = findRecord(records, type)) into = decode(*r);
}

// Each page setup record with the member that models it and its coding, in
// the order spreadsheet programs write them, so added records land so.
template <class Setup, class Visit>
void eachRecord(Setup& p, Visit&& visit) {
    visit(kWsBool, p.sheetOptions, decodeU16, encodeU16);
    visit(kHorizontalBreaks, p.rowBreaks, decodeBreaks, encodeBreaks);
    visit(kVerticalBreaks, p.columnBreaks, decodeBreaks, encodeBreaks);
    visit(kHeader, p.header, decodeText, encodeText);
    visit(kFooter, p.footer, decodeText, encodeText);
    visit(kHCenter, p.centreHorizontally, decodeFlag, encodeFlag);
    visit(kVCenter, p.centreVertically, decodeFlag, encodeFlag);
    visit(kLeftMargin, p.leftMarginInches, decodeDouble, encodeDouble);
    visit(kRightMargin, p.rightMarginInches, decodeDouble, encodeDouble);
    visit(kTopMargin, p.topMarginInches, decodeDouble, encodeDouble);
    visit(kBottomMargin, p.bottomMarginInches, decodeDouble, encodeDouble);
    visit(kSetup, p.setup, decodeSetup, encodeSetup);
}

}  // namespace

PageSetup readPageSetup(const std::vector<RawRecord>& records) {
    PageSetup p;
    eachRecord(p, [&records](uint16_t type, auto& member, auto decode, auto) {
        readOne(records, type, member, decode);
    });
    return p;
}

void applyPageSetup(const PageSetup& p, std::vector<RawRecord>& records) {
    eachRecord(p, [&records](uint16_t type, const auto& member, auto decode, auto encode) {
        applyOne(records, type, member, decode, encode);
    });
}

}  // namespace tallowby::engine::biff
