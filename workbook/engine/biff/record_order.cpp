#include "workbook/engine/biff/record_order.h"

#include <algorithm>

namespace tallowby::engine::biff {

namespace {

int globalsRank(uint16_t type) {
    switch (type) {
        case 0xE1:
        case 0xC1:
        case 0xE2:
        case 0x5C:
        case 0x42:
        case 0x161:
        case 0x13D:
        case 0x9C:
        case 0x19:
        case 0x12:
        case 0x13:
        case 0x1AF:
        case 0x1BC:
        case 0x3D:
        case 0x40:
        case 0x8D:
        case 0x22:
        case 0x0E:
        case 0x1B7:
        case 0xDA:
        case 0x86:
        case 0x5B:
        case 0x1C0:
            return 10;  // file, window and calculation settings before the fonts
        case 0x87C:
        case 0x87D:
            return 35;  // XF checksum and extensions after the XFs
        case 0x88D:
            return 36;  // differential formats
        case 0x293:
        case 0x892:
            return 40;  // styles
        case 0x88E:
            return 42;  // table styles
        case 0x160:
            return 47;  // uses ELFs
        case 0x8C:
            return 60;  // country
        case 0x1AE:
            return 62;  // SUPBOOK
        case 0x17:
            return 64;  // EXTERNSHEET
        case 0x18:
            return 66;  // NAME
        case 0x1C1:
            return 68;  // RECALCID
        case 0xEB:
            return 70;  // drawing group
        case 0x863:
        case 0x896:
        case 0x89A:
        case 0x8A3:
            return 90;  // book extensions, theme
        default:
            return -1;
    }
}

int beforeCellsRank(uint16_t type) {
    switch (type) {
        case 0x0D:
        case 0x0C:
        case 0x0F:
        case 0x11:
        case 0x10:
        case 0x5F:
        case 0x2A:
        case 0x2B:
        case 0x82:
        case 0x80:
            return 10;  // calculation and print settings, outline gutters
        case 0x81:
        case 0x1B:
        case 0x1A:
        case 0x14:
        case 0x15:
        case 0x83:
        case 0x84:
        case 0x26:
        case 0x27:
        case 0x28:
        case 0x29:
        case 0x4D:
        case 0xA1:
        case 0x12:
        case 0x13:
        case 0xDD:
        case 0x63:
        case 0xE9:
        case 0x89C:
            return 30;  // sheet options, page setup, protection
        case 0x90:
        case 0x9D:
        case 0x9B:
        case 0x9E:
            return 50;  // sort and filter
        default:
            return -1;
    }
}

int afterCellsRank(uint16_t type) {
    switch (type) {
        case 0x23E:
            return 20;  // WINDOW2
        case 0x88B:
        case 0xA0:
        case 0x41:
        case 0x1D:
            return 25;  // zoom, panes, selection
        case 0x15F:
        case 0xEF:
        case 0x1B0:
        case 0x1B1:
        case 0x1B8:
        case 0x1B2:
        case 0x1BA:
        case 0x862:
        case 0x867:
        case 0x868:
        case 0x871:
        case 0x872:
        case 0x1BE:
            return 50;  // conditional formats, links, validation, extensions
        default:
            return -1;
    }
}

std::vector<int> inheritedRanks(Part part, const std::vector<RawRecord>& kept) {
    std::vector<int> ranks;
    ranks.reserve(kept.size());
    int previous = 10;
    for (const RawRecord& r : kept) {
        const int own = rankOf(part, r.type);
        previous = own >= 0 ? own : previous;
        ranks.push_back(previous);
    }
    return ranks;
}

}  // namespace

int rankOf(Part part, uint16_t type) {
    switch (part) {
        case Part::Globals:
            return globalsRank(type);
        case Part::SheetBeforeCells:
            return beforeCellsRank(type);
        case Part::SheetAfterCells:
            return afterCellsRank(type);
    }
    return -1;
}

std::vector<RawRecord> arrangeRecords(Part part, const std::vector<RawRecord>& kept,
                                      std::vector<RecordBlock> built) {
    std::stable_sort(built.begin(), built.end(),
                     [](const RecordBlock& a, const RecordBlock& b) { return a.rank < b.rank; });
    const std::vector<int> ranks = inheritedRanks(part, kept);
    std::vector<RawRecord> out;
    size_t next = 0;
    auto emitUpTo = [&](int rank) {
        for (; next < built.size() && built[next].rank < rank; ++next)
            for (RawRecord& r : built[next].records) out.push_back(std::move(r));
    };
    for (size_t i = 0; i < kept.size(); ++i) {
        emitUpTo(ranks[i]);
        out.push_back(kept[i]);
    }
    emitUpTo(1 << 30);
    return out;
}

void insertByRank(Part part, std::vector<RawRecord>& kept, RawRecord record, int rank) {
    const std::vector<int> ranks = inheritedRanks(part, kept);
    size_t at = 0;
    while (at < kept.size() && ranks[at] <= rank) ++at;
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
}

}  // namespace tallowby::engine::biff
