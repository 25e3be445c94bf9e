#pragma once

#include <QImage>
#include <cstddef>

namespace tallowby::engine::render {

// A new picture, its pixels not yet set. A wide sheet's picture is tens of
// megabytes, and fresh memory that size costs more in page faults than
// drawing it: big pictures get memory in huge pages, and the memory of the
// last big picture that was freed is kept for the next one, as a run draws
// its sheet, frees that picture once it is written, and reads the file back
// into a picture of the same size. Small pictures are plain QImages.
// A null image when there is no memory for it.
QImage newPicture(int width, int height, QImage::Format format);

// From this many bytes on, a picture's memory comes from the above.
inline constexpr std::size_t kPooledPictureBytes = std::size_t{4} << 20;

// How many bytes of freed picture memory are kept for the next picture.
std::size_t keptPictureBytes();

}  // namespace tallowby::engine::render
