#include "workbook/engine/biff/style_records.h"

#include <algorithm>

#include "workbook/engine/biff/record_reader.h"
#include "workbook/engine/biff/string_writer.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

Font readFont(std::span<const uint8_t> data) {
    FieldReader r(data, "FONT");
    Font f;
    f.heightTwips = r.u16();
    const uint16_t flags = r.u16();
    f.italic = flags & 0x02;
    f.strikeout = flags & 0x08;
    f.colourIndex = r.u16();
    f.weight = r.u16();
    f.escapement = r.u16();
    f.underline = r.u8();
    f.family = r.u8();
    f.charset = r.u8();
    r.skip(1);
    f.name = r.unicodeString(true);
    return f;
}

std::vector<uint8_t> fontRecord(const Font& f) {
    std::vector<uint8_t> out;
    ByteWriter w(out);
    w.u16(f.heightTwips);
    w.u16(static_cast<uint16_t>((f.italic ? 0x02 : 0) | (f.strikeout ? 0x08 : 0)));
    w.u16(f.colourIndex);
    w.u16(f.weight);
    w.u16(f.escapement);
    w.u8(f.underline);
    w.u8(f.family);
    w.u8(f.charset);
    w.u8(0);
    appendUnicodeString(out, f.name, true);
    return out;
}

std::pair<uint16_t, std::string> readFormat(std::span<const uint8_t> data) {
    FieldReader r(data, "FORMAT");
    const uint16_t id = r.u16();
    return {id, r.unicodeString()};
}

std::vector<uint8_t> formatRecord(uint16_t id, const std::string& code) {
    std::vector<uint8_t> out;
    ByteWriter(out).u16(id);
    appendUnicodeString(out, code);
    return out;
}

Xf readXf(std::span<const uint8_t> data) {
    if (data.size() < 20) FieldReader(data, "XF").fail("is too short");
    const uint8_t* p = data.data();
    Xf x;
    std::copy_n(p, 20, x.raw.begin());
    x.font = peek16(p);
    x.format = peek16(p + 2);
    const uint16_t protection = peek16(p + 4);
    x.locked = protection & 0x01;
    x.hidden = protection & 0x02;
    x.styleXf = protection & 0x04;
    x.parent = protection >> 4;
    x.hAlign = static_cast<HAlign>(std::min(p[6] & 0x07, 7));
    x.wrap = p[6] & 0x08;
    x.vAlign = static_cast<VAlign>(std::min((p[6] >> 4) & 0x07, 4));
    x.rotation = p[7];
    x.indent = p[8] & 0x0F;
    x.shrinkToFit = p[8] & 0x10;
    const uint16_t lines = peek16(p + 10);
    x.left.style = static_cast<uint8_t>(lines & 0x0F);
    x.right.style = static_cast<uint8_t>((lines >> 4) & 0x0F);
    x.top.style = static_cast<uint8_t>((lines >> 8) & 0x0F);
    x.bottom.style = static_cast<uint8_t>((lines >> 12) & 0x0F);
    const uint16_t sideColours = peek16(p + 12);
    x.left.colourIndex = sideColours & 0x7F;
    x.right.colourIndex = (sideColours >> 7) & 0x7F;
    const uint32_t more = peek32(p + 14);
    x.top.colourIndex = more & 0x7F;
    x.bottom.colourIndex = (more >> 7) & 0x7F;
    x.fillPattern = static_cast<uint8_t>(more >> 26);
    const uint16_t fill = peek16(p + 18);
    x.fillForeground = fill & 0x7F;
    x.fillBackground = (fill >> 7) & 0x7F;
    return x;
}

std::vector<uint8_t> xfRecord(const Xf& x) {
    std::array<uint8_t, 20> r = x.raw;
    const bool fresh = std::all_of(r.begin(), r.end(), [](uint8_t b) { return b == 0; });
    uint8_t* p = r.data();
    poke16(p, x.font);
    poke16(p + 2, x.format);
    const uint16_t parent = x.styleXf ? 0xFFF : (x.parent & 0xFFF);
    poke16(p + 4,
           static_cast<uint16_t>((x.locked ? 0x01 : 0) | (x.hidden ? 0x02 : 0) |
                                 (x.styleXf ? 0x04 : 0) | (peek16(p + 4) & 0x08) | (parent << 4)));
    p[6] = static_cast<uint8_t>((static_cast<uint8_t>(x.hAlign) & 0x07) | (x.wrap ? 0x08 : 0) |
                                ((static_cast<uint8_t>(x.vAlign) & 0x07) << 4) | (p[6] & 0x80));
    p[7] = x.rotation;
    p[8] = static_cast<uint8_t>((p[8] & 0xE0) | (x.indent & 0x0F) | (x.shrinkToFit ? 0x10 : 0));
    // A new cell XF states all of its attributes itself rather than taking
    // them from its style.
    if (fresh && !x.styleXf) p[9] = 0xFC;
    poke16(p + 10,
           static_cast<uint16_t>((x.left.style & 0x0F) | ((x.right.style & 0x0F) << 4) |
                                 ((x.top.style & 0x0F) << 8) | ((x.bottom.style & 0x0F) << 12)));
    poke16(p + 12,
           static_cast<uint16_t>((x.left.colourIndex & 0x7F) | ((x.right.colourIndex & 0x7F) << 7) |
                                 (peek16(p + 12) & 0xC000)));
    poke32(p + 14, (x.top.colourIndex & 0x7Fu) | ((x.bottom.colourIndex & 0x7Fu) << 7) |
                       (peek32(p + 14) & 0x03FFC000u) | (uint32_t{x.fillPattern & 0x3Fu} << 26));
    poke16(p + 18,
           static_cast<uint16_t>((x.fillForeground & 0x7F) | ((x.fillBackground & 0x7F) << 7) |
                                 (peek16(p + 18) & 0xC000)));
    return {r.begin(), r.end()};
}

void readPalette(std::span<const uint8_t> data, std::array<Rgb, 56>& palette) {
    FieldReader r(data, "PALETTE");
    const uint16_t count = r.u16();
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t red = r.u8(), green = r.u8(), blue = r.u8();
        r.skip(1);
        if (i < palette.size()) palette[i] = (Rgb{red} << 16) | (Rgb{green} << 8) | blue;
    }
}

std::vector<uint8_t> paletteRecord(const std::array<Rgb, 56>& palette) {
    std::vector<uint8_t> out;
    ByteWriter w(out);
    w.u16(static_cast<uint16_t>(palette.size()));
    for (Rgb c : palette) {
        w.u8(static_cast<uint8_t>(c >> 16));
        w.u8(static_cast<uint8_t>(c >> 8));
        w.u8(static_cast<uint8_t>(c));
        w.u8(0);
    }
    return out;
}

}  // namespace tallowby::engine::biff
