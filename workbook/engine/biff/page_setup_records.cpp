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
template <class T>
void applyOne(std::vector<RawRecord>& records, uint16_t type, const std::optional<T>& wanted,
              const std::function<std::optional<T>(const RawRecord&)>& decode,
              const std::function<std::vector<uint8_t>(const T&)>& encode) {
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
             const std::function<std::optional<T>(const RawRecord&)>& decode) {
    if (const RawRecord* r = findRecord(records, type)) into = decode(*r);
}

}  // namespace

PageSetup readPageSetup(const std::vector<RawRecord>& records) {
    PageSetup p;
    readOne<uint16_t>(records, kWsBool, p.sheetOptions, decodeU16);
    readOne<std::vector<PageBreak>>(records, kHorizontalBreaks, p.rowBreaks, decodeBreaks);
    readOne<std::vector<PageBreak>>(records, kVerticalBreaks, p.columnBreaks, decodeBreaks);
    readOne<std::string>(records, kHeader, p.header, decodeText);
    readOne<std::string>(records, kFooter, p.footer, decodeText);
    readOne<bool>(records, kHCenter, p.centreHorizontally, decodeFlag);
    readOne<bool>(records, kVCenter, p.centreVertically, decodeFlag);
    readOne<double>(records, kLeftMargin, p.leftMarginInches, decodeDouble);
    readOne<double>(records, kRightMargin, p.rightMarginInches, decodeDouble);
    readOne<double>(records, kTopMargin, p.topMarginInches, decodeDouble);
    readOne<double>(records, kBottomMargin, p.bottomMarginInches, decodeDouble);
    readOne<PrintSetup>(records, kSetup, p.setup, decodeSetup);
    return p;
}

void applyPageSetup(const PageSetup& p, std::vector<RawRecord>& records) {
    // In the order spreadsheet programs write them, so added records land so.
    applyOne<uint16_t>(records, kWsBool, p.sheetOptions, decodeU16, encodeU16);
    applyOne<std::vector<PageBreak>>(records, kHorizontalBreaks, p.rowBreaks, decodeBreaks,
                                     encodeBreaks);
    applyOne<std::vector<PageBreak>>(records, kVerticalBreaks, p.columnBreaks, decodeBreaks,
                                     encodeBreaks);
    applyOne<std::string>(records, kHeader, p.header, decodeText, encodeText);
    applyOne<std::string>(records, kFooter, p.footer, decodeText, encodeText);
    applyOne<bool>(records, kHCenter, p.centreHorizontally, decodeFlag, encodeFlag);
    applyOne<bool>(records, kVCenter, p.centreVertically, decodeFlag, encodeFlag);
    applyOne<double>(records, kLeftMargin, p.leftMarginInches, decodeDouble, encodeDouble);
    applyOne<double>(records, kRightMargin, p.rightMarginInches, decodeDouble, encodeDouble);
    applyOne<double>(records, kTopMargin, p.topMarginInches, decodeDouble, encodeDouble);
    applyOne<double>(records, kBottomMargin, p.bottomMarginInches, decodeDouble, encodeDouble);
    applyOne<PrintSetup>(records, kSetup, p.setup, decodeSetup, encodeSetup);
}

}  // namespace tallowby::engine::biff
