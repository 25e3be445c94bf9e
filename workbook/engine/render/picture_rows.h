#pragma once

#include <QImage>
#include <QRgb>
#include <cstddef>
#include <functional>

namespace tallowby::engine::render {

// Work on a big picture is shared by two threads: the machine this runs on
// has at least two cores, and a wide sheet's picture is tens of megabytes to
// fill, draw, convert and copy. The second thread is kept for the next
// picture, so that what it caches (fonts, glyphs, shaped texts) serves again.

// From this many bytes of rows on, a second thread pays for itself (the
// helper is kept, so only handing work over costs; the sample week's
// picture, about 2.4 MB, gains a little).
inline constexpr std::size_t kTwoThreadRowBytes = std::size_t{1} << 20;

// Runs `here` on this thread and `there` on the picture helper thread at the
// same time; both here, one after the other, when the helper is busy with
// another picture or cannot be started. False when either returns false or
// throws.
bool bothAtOnce(const std::function<bool()>& here, const std::function<bool()>& there);

// Runs `part` over the rows [begin, end) of [0, rows): the second half on the
// helper thread when `split`, else all of it on this thread.
bool overRows(int rows, bool split, const std::function<bool(int begin, int end)>& part);

// Sets every pixel of a 32-bit picture to `colour` (opaque), as
// QImage::fill(QColor) does; other pictures are left to QImage::fill.
void fillPicture(QImage& picture, QRgb colour);

}  // namespace tallowby::engine::render
