#include "workbook/engine/xlsx/xlsx_lost_content.h"

#include <algorithm>

namespace tallowby::engine::xlsx {

namespace {

struct Kind {
    uint16_t type;
    const char* what;
};

// Records whose content a reader would see and the writer has no place for.
// Protection records count only when they switch protection on.
constexpr Kind kSheetKinds[] = {
    {0x001C, "cell notes"},
    {0x01B8, "hyperlinks"},
    {0x01B2, "data validation"},
    {0x01B0, "conditional formats"},
    // A drawing container alone (MSODRAWING) holds no shape; each shape has an OBJ.
    {0x005D, "drawings, pictures, charts or controls"},
    {0x0041, "split or frozen panes"},
    {0x009D, "an autofilter"},
    {0x0012, "sheet protection"},
    {0x0099, "a scenario or outline setting"},
};

constexpr Kind kGlobalKinds[] = {
    {0x0012, "workbook protection"},
    {0x0019, "window protection"},
    {0x00D3, "macros (a Visual Basic project)"},
    {0x01AE, "links to other workbooks"},
};

bool switchedOff(const RawRecord& r) {
    // PROTECT and WINDOWPROTECT hold one flag word; 0 means off.
    return (r.type == 0x0012 || r.type == 0x0019) && r.data.size() >= 2 && r.data[0] == 0 &&
           r.data[1] == 0;
}

bool present(const std::vector<RawRecord>& records, uint16_t type) {
    return std::any_of(records.begin(), records.end(),
                       [type](const RawRecord& r) { return r.type == type && !switchedOff(r); });
}

// SUPBOOK records that name only this workbook or add-in functions link nowhere.
bool linksElsewhere(const std::vector<RawRecord>& records) {
    return std::any_of(records.begin(), records.end(), [](const RawRecord& r) {
        if (r.type != 0x01AE || r.data.size() < 4) return false;
        const uint16_t marker = static_cast<uint16_t>(r.data[2] | (r.data[3] << 8));
        return marker != 0x0401 && marker != 0x3A01;
    });
}

}  // namespace

const RawRecord* keptSheetRecord(const Sheet& sheet, uint16_t type) {
    for (const auto* records : {&sheet.recordsBeforeCells, &sheet.recordsAfterCells})
        for (const RawRecord& r : *records)
            if (r.type == type) return &r;
    return nullptr;
}

std::vector<std::string> lostContentWarnings(const Workbook& model) {
    std::vector<std::string> out;
    for (const Kind& kind : kGlobalKinds) {
        const bool found = kind.type == 0x01AE ? linksElsewhere(model.globalRecords)
                                               : present(model.globalRecords, kind.type);
        if (found)
            out.push_back(std::string("The workbook's ") + kind.what + " cannot be written.");
    }
    for (const Sheet& sheet : model.sheets) {
        if (sheet.kind != SheetKind::Worksheet) continue;
        for (const Kind& kind : kSheetKinds) {
            if (present(sheet.recordsBeforeCells, kind.type) ||
                present(sheet.recordsAfterCells, kind.type))
                out.push_back("Sheet \"" + sheet.name + "\": " + kind.what + " cannot be written.");
        }
    }
    return out;
}

}  // namespace tallowby::engine::xlsx
