#include "workbook/engine/render/cell_fit.h"

#include <algorithm>
#include <cmath>

namespace tallowby::engine::render {

QString fittedText(const CellContent& content, const QFontMetricsF& metrics, double width,
                   const FormatLocale& locale) {
    QString text = QString::fromStdString(content.shown.text);
    if (content.kind != CellContent::Kind::Number) return text;
    if (metrics.horizontalAdvance(text) <= width) return text;
    if (content.generalNumber) {
        for (int chars = 10; chars >= 1; --chars) {
            text = QString::fromStdString(formatGeneral(content.number, locale, chars));
            if (metrics.horizontalAdvance(text) <= width) return text;
        }
    }
    const double one = metrics.horizontalAdvance(QLatin1Char('#'));
    const int n = one > 0 ? static_cast<int>(std::floor(width / one)) : 0;
    return QString(std::max(0, n), QLatin1Char('#'));
}

}  // namespace tallowby::engine::render
