#include "workbook/engine/formula/extern_sheets.h"

namespace tallowby::engine::formula {
namespace {

constexpr uint16_t kSupbook = 0x01AE;
constexpr uint16_t kExternSheet = 0x0017;

uint16_t u16At(const std::vector<uint8_t>& data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

// The workbook's own SUPBOOK holds the sheet count and the marker 01 04.
bool isInternalSupbook(const RawRecord& record) {
    return record.data.size() == 4 && record.data[2] == 0x01 && record.data[3] == 0x04;
}

}  // namespace

ExternSheets::ExternSheets(const Workbook& workbook) {
    std::vector<bool> supbookInternal;
    for (const RawRecord& record : workbook.globalRecords) {
        if (record.type == kSupbook) {
            supbookInternal.push_back(isInternalSupbook(record));
        } else if (record.type == kExternSheet && record.data.size() >= 2) {
            const size_t count = u16At(record.data, 0);
            for (size_t i = 0; i < count && 2 + 6 * i + 6 <= record.data.size(); ++i) {
                const size_t at = 2 + 6 * i;
                const uint16_t supbook = u16At(record.data, at);
                const uint16_t firstSheet = u16At(record.data, at + 2);
                const uint16_t lastSheet = u16At(record.data, at + 4);
                const bool usable = supbook < supbookInternal.size() && supbookInternal[supbook] &&
                                    firstSheet == lastSheet && firstSheet < workbook.sheets.size();
                sheets_.push_back(usable ? std::optional<int>(firstSheet) : std::nullopt);
            }
            break;
        }
    }
}

std::optional<int> ExternSheets::sheetFor(uint16_t externIndex) const {
    if (externIndex >= sheets_.size()) return std::nullopt;
    return sheets_[externIndex];
}

}  // namespace tallowby::engine::formula
