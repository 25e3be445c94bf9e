#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tallowby::engine {

struct Font {
    uint16_t heightTwips = 200;  // 200 = 10 pt
    bool italic = false;
    bool strikeout = false;
    uint16_t colourIndex = 0x7FFF;  // 0x7FFF: automatic (black)
    uint16_t weight = 400;          // 700 = bold
    uint16_t escapement = 0;        // 1 superscript, 2 subscript
    uint8_t underline = 0;          // 0 none, 1 single, 2 double, 0x21 / 0x22 accounting
    uint8_t family = 0;
    uint8_t charset = 0;
    std::string name = "Arial";  // UTF-8

    bool bold() const { return weight >= 600; }
    bool operator==(const Font&) const = default;
};

enum class HAlign : uint8_t {
    General = 0,
    Left = 1,
    Centre = 2,
    Right = 3,
    Fill = 4,
    Justify = 5,
    CentreAcross = 6,
    Distributed = 7,
};
enum class VAlign : uint8_t { Top = 0, Centre = 1, Bottom = 2, Justify = 3, Distributed = 4 };

// BIFF8 line styles: 0 none, 1 thin, 2 medium, 3 dashed, 4 dotted, 5 thick,
// 6 double, 7 hair, 8 medium dashed, 9 dash-dot, 10 medium dash-dot,
// 11 dash-dot-dot, 12 medium dash-dot-dot, 13 slanted dash-dot.
struct BorderLine {
    uint8_t style = 0;
    uint8_t colourIndex = 64;  // 64: system window text (automatic)
    bool operator==(const BorderLine&) const = default;
};

// An extended format: what a cell looks like.
struct Xf {
    uint16_t font = 0;    // index into Workbook::fonts as numbered in the file (no index 4)
    uint16_t format = 0;  // number format id
    bool locked = true;
    bool hidden = false;
    bool styleXf = false;
    uint16_t parent = 0;  // parent style XF (cell XFs)
    HAlign hAlign = HAlign::General;
    bool wrap = false;
    VAlign vAlign = VAlign::Bottom;
    uint8_t rotation = 0;
    uint8_t indent = 0;
    bool shrinkToFit = false;
    BorderLine left, right, top, bottom;
    uint8_t fillPattern = 0;  // 0 none, 1 solid, others are hatch patterns
    uint8_t fillForeground = 64;
    uint8_t fillBackground = 65;
    // The record as read, so bits not modelled above survive a round trip.
    // The writer starts from these bytes and overwrites the modelled fields.
    std::array<uint8_t, 20> raw{};

    bool operator==(const Xf&) const = default;
};

// An RGB colour 0xRRGGBB.
using Rgb = uint32_t;

}  // namespace tallowby::engine
