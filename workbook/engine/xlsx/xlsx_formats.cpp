#include "workbook/engine/xlsx/xlsx_formats.h"

#include <string>

namespace tallowby::engine::xlsx {

namespace {

uint8_t underlineStyle(uint8_t biff) {
    switch (biff) {
        case 1:
            return LXW_UNDERLINE_SINGLE;
        case 2:
            return LXW_UNDERLINE_DOUBLE;
        case 0x21:
            return LXW_UNDERLINE_SINGLE_ACCOUNTING;
        case 0x22:
            return LXW_UNDERLINE_DOUBLE_ACCOUNTING;
        default:
            return LXW_UNDERLINE_NONE;
    }
}

uint8_t verticalAlignment(VAlign v) {
    switch (v) {
        case VAlign::Top:
            return LXW_ALIGN_VERTICAL_TOP;
        case VAlign::Centre:
            return LXW_ALIGN_VERTICAL_CENTER;
        case VAlign::Justify:
            return LXW_ALIGN_VERTICAL_JUSTIFY;
        case VAlign::Distributed:
            return LXW_ALIGN_VERTICAL_DISTRIBUTED;
        case VAlign::Bottom:
            break;
    }
    return LXW_ALIGN_VERTICAL_BOTTOM;
}

// BIFF8 keeps 0..90 for upward text, 91..180 for downward and 255 for
// letters stacked; the xlsx API takes -90..90 and 270 for stacked.
int16_t rotationAngle(uint8_t biff) {
    if (biff == 255) return 270;
    if (biff > 90 && biff <= 180) return static_cast<int16_t>(90 - biff);
    return biff;
}

void applyFont(lxw_format* f, const Workbook& model, const Font& font) {
    format_set_font_name(f, font.name.c_str());
    format_set_font_size(f, font.heightTwips / 20.0);
    const lxw_color_t colour = xlsxColour(model, font.colourIndex);
    if (colour != LXW_COLOR_UNSET) format_set_font_color(f, colour);
    if (font.bold()) format_set_bold(f);
    if (font.italic) format_set_italic(f);
    if (font.strikeout) format_set_font_strikeout(f);
    if (const uint8_t u = underlineStyle(font.underline); u != LXW_UNDERLINE_NONE)
        format_set_underline(f, u);
    if (font.escapement == 1) format_set_font_script(f, LXW_FONT_SUPERSCRIPT);
    if (font.escapement == 2) format_set_font_script(f, LXW_FONT_SUBSCRIPT);
    if (font.family != 0) format_set_font_family(f, font.family);
    if (font.charset != 0) format_set_font_charset(f, font.charset);
}

void applyNumberFormat(lxw_format* f, const Workbook& model, uint16_t id) {
    // A built-in id the file does not redefine stays an id, so readers show
    // the locale's form of the short date and the currency formats.
    if (id != 0 && !model.formats.count(id) && id < 164 && !builtinFormatCode(id).empty()) {
        format_set_num_format_index(f, static_cast<uint8_t>(id));
        return;
    }
    const std::string code = model.formatCode(id);
    if (!code.empty() && code != "General") format_set_num_format(f, code.c_str());
}

void applyBorders(lxw_format* f, const Workbook& model, const Xf& x) {
    struct Side {
        const BorderLine& line;
        void (*style)(lxw_format*, uint8_t);
        void (*colour)(lxw_format*, lxw_color_t);
    };
    const Side sides[] = {{x.left, format_set_left, format_set_left_color},
                          {x.right, format_set_right, format_set_right_color},
                          {x.top, format_set_top, format_set_top_color},
                          {x.bottom, format_set_bottom, format_set_bottom_color}};
    for (const Side& side : sides) {
        if (side.line.style == 0) continue;
        // The 14 BIFF8 line styles are numbered as the xlsx API numbers them.
        side.style(f, side.line.style);
        const lxw_color_t colour = xlsxColour(model, side.line.colourIndex);
        if (colour != LXW_COLOR_UNSET) side.colour(f, colour);
    }
}

void applyFill(lxw_format* f, const Workbook& model, const Xf& x) {
    if (x.fillPattern == 0) return;
    // The 18 BIFF8 fill patterns are numbered as the xlsx API numbers them.
    format_set_pattern(f, x.fillPattern);
    const lxw_color_t fore = xlsxColour(model, x.fillForeground);
    const lxw_color_t back = xlsxColour(model, x.fillBackground);
    if (x.fillPattern == 1) {
        // For a solid fill the API takes the cell's colour as the background
        // colour and writes it where readers look for it.
        if (fore != LXW_COLOR_UNSET) format_set_bg_color(f, fore);
        return;
    }
    if (fore != LXW_COLOR_UNSET) format_set_fg_color(f, fore);
    if (back != LXW_COLOR_UNSET) format_set_bg_color(f, back);
}

}  // namespace

lxw_color_t xlsxColour(const Workbook& model, uint16_t colourIndex) {
    if (colourIndex >= 64) return LXW_COLOR_UNSET;
    const Rgb rgb = model.colour(colourIndex);
    // 0 means "unset" to the API; black has a value of its own.
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : static_cast<lxw_color_t>(rgb);
}

lxw_format* XlsxFormats::forXf(uint16_t xfIndex) {
    if (const auto it = made_.find(xfIndex); it != made_.end()) return it->second;
    const Xf& x = model_->xf(xfIndex);
    lxw_format* f = workbook_add_format(book_);
    applyFont(f, *model_, model_->font(x.font));
    applyNumberFormat(f, *model_, x.format);
    if (!x.locked) format_set_unlocked(f);
    if (x.hidden) format_set_hidden(f);
    if (x.hAlign != HAlign::General)
        format_set_align(f, static_cast<uint8_t>(LXW_ALIGN_LEFT + static_cast<int>(x.hAlign) - 1));
    if (x.vAlign != VAlign::Bottom) format_set_align(f, verticalAlignment(x.vAlign));
    if (x.wrap) format_set_text_wrap(f);
    if (x.rotation != 0) format_set_rotation(f, rotationAngle(x.rotation));
    if (x.indent != 0) format_set_indent(f, x.indent);
    if (x.shrinkToFit) format_set_shrink(f);
    applyBorders(f, *model_, x);
    applyFill(f, *model_, x);
    made_.emplace(xfIndex, f);
    return f;
}

}  // namespace tallowby::engine::xlsx
