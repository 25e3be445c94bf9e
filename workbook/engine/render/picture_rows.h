#pragma once

#include <QImage>
#include <QRgb>
#include <cstddef>
#include <functional>

namespace tallowby::engine::render {

// Work on a big picture's rows is shared by two threads: the machine this
// runs on has at least two cores, and a wide sheet's picture is tens of
// megabytes to fill, convert and copy.

// From this many bytes of rows on, a second thread pays for itself.
inline constexpr std::size_t kTwoThreadRowBytes = std::size_t{4} << 20;

// Runs `part` over the rows [begin, end) of [0, rows): the second half on a
// thread of its own when `split`, else all of it on this thread (also when
// no thread can be started). False when a part returns false or runs out of
// memory.
bool overRows(int rows, bool split, const std::function<bool(int begin, int end)>& part);

// Sets every pixel of a 32-bit picture to `colour` (opaque), as
// QImage::fill(QColor) does; other pictures are left to QImage::fill.
void fillPicture(QImage& picture, QRgb colour);

}  // namespace tallowby::engine::render
