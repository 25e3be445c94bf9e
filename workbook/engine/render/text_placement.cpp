#include "workbook/engine/render/text_placement.h"

#include <algorithm>
#include <cmath>

namespace tallowby::engine::render {

namespace {
// Space between a cell's grid lines and its text.
constexpr int kTextPadding = 2;
// Width of one indent level.
constexpr int kIndentPixels = 9;
}  // namespace

TextBox textBox(const QRect& lines, HAlign align, int indentLevels) {
    TextBox box;
    box.lines = lines;
    const int indent = indentLevels * kIndentPixels;
    box.left = lines.left() + 1 + kTextPadding;
    box.right = lines.right() - kTextPadding;
    if (align == HAlign::Left) box.left += indent;
    if (align == HAlign::Right) box.right -= indent;
    box.width = std::max(0.0, box.right - box.left);
    box.clip = QRect(QPoint(lines.left() + 1, lines.top() + 1),
                     QPoint(lines.right() - 1, lines.bottom() - 1));
    return box;
}

int wrapFlags(HAlign align, VAlign v) {
    int flags = Qt::TextWordWrap | verticalFlag(v);
    flags |=
        align == HAlign::Right ? Qt::AlignRight
        : (align == HAlign::Centre || align == HAlign::CentreAcross || align == HAlign::Distributed)
            ? Qt::AlignHCenter
            : Qt::AlignLeft;
    return flags;
}

int verticalFlag(VAlign v) {
    switch (v) {
        case VAlign::Top:
            return Qt::AlignTop;
        case VAlign::Centre:
        case VAlign::Justify:
        case VAlign::Distributed:
            return Qt::AlignVCenter;
        case VAlign::Bottom:
            break;
    }
    return Qt::AlignBottom;
}

double baselineFor(VAlign v, const QRect& lines, const QFontMetricsF& metrics) {
    const double top = lines.top() + 1,
                 bottom = lines.bottom();  // interior spans top..bottom-1
    switch (v) {
        case VAlign::Top:
            return top + metrics.ascent();
        case VAlign::Centre:
        case VAlign::Justify:
        case VAlign::Distributed:
            return std::round((top + bottom - metrics.height()) / 2 + metrics.ascent());
        case VAlign::Bottom:
            break;
    }
    return std::round(bottom - metrics.descent());
}

double alignedX(HAlign align, const TextBox& box, double textWidth) {
    switch (align) {
        case HAlign::Right:
            return box.right - textWidth;
        case HAlign::Centre:
        case HAlign::CentreAcross:
        case HAlign::Distributed:
            return (box.left + box.right - textWidth) / 2;
        default:
            return box.left;
    }
}

}  // namespace tallowby::engine::render
