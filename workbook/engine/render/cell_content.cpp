#include "workbook/engine/render/cell_content.h"

#include <algorithm>
#include <cctype>

namespace tallowby::engine::render {
namespace {

bool isGeneralCode(const std::string& code) {
    std::string lower = code;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return lower == "general";
}

HAlign resolveAlign(HAlign stored, CellContent::Kind kind) {
    if (stored != HAlign::General) return stored;
    switch (kind) {
        case CellContent::Kind::Text:
            return HAlign::Left;
        case CellContent::Kind::Number:
            return HAlign::Right;
        case CellContent::Kind::Other:
            return HAlign::Centre;
    }
    return HAlign::Left;
}

}  // namespace

std::optional<CellContent> cellContent(const Workbook& workbook, const Cell& cell,
                                       const FormatLocale& locale) {
    const CellValue& value = cell.value;
    const Xf& xf = workbook.xf(cell.xf);
    const std::string code = workbook.formatCode(xf.format);
    CellContent content;
    switch (value.type) {
        case CellValue::Type::Empty:
            return std::nullopt;
        case CellValue::Type::Number:
            content.kind = CellContent::Kind::Number;
            content.number = value.number;
            content.generalNumber = isGeneralCode(code);
            if (content.generalNumber)
                content.shown.text = formatGeneral(value.number, locale, 11);
            else
                content.shown = formatNumber(value.number, code, locale, workbook.date1904);
            break;
        case CellValue::Type::Text:
            content.kind = CellContent::Kind::Text;
            content.shown = formatText(value.text, code, locale);
            break;
        case CellValue::Type::Boolean:
            content.kind = CellContent::Kind::Other;
            content.shown.text = value.number != 0 ? "TRUE" : "FALSE";
            break;
        case CellValue::Type::Error:
            content.kind = CellContent::Kind::Other;
            content.shown.text = errorText(value.error);
            break;
    }
    content.align = resolveAlign(xf.hAlign, content.kind);
    return content;
}

}  // namespace tallowby::engine::render
