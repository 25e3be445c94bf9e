#include <algorithm>
#include <fstream>

#include "workbook/engine/biff/print_area_name.h"
#include "workbook/engine/biff/record_order.h"
#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/record_writer.h"
#include "workbook/engine/biff/shared_strings.h"
#include "workbook/engine/biff/sheet_writer.h"
#include "workbook/engine/biff/string_writer.h"
#include "workbook/engine/biff/style_records.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/cfb/compound_file.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine {

namespace {

using namespace biff;

constexpr int kFormattingRank = 30;
constexpr int kStyleRank = 40;
constexpr int kPaletteRank = 45;
constexpr int kSheetListRank = 50;
constexpr int kSupBookRank = 62;
constexpr int kExternSheetRank = 64;
constexpr int kNameRank = 66;
constexpr int kStringTableRank = 80;

// Puts a record after the last one of its type, or where its rank says when
// there is none yet.
void insertAfterItsKind(std::vector<RawRecord>& globals, RawRecord record, int rank) {
    const uint16_t type = record.type;
    auto last = std::find_if(globals.rbegin(), globals.rend(),
                             [type](const RawRecord& r) { return r.type == type; });
    if (last != globals.rend())
        globals.insert(last.base(), std::move(record));
    else
        insertByRank(Part::Globals, globals, std::move(record), rank);
}

bool has(const std::vector<RawRecord>& records, uint16_t type) {
    return std::any_of(records.begin(), records.end(),
                       [&](const RawRecord& r) { return r.type == type; });
}

bool isInternalSupBook(const RawRecord& r) {
    return r.type == kSupBook && r.data.size() == 4 && r.data[2] == 0x01 && r.data[3] == 0x04;
}

// The extern-sheet entry that points at one sheet of this workbook, added
// (with the internal SUPBOOK it needs) when missing. Entries are only
// appended, so indexes that formulas already use stay valid.
uint16_t externSheetEntry(std::vector<RawRecord>& globals, uint16_t sheet, uint16_t sheetCount) {
    uint16_t supBookIndex = 0, supBookCount = 0;
    bool internal = false;
    for (const RawRecord& r : globals) {
        if (r.type != kSupBook) continue;
        if (isInternalSupBook(r) && !internal) {
            internal = true;
            supBookIndex = supBookCount;
        }
        ++supBookCount;
    }
    if (!internal) {
        RawRecord book{kSupBook, {}};
        ByteWriter(book.data).u16(sheetCount);
        ByteWriter(book.data).u16(0x0401);
        supBookIndex = supBookCount;
        insertAfterItsKind(globals, std::move(book), kSupBookRank);
    }
    auto list = std::find_if(globals.begin(), globals.end(),
                             [](const RawRecord& r) { return r.type == kExternSheet; });
    if (list == globals.end()) {
        RawRecord empty{kExternSheet, {0, 0}};
        insertByRank(Part::Globals, globals, std::move(empty), kExternSheetRank);
        list = std::find_if(globals.begin(), globals.end(),
                            [](const RawRecord& r) { return r.type == kExternSheet; });
    }
    std::vector<uint8_t>& data = list->data;
    if (data.size() < 2) data.assign(2, 0);
    const uint16_t count =
        std::min<uint16_t>(peek16(data.data()), static_cast<uint16_t>((data.size() - 2) / 6));
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* e = data.data() + 2 + 6 * i;
        if (peek16(e) == supBookIndex && peek16(e + 2) == sheet && peek16(e + 4) == sheet) return i;
    }
    data.resize(2 + 6 * size_t{count});
    ByteWriter w(data);
    w.u16(supBookIndex);
    w.u16(sheet);
    w.u16(sheet);
    poke16(data.data(), static_cast<uint16_t>(count + 1));
    return count;
}

// Print areas: a changed one rewrites its NAME record, a new one adds one, a
// removed one drops it.
void updatePrintAreas(const Workbook& wb, std::vector<RawRecord>& globals) {
    const auto sheetCount = static_cast<uint16_t>(wb.sheets.size());
    for (uint16_t s = 0; s < sheetCount; ++s) {
        const std::optional<CellRange>& wanted = wb.sheets[s].printArea;
        auto it = std::find_if(globals.begin(), globals.end(), [&](const RawRecord& r) {
            if (r.type != kName) return false;
            try {
                const auto area = readPrintAreaName(r.data);
                return area && area->sheetIndex == s;
            } catch (const FileFormatError&) {
                return false;
            }
        });
        if (it != globals.end()) {
            if (!wanted) {
                globals.erase(it);
            } else if (readPrintAreaName(it->data)->range != *wanted) {
                const size_t at = static_cast<size_t>(it - globals.begin());
                const uint16_t xti = externSheetEntry(globals, s, sheetCount);
                globals[at].data = printAreaNameRecord(s, xti, *wanted);
            }
            continue;
        }
        if (!wanted) continue;
        const uint16_t xti = externSheetEntry(globals, s, sheetCount);
        insertAfterItsKind(globals, RawRecord{kName, printAreaNameRecord(s, xti, *wanted)},
                           kNameRank);
    }
}

// Settings records that are kept as read but carry state the model owns.
void patchSettings(const Workbook& wb, std::vector<RawRecord>& globals,
                   std::vector<RecordBlock>& built) {
    bool window = false, dateMode = false;
    for (RawRecord& r : globals) {
        if (r.type == kWindow1 && r.data.size() >= 12) {
            poke16(r.data.data() + 10, static_cast<uint16_t>(wb.activeSheet));
            if (r.data.size() >= 14 && peek16(r.data.data() + 12) > wb.activeSheet)
                poke16(r.data.data() + 12, static_cast<uint16_t>(wb.activeSheet));
            window = true;
        } else if (r.type == kDateMode && r.data.size() >= 2) {
            poke16(r.data.data(), wb.date1904 ? 1 : 0);
            dateMode = true;
        }
    }
    RecordBlock settings{10, {}};
    if (!has(globals, kCodePage)) settings.records.push_back({kCodePage, {0xB0, 0x04}});  // UTF-16
    if (!window) {
        RawRecord r{kWindow1, {}};
        ByteWriter w(r.data);
        // position, size, options
        for (int v : {0, 0, 0x4000, 0x2000, 0x0038}) w.u16(static_cast<uint16_t>(v));
        w.u16(static_cast<uint16_t>(wb.activeSheet));
        w.u16(0);    // first visible tab
        w.u16(1);    // selected tabs
        w.u16(600);  // tab bar width ratio
        settings.records.push_back(std::move(r));
    }
    if (!dateMode) settings.records.push_back({kDateMode, {static_cast<uint8_t>(wb.date1904), 0}});
    built.push_back(std::move(settings));
    if (!has(globals, kStyle)) built.push_back({kStyleRank, {{kStyle, {0x00, 0x80, 0x00, 0xFF}}}});
}

RecordBlock formattingBlock(const Workbook& wb) {
    RecordBlock block{kFormattingRank, {}};
    std::vector<Font> fonts = wb.fonts;
    if (fonts.empty()) fonts.assign(4, Font{});
    for (const Font& f : fonts) block.records.push_back({kFont, fontRecord(f)});
    for (const auto& [id, code] : wb.formats)
        block.records.push_back({kFormat, formatRecord(id, code)});
    std::vector<Xf> xfs = wb.xfs;
    // Readers expect the 15 style XFs and the default cell XF at least.
    while (xfs.size() < 16) {
        Xf x;
        x.styleXf = xfs.size() < 15;
        xfs.push_back(x);
    }
    for (const Xf& x : xfs) block.records.push_back({kXf, xfRecord(x)});
    return block;
}

struct Serialized {
    std::vector<uint8_t> bytes;
    std::vector<size_t> sheetOffsetFields;  // where each BOUNDSHEET's offset lies
    size_t sstOffset = 0;
};

Serialized serialize(const std::vector<RawRecord>& records) {
    Serialized s;
    bool sstSeen = false;
    for (const RawRecord& r : records) {
        if (r.type == kBoundSheet) s.sheetOffsetFields.push_back(s.bytes.size() + 4);
        if (r.type == kSst && !sstSeen) {
            s.sstOffset = s.bytes.size();
            sstSeen = true;
        }
        appendRecord(s.bytes, r);
    }
    return s;
}

std::vector<uint8_t> writeWorkbookStream(const Workbook& wb, const WriteOptions& options) {
    SharedStringTable strings;
    std::vector<std::vector<uint8_t>> sheets;
    for (size_t i = 0; i < wb.sheets.size(); ++i)
        sheets.push_back(writeSheet(wb.sheets[i], static_cast<int>(i) == wb.activeSheet, strings));

    std::vector<RawRecord> globals = wb.globalRecords;
    std::vector<RecordBlock> built;
    patchSettings(wb, globals, built);
    updatePrintAreas(wb, globals);
    if (wb.isTemplate && !options.saveAsWorkbook) built.push_back({1, {{kTemplate, {}}}});
    built.push_back(formattingBlock(wb));
    if (wb.palette != Workbook().palette || has(wb.globalRecords, kPalette))
        built.push_back({kPaletteRank, {{kPalette, paletteRecord(wb.palette)}}});
    RecordBlock sheetList{kSheetListRank, {}};
    for (const Sheet& s : wb.sheets) {
        RawRecord r{kBoundSheet, {}};
        ByteWriter w(r.data);
        w.u32(0);  // offset, filled in below
        w.u8(s.visibility);
        w.u8(static_cast<uint8_t>(s.kind));
        appendUnicodeString(r.data, s.name, true);
        sheetList.records.push_back(std::move(r));
    }
    built.push_back(std::move(sheetList));
    // The palette record is rebuilt; drop the one read.
    std::erase_if(globals, [](const RawRecord& r) { return r.type == kPalette; });

    auto layout = [&](size_t sstOffset) {
        std::vector<RecordBlock> blocks = built;
        blocks.push_back({kStringTableRank, strings.records(sstOffset)});
        std::vector<RawRecord> records{{kBof, bofData(kBofGlobals)}};
        for (RawRecord& r : arrangeRecords(Part::Globals, globals, std::move(blocks)))
            records.push_back(std::move(r));
        records.push_back({kEof, {}});
        return serialize(records);
    };
    // The string index needs the table's own position, known after one pass.
    Serialized stream = layout(0);
    stream = layout(stream.sstOffset);

    size_t offset = stream.bytes.size();
    for (size_t i = 0; i < sheets.size(); ++i) {
        poke32(stream.bytes.data() + stream.sheetOffsetFields[i], static_cast<uint32_t>(offset));
        offset += sheets[i].size();
    }
    for (const auto& s : sheets) stream.bytes.insert(stream.bytes.end(), s.begin(), s.end());
    return std::move(stream.bytes);
}

}  // namespace

std::vector<uint8_t> writeWorkbook(const Workbook& workbook, const WriteOptions& options) {
    CompoundFile file;
    file.rootClsid = workbook.containerClsid;
    file.streams.push_back({"Workbook", writeWorkbookStream(workbook, options)});
    for (const Workbook::Stream& s : workbook.otherStreams) {
        if (file.find(s.path)) continue;  // a stale workbook stream of another name case
        file.streams.push_back({s.path, s.data});
    }
    return writeCompoundFile(file);
}

void writeWorkbookFile(const Workbook& workbook, const std::string& path,
                       const WriteOptions& options) {
    const std::vector<uint8_t> bytes = writeWorkbook(workbook, options);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("Cannot write the workbook file \"" + path + "\".");
}

}  // namespace tallowby::engine
