#pragma once

#include <QFontMetricsF>
#include <QString>

#include "workbook/engine/numfmt/number_format.h"
#include "workbook/engine/render/cell_content.h"

namespace tallowby::engine::render {

// The text a number shows in `width` pixels: its formatted text when it fits;
// for General, fewer digits (then scientific notation) until it fits; else
// as many '#' as fit. Text, booleans and errors are returned unchanged
// (text spills or is clipped instead). Fill characters do not count.
QString fittedText(const CellContent& content, const QFontMetricsF& metrics, double width,
                   const FormatLocale& locale);

}  // namespace tallowby::engine::render
