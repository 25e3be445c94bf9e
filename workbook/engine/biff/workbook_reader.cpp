#include <algorithm>
#include <fstream>
#include <iterator>
#include <numeric>

#include "workbook/engine/biff/print_area_name.h"
#include "workbook/engine/biff/record_reader.h"
#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/shared_strings.h"
#include "workbook/engine/biff/sheet_reader.h"
#include "workbook/engine/biff/style_records.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/cfb/compound_file.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine {

namespace {

using namespace biff;

void checkBof(const Record& bof) {
    if (bof.type != kBof || bof.data.size() < 4)
        throw FileFormatError(
            "The workbook file is damaged: its workbook stream does not begin "
            "with a BOF record.");
    const uint16_t version = peek16(bof.data.data());
    if (version != kBiff8Version)
        throw FileFormatError(
            "The workbook was saved by a version of Excel older than 97 "
            "(BIFF5 or earlier), which is not supported.");
    if (peek16(bof.data.data() + 2) != kBofGlobals)
        throw FileFormatError(
            "The workbook file is damaged: its workbook stream does not begin "
            "with the workbook globals.");
}

SheetEntry readSheetEntry(std::span<const uint8_t> data) {
    FieldReader r(data, "BOUNDSHEET");
    SheetEntry e;
    e.offset = r.u32();
    e.visibility = r.u8() & 0x03;
    e.kind = r.u8();
    e.name = r.unicodeString(true);
    return e;
}

// What the globals say about the sheets, read before the sheets themselves.
struct Globals {
    std::vector<SheetEntry> entries;
    std::vector<std::string> strings;
};

// Reads one globals record into the model; tells whether it was kept as it
// stands (a CONTINUE after it is kept too).
bool readGlobalRecord(const Record& r, bool continuesKept, RecordReader& records, Workbook& wb,
                      Globals& globals) {
    switch (r.type) {
        case kFilePass:
            throw FileFormatError(
                "The workbook is protected with a password (encrypted), which "
                "is not supported.");
        case kTemplate:
            wb.isTemplate = true;
            return false;
        case kFont:
            wb.fonts.push_back(readFont(r.data));
            return false;
        case kFormat: {
            auto [id, code] = readFormat(r.data);
            wb.formats[id] = std::move(code);
            return false;
        }
        case kXf:
            wb.xfs.push_back(readXf(r.data));
            return false;
        case kPalette:
            readPalette(r.data, wb.palette);
            return false;
        case kBoundSheet:
            globals.entries.push_back(readSheetEntry(r.data));
            return false;
        case kSst: {
            std::vector<std::span<const uint8_t>> fragments{r.data};
            while (records.peekType() == kContinue) fragments.push_back(records.next().data);
            globals.strings = readSharedStrings(std::move(fragments));
            return false;
        }
        case kExtSst:
            return false;  // rebuilt on write
        case kContinue:
            if (continuesKept)
                wb.globalRecords.push_back(RawRecord{r.type, {r.data.begin(), r.data.end()}});
            return continuesKept;
        default:
            if (r.type == kDateMode && r.data.size() >= 2) wb.date1904 = peek16(r.data.data()) == 1;
            if (r.type == kWindow1 && r.data.size() >= 12)
                wb.activeSheet = peek16(r.data.data() + 10);
            wb.globalRecords.push_back(RawRecord{r.type, {r.data.begin(), r.data.end()}});
            return true;
    }
}

Globals readGlobals(RecordReader& records, Workbook& wb) {
    Globals globals;
    bool lastKept = false;
    while (true) {
        if (records.atEnd())
            throw FileFormatError(
                "The workbook file is damaged: the workbook globals have no end.");
        const Record r = records.next();
        if (r.type == kEof) return globals;
        lastKept = readGlobalRecord(r, lastKept, records, wb, globals);
    }
}

// Sheets are read in stream order, each no further than where the next one
// begins: overlapping sheets could otherwise make the work grow with the
// square of the file size.
std::vector<Sheet> readSheets(std::span<const uint8_t> stream, size_t globalsEnd,
                              const Globals& globals) {
    const std::vector<SheetEntry>& entries = globals.entries;
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return entries[a].offset < entries[b].offset; });
    std::vector<Sheet> sheets(entries.size());
    for (size_t k = 0; k < order.size(); ++k) {
        const SheetEntry& e = entries[order[k]];
        const size_t limit = k + 1 < order.size() ? entries[order[k + 1]].offset : stream.size();
        if (e.offset >= stream.size() || e.offset < globalsEnd)
            throw FileFormatError("The workbook file is damaged: the sheet \"" + e.name +
                                  "\" lies outside the workbook stream.");
        if (limit == e.offset)
            throw FileFormatError("The workbook file is damaged: two sheets share one place.");
        sheets[order[k]] =
            readSheet(stream.first(std::min(limit, stream.size())), e, globals.strings);
    }
    return sheets;
}

// Print areas are built-in names among the globals; each goes to its sheet.
void readPrintAreas(Workbook& wb) {
    for (const RawRecord& r : wb.globalRecords) {
        if (r.type != kName) continue;
        std::optional<PrintAreaName> area;
        try {
            area = readPrintAreaName(r.data);
        } catch (const FileFormatError&) {
            // A name the engine cannot decode is still written back as it was.
        }
        if (area && area->sheetIndex < wb.sheets.size())
            wb.sheets[area->sheetIndex].printArea = area->range;
    }
}

Workbook readWorkbookStream(std::span<const uint8_t> stream) {
    RecordReader records(stream);
    if (records.atEnd())
        throw FileFormatError("The workbook file is damaged: its workbook stream is empty.");
    checkBof(records.next());

    Workbook wb;
    const Globals globals = readGlobals(records, wb);
    wb.sheets = readSheets(stream, records.position(), globals);
    readPrintAreas(wb);
    if (wb.activeSheet < 0 || wb.activeSheet >= static_cast<int>(wb.sheets.size()))
        wb.activeSheet = 0;
    return wb;
}

}  // namespace

Workbook readWorkbook(std::span<const uint8_t> bytes) {
    const CompoundFile file = readCompoundFile(bytes);
    const CompoundStream* stream = file.find("Workbook");
    if (!stream) {
        if (file.find("Book"))
            throw FileFormatError(
                "The workbook was saved by a version of Excel older than 97, "
                "which is not supported.");
        throw FileFormatError("The file holds no Excel workbook.");
    }
    Workbook wb = readWorkbookStream(stream->data);
    for (const CompoundStream& s : file.streams)
        if (&s != stream) wb.otherStreams.push_back(Workbook::Stream{s.path, s.data});
    wb.containerClsid = file.rootClsid;
    return wb;
}

Workbook readWorkbookFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileFormatError("Cannot open the workbook file \"" + path + "\".");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    // Compound files address at most 2^32 sectors, but no workbook the
    // program meets comes near 256 MB, and the model takes several times the
    // file size: refuse rather than exhaust memory.
    if (size < 0 || size > (std::streamoff{1} << 28))
        throw FileFormatError("The workbook file \"" + path + "\" is too large to open.");
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (!in) throw FileFormatError("Cannot read the workbook file \"" + path + "\".");
    return readWorkbook(bytes);
}

}  // namespace tallowby::engine
