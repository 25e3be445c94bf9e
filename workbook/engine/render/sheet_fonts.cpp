#include "workbook/engine/render/sheet_fonts.h"

#include <cmath>

namespace tallowby::engine::render {

QString substituteFamily(const std::string& name) {
    const QString family = QString::fromStdString(name);
    const QString key = family.toLower();
    if (key == "arial" || key == "helvetica" || key == "arial unicode ms")
        return QStringLiteral("Liberation Sans");
    if (key == "times new roman" || key == "times") return QStringLiteral("Liberation Serif");
    if (key == "courier new" || key == "courier") return QStringLiteral("Liberation Mono");
    return family.isEmpty() ? QStringLiteral("Liberation Sans") : family;
}

QFont toQFont(const Font& font) {
    QFont q(substituteFamily(font.name));
    // Points to pixels at 96 dpi, rounded to whole pixels (10 pt -> 13 px).
    const int pixels =
        std::max(1, static_cast<int>(std::lround(font.heightTwips / 20.0 * 96.0 / 72.0)));
    q.setPixelSize(pixels);
    q.setBold(font.bold());
    q.setItalic(font.italic);
    q.setStrikeOut(font.strikeout);
    q.setUnderline(font.underline != 0);
    q.setHintingPreference(QFont::PreferFullHinting);
    return q;
}

const FontCache::Entry& FontCache::get(uint16_t index, const Font& font) {
    auto it = entries_.find(index);
    if (it == entries_.end()) {
        QFont q = toQFont(font);
        it = entries_.emplace(index, Entry{q, QFontMetricsF(q), q.key()}).first;
    }
    return it->second;
}

}  // namespace tallowby::engine::render
