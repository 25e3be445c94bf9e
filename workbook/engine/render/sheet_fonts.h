#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <map>
#include <string>

#include "workbook/engine/model/style.h"

namespace tallowby::engine::render {

// The installed family that stands in for a font named in a workbook:
// the metric-compatible Liberation fonts for Arial, Times New Roman and Courier New.
QString substituteFamily(const std::string& name);

// A workbook font as drawn at 96 dpi: whole-pixel sizes, as spreadsheet programs use.
QFont toQFont(const Font& font);

// QFonts and their metrics by workbook font index, made once per picture.
class FontCache {
  public:
    struct Entry {
        QFont font;
        QFontMetricsF metrics;
        QString key;  // font.key(), made once
    };
    const Entry& get(uint16_t index, const Font& font);

  private:
    std::map<uint16_t, Entry> entries_;
};

}  // namespace tallowby::engine::render
