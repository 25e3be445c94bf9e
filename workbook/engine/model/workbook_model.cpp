#include "workbook/engine/model/workbook_model.h"

#include <algorithm>
#include <utility>

#include "workbook/engine/model/default_palette.h"

namespace tallowby::engine {

namespace {
constexpr std::pair<ErrorCode, const char*> kErrorTexts[] = {
    {ErrorCode::Null, "#NULL!"}, {ErrorCode::Div0, "#DIV/0!"}, {ErrorCode::Value, "#VALUE!"},
    {ErrorCode::Ref, "#REF!"},   {ErrorCode::Name, "#NAME?"},  {ErrorCode::Num, "#NUM!"},
    {ErrorCode::NA, "#N/A"}};
}  // namespace

const char* errorText(ErrorCode code) {
    for (const auto& [error, text] : kErrorTexts)
        if (error == code) return text;
    return "#N/A";
}

ErrorCode errorFromCode(uint8_t code) {
    for (const auto& [error, text] : kErrorTexts)
        if (static_cast<uint8_t>(error) == code) return error;
    return ErrorCode::NA;
}

bool CellValue::operator==(const CellValue& other) const {
    if (type != other.type) return false;
    switch (type) {
        case Type::Empty:
            return true;
        case Type::Number:
        case Type::Boolean:
            return number == other.number;
        case Type::Text:
            return text == other.text;
        case Type::Error:
            return error == other.error;
    }
    return false;
}

const Cell* Sheet::find(uint16_t row, uint16_t col) const {
    auto it = cells_.find(CellAddress{row, col});
    return it == cells_.end() ? nullptr : &it->second;
}

Cell& Sheet::at(uint16_t row, uint16_t col) {
    const CellAddress key{row, col};
    // Sheets are mostly filled in row order (a file's cell records, a sheet
    // built row by row), often setting the cell just added again: the last
    // cell is at hand without a search from the root of a tree that may be
    // too big for the processor's caches.
    if (!cells_.empty()) {
        auto& last = *cells_.rbegin();
        if (last.first == key) return last.second;
        if (last.first < key) return cells_.emplace_hint(cells_.end(), key, Cell{})->second;
    }
    return cells_[key];
}

void Sheet::formatRun(uint16_t row, uint16_t firstCol, uint16_t lastCol, uint16_t xf) {
    auto it = cells_.lower_bound(CellAddress{row, firstCol});
    for (uint32_t col = firstCol; col <= lastCol; ++col, ++it) {
        const CellAddress key{row, static_cast<uint16_t>(col)};
        if (it == cells_.end() || key < it->first) it = cells_.emplace_hint(it, key, Cell{});
        it->second.xf = xf;
    }
}

void Sheet::erase(uint16_t row, uint16_t col) {
    cells_.erase(CellAddress{row, col});
}

std::optional<CellRange> Sheet::usedRange() const {
    if (cells_.empty()) return std::nullopt;
    CellRange r{cells_.begin()->first.row, std::prev(cells_.end())->first.row, 0xFFFF, 0};
    for (const auto& [address, cell] : cells_) {
        r.firstCol = std::min(r.firstCol, address.col);
        r.lastCol = std::max(r.lastCol, address.col);
    }
    return r;
}

const CellRange* Sheet::mergeAt(uint16_t row, uint16_t col) const {
    for (const CellRange& m : merges)
        if (m.contains(row, col)) return &m;
    return nullptr;
}

Workbook::Workbook() {
    palette = kDefaultPalette;
}

const Font& Workbook::font(uint16_t index) const {
    static const Font kDefaultFont;
    // The file numbers fonts 0, 1, 2, 3, 5, 6, ...: there is no font 4.
    const size_t position = index >= 4 ? index - 1u : index;
    if (index == 4 || position >= fonts.size()) return fonts.empty() ? kDefaultFont : fonts[0];
    return fonts[position];
}

std::string Workbook::formatCode(uint16_t id) const {
    auto it = formats.find(id);
    if (it != formats.end()) return it->second;
    std::string code = builtinFormatCode(id);
    return code.empty() ? std::string("General") : code;
}

uint16_t Workbook::ensureFormat(const std::string& code) {
    for (const auto& [id, existing] : formats)
        if (existing == code) return id;
    for (uint16_t id = 0; id < 164; ++id)
        if (!formats.count(id) && !builtinFormatCode(id).empty() && builtinFormatCode(id) == code)
            return id;
    uint16_t next = 164;
    for (const auto& [id, existing] : formats) next = std::max<uint16_t>(next, id + 1);
    formats[next] = code;
    return next;
}

const Xf& Workbook::xf(uint16_t index) const {
    static const Xf kDefaultXf;
    if (index < xfs.size()) return xfs[index];
    if (xfs.size() > 15) return xfs[15];
    return kDefaultXf;
}

uint16_t Workbook::ensureXf(const Xf& wanted) {
    auto same = [&](const Xf& x) {
        Xf a = x, b = wanted;
        a.raw = {};
        b.raw = {};
        return a == b;
    };
    for (size_t i = 0; i < xfs.size(); ++i)
        if (!xfs[i].styleXf && same(xfs[i])) return static_cast<uint16_t>(i);
    Xf added = wanted;
    // A new cell XF states every attribute itself (the used-attribute bits of
    // the record), or readers take the ones it copied unchanged from its style.
    if (!added.styleXf) added.raw[9] |= 0xFC;
    xfs.push_back(added);
    return static_cast<uint16_t>(xfs.size() - 1);
}

Rgb Workbook::colour(uint16_t index, Rgb automatic) const {
    if (index >= 8 && index < 64) return palette[index - 8];
    switch (index) {
        case 0:
            return 0x000000;
        case 1:
            return 0xFFFFFF;
        case 2:
            return 0xFF0000;
        case 3:
            return 0x00FF00;
        case 4:
            return 0x0000FF;
        case 5:
            return 0xFFFF00;
        case 6:
            return 0xFF00FF;
        case 7:
            return 0x00FFFF;
        case 65:
            return 0xFFFFFF;  // system window background
        default:
            return automatic;  // 64, 0x7FFF and the other system colours
    }
}

std::string builtinFormatCode(uint16_t id) {
    switch (id) {
        case 0:
            return "General";
        case 1:
            return "0";
        case 2:
            return "0.00";
        case 3:
            return "#,##0";
        case 4:
            return "#,##0.00";
        case 5:
            return "\"$\"#,##0_);\\(\"$\"#,##0\\)";
        case 6:
            return "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)";
        case 7:
            return "\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)";
        case 8:
            return "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)";
        case 9:
            return "0%";
        case 10:
            return "0.00%";
        case 11:
            return "0.00E+00";
        case 12:
            return "# ?/?";
        case 13:
            return "# ?\?/?\?";
        case 14:
            return "m/d/yyyy";
        case 15:
            return "d-mmm-yy";
        case 16:
            return "d-mmm";
        case 17:
            return "mmm-yy";
        case 18:
            return "h:mm AM/PM";
        case 19:
            return "h:mm:ss AM/PM";
        case 20:
            return "h:mm";
        case 21:
            return "h:mm:ss";
        case 22:
            return "m/d/yyyy h:mm";
        case 37:
            return "#,##0_);(#,##0)";
        case 38:
            return "#,##0_);[Red](#,##0)";
        case 39:
            return "#,##0.00_);(#,##0.00)";
        case 40:
            return "#,##0.00_);[Red](#,##0.00)";
        case 41:
            return "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)";
        case 42:
            return "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)";
        case 43:
            return "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)";
        case 44:
            return "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)";
        case 45:
            return "mm:ss";
        case 46:
            return "[h]:mm:ss";
        case 47:
            return "mm:ss.0";
        case 48:
            return "##0.0E+0";
        case 49:
            return "@";
        default:
            return {};
    }
}

}  // namespace tallowby::engine
