#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tallowby::engine {
class UsedRangeStrips;
}

namespace tallowby::automation {

// The sheet's picture as a Windows bitmap file, without Qt's image plugins,
// which spend most of a generation run converting pixel by pixel.
//
// A picture in Format_RGB32 (what the renderer draws) becomes a 24-bit
// uncompressed bottom-up bitmap with the 54-byte header (file header and
// BITMAPINFOHEADER) and the picture's dots per metre, byte for byte the file
// Qt's BMP writer makes of it; any other picture is left to Qt's writer.
QByteArray encodeBitmap(const QImage& picture);

// The same file written at `path` a few rows at a time, never held whole;
// false when it cannot be written.
bool writeBitmapFile(const QImage& picture, const QString& path);

// The sheet's picture drawn strip by strip straight into that file, the
// same bytes as writeBitmapFile of the whole picture. False when the file
// cannot be written; throws std::runtime_error when the sheet cannot be drawn.
bool writeBitmapFile(engine::UsedRangeStrips& strips, const QString& path);

// Reads such a 24-bit bitmap into Format_RGB32 with the file's dots per
// metre, as Qt's BMP reader does; every other file (other depths,
// compression, palettes, damage) goes to Qt's reader. A null image when
// neither can read it.
QImage decodeBitmap(const QByteArray& bytes);

// The file at `path`, read once, a few rows at a time straight into the
// picture; a null image when it cannot be read.
QImage readBitmapFile(const QString& path);

}  // namespace tallowby::automation
