#include "workbook/engine/xlsx/xlsx_defined_names.h"

#include <cstdint>
#include <iterator>
#include <optional>
#include <span>

#include "workbook/engine/common/ptg_table.h"
#include "workbook/engine/common/utf_convert.h"
#include "workbook/engine/formula/formula_text.h"

namespace tallowby::engine::xlsx {

namespace {

constexpr uint16_t kNameRecord = 0x0018;
constexpr uint16_t kHiddenFlag = 0x0001;
constexpr uint16_t kFunctionFlag = 0x0002;
constexpr uint16_t kBuiltInFlag = 0x0020;
constexpr uint8_t kPrintAreaCode = 0x06;
constexpr uint8_t kPrintTitlesCode = 0x07;
constexpr uint16_t kLastRow = 0xFFFF;
constexpr uint16_t kLastColumn = 0xFF;

// The built-in names by their one-character code.
const char* builtInName(uint8_t code) {
    static const char* const kNames[] = {
        "Consolidate_Area", "Auto_Open",       "Auto_Close",   "Extract",        "Database",
        "Criteria",         "Print_Area",      "Print_Titles", "Recorder",       "Data_Form",
        "Auto_Activate",    "Auto_Deactivate", "Sheet_Title",  "_FilterDatabase"};
    return code < std::size(kNames) ? kNames[code] : "an unknown built-in name";
}

struct NameRecord {
    uint16_t flags = 0;
    uint16_t sheet = 0;  // counted from 1; 0 for a workbook-wide name
    std::string name;    // UTF-8; for a built-in name its one-character code
    std::span<const uint8_t> tokens;
};

uint16_t le16(std::span<const uint8_t> d, size_t at) {
    return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

// The fixed part of NAME, its name and its formula; nothing when the record
// is too short for what it says it holds.
std::optional<NameRecord> decode(std::span<const uint8_t> d) {
    if (d.size() < 15) return std::nullopt;
    NameRecord n;
    n.flags = le16(d, 0);
    const size_t nameLength = d[3];
    const size_t formulaLength = le16(d, 4);
    n.sheet = le16(d, 8);
    const bool wide = d[14] & 0x01;
    size_t at = 15;
    const size_t nameBytes = nameLength * (wide ? 2 : 1);
    if (at + nameBytes > d.size()) return std::nullopt;
    std::u16string name;
    for (size_t i = 0; i < nameLength; ++i) name.push_back(wide ? le16(d, at + 2 * i) : d[at + i]);
    at += nameBytes;
    n.name = unicode::utf16ToUtf8(name);
    if (at + formulaLength > d.size()) return std::nullopt;
    n.tokens = d.subspan(at, formulaLength);
    return n;
}

// Print titles are whole rows, whole columns, or a union of both, as 3-D
// areas. False when the tokens say anything else.
bool writePrintTitles(lxw_worksheet* ws, std::span<const uint8_t> tokens) {
    size_t at = 0;
    bool any = false;
    while (at < tokens.size()) {
        const auto size = ptg::tokenSize(tokens.subspan(at));
        if (!size) return false;
        const uint8_t id = ptg::walkedBaseId(tokens[at]);
        if (id == ptg::Area3d && *size >= 11) {
            const uint16_t firstRow = le16(tokens, at + 3), lastRow = le16(tokens, at + 5);
            const uint16_t firstCol = le16(tokens, at + 7) & 0xFF;
            const uint16_t lastCol = le16(tokens, at + 9) & 0xFF;
            if (firstCol == 0 && lastCol == kLastColumn)
                worksheet_repeat_rows(ws, firstRow, lastRow);
            else if (firstRow == 0 && lastRow == kLastRow)
                worksheet_repeat_columns(ws, static_cast<lxw_col_t>(firstCol),
                                         static_cast<lxw_col_t>(lastCol));
            else
                return false;
            any = true;
        } else if (id != ptg::MemFunc && id != ptg::Union) {
            return false;
        }
        at += *size;
    }
    return any;
}

std::string quotedSheet(const std::string& sheet) {
    std::string out = "'";
    for (char c : sheet) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

}  // namespace

void writeDefinedNames(lxw_workbook* book, const Workbook& model,
                       const std::vector<lxw_worksheet*>& sheets,
                       std::vector<std::string>& warnings) {
    for (const RawRecord& r : model.globalRecords) {
        if (r.type != kNameRecord) continue;
        const std::optional<NameRecord> n = decode(r.data);
        if (!n) {
            warnings.push_back("A defined name whose record is damaged is not written.");
            continue;
        }
        if (n->flags & kBuiltInFlag) {
            const uint8_t code = n->name.empty() ? 0xFF : static_cast<uint8_t>(n->name[0]);
            if (code == kPrintAreaCode) continue;
            lxw_worksheet* ws =
                n->sheet >= 1 && n->sheet <= sheets.size() ? sheets[n->sheet - 1] : nullptr;
            if (code == kPrintTitlesCode && ws && writePrintTitles(ws, n->tokens)) continue;
            warnings.push_back(std::string("The built-in name ") + builtInName(code) +
                               " is not written.");
            continue;
        }
        if (n->flags & kFunctionFlag) {
            warnings.push_back("The macro name \"" + n->name + "\" is not written.");
            continue;
        }
        std::string formula;
        try {
            formula = formula::formulaText(n->tokens, {}, &model);
        } catch (const std::exception&) {
            warnings.push_back("The name \"" + n->name +
                               "\" refers to a formula that cannot be read; it is not written.");
            continue;
        }
        std::string qualified = n->name;
        if (n->sheet != 0) {
            if (n->sheet > model.sheets.size()) {
                warnings.push_back("The name \"" + n->name +
                                   "\" belongs to a sheet that does not exist; it is not written.");
                continue;
            }
            qualified = quotedSheet(model.sheets[n->sheet - 1].name) + "!" + n->name;
        }
        if (workbook_define_name(book, qualified.c_str(), formula.c_str()) != LXW_NO_ERROR) {
            warnings.push_back("The name \"" + n->name + "\" (" + formula +
                               ") is not a name the .xlsx format accepts; it is not written.");
            continue;
        }
        if (n->flags & kHiddenFlag)
            warnings.push_back("The name \"" + n->name + "\" is written visible, not hidden.");
    }
}

}  // namespace tallowby::engine::xlsx
