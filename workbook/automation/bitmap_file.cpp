#include "workbook/automation/bitmap_file.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <cstring>

namespace tallowby::bitmap_file {

namespace {

constexpr int kHeaderSize = 54;  // 14-byte file header + 40-byte BITMAPINFOHEADER
constexpr int kInfoSize = 40;

void put16(uchar* at, int value) {
    at[0] = static_cast<uchar>(value & 0xff);
    at[1] = static_cast<uchar>((value >> 8) & 0xff);
}

void put32(uchar* at, qint64 value) {
    const auto v = static_cast<quint32>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uchar>((v >> (8 * i)) & 0xff);
}

quint32 get32(const uchar* at) {
    return static_cast<quint32>(at[0]) | static_cast<quint32>(at[1]) << 8 |
           static_cast<quint32>(at[2]) << 16 | static_cast<quint32>(at[3]) << 24;
}

int get16(const uchar* at) {
    return at[0] | at[1] << 8;
}

// Rows of 24-bit pixels are padded to whole 32-bit words.
qint64 rowBytes(int width) {
    return (static_cast<qint64>(width) * 24 + 31) / 32 * 4;
}

QByteArray encodeWithQt(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "BMP")) return {};
    return bytes;
}

}  // namespace

QByteArray encode(const QImage& picture) {
    if (picture.isNull() || picture.format() != QImage::Format_RGB32) return encodeWithQt(picture);
    const int width = picture.width();
    const int height = picture.height();
    const qint64 stride = rowBytes(width);
    const qint64 imageSize = stride * height;
    QByteArray bytes(kHeaderSize + imageSize, Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    std::memset(out, 0, kHeaderSize);
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, kHeaderSize + imageSize);
    put32(out + 10, kHeaderSize);
    put32(out + 14, kInfoSize);
    put32(out + 18, width);
    put32(out + 22, height);
    put16(out + 26, 1);   // planes
    put16(out + 28, 24);  // bits per pixel; compression 0 (none)
    put32(out + 34, imageSize);
    put32(out + 38, picture.dotsPerMeterX());
    put32(out + 42, picture.dotsPerMeterY());
    // Bottom-up rows of blue, green, red. A pixel in memory is 0xffRRGGBB,
    // whose three low bytes, stored little-endian, are blue, green, red: each
    // is copied as one 32-bit word whose fourth byte the next pixel (or the
    // row's padding) overwrites; the row's last pixel goes byte by byte.
    for (int y = 0; y < height; ++y) {
        const auto* pixel = reinterpret_cast<const QRgb*>(picture.constScanLine(height - 1 - y));
        uchar* row = out + kHeaderSize + stride * y;
        uchar* p = row;
        for (int x = 0; x + 1 < width; ++x, p += 3) {
            const quint32 bgr = qToLittleEndian(pixel[x]);
            std::memcpy(p, &bgr, 4);
        }
        const QRgb last = pixel[width - 1];
        *p++ = static_cast<uchar>(qBlue(last));
        *p++ = static_cast<uchar>(qGreen(last));
        *p++ = static_cast<uchar>(qRed(last));
        std::memset(p, 0, static_cast<size_t>(row + stride - p));
    }
    return bytes;
}

QImage decode(const QByteArray& bytes) {
    const auto* in = reinterpret_cast<const uchar*>(bytes.constData());
    const bool ours = bytes.size() >= kHeaderSize && in[0] == 'B' && in[1] == 'M' &&
                      get32(in + 2) == static_cast<quint32>(bytes.size()) &&
                      get32(in + 10) == kHeaderSize && get32(in + 14) == kInfoSize &&
                      get16(in + 26) == 1 && get16(in + 28) == 24 && get32(in + 30) == 0;
    const auto width = static_cast<qint32>(get32(in + 18));
    const auto height = static_cast<qint32>(get32(in + 22));
    // Widths and heights past 32767 are beyond any sheet we draw; Qt decides.
    if (!ours || width <= 0 || height <= 0 || width > 32767 || height > 32767 ||
        bytes.size() < kHeaderSize + rowBytes(width) * height)
        return QImage::fromData(bytes);
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull()) return {};
    const qint64 stride = rowBytes(width);
    for (int y = 0; y < height; ++y) {
        const uchar* p = in + kHeaderSize + stride * (height - 1 - y);
        auto* pixel = reinterpret_cast<QRgb*>(picture.scanLine(y));
        // Four bytes read as one word (the fourth is the next pixel's, or
        // padding) give 0x??RRGGBB; the row's last pixel goes byte by byte.
        for (int x = 0; x + 1 < width; ++x, p += 3) {
            quint32 word;
            std::memcpy(&word, p, 4);
            pixel[x] = 0xff000000u | (qFromLittleEndian(word) & 0xffffffu);
        }
        pixel[width - 1] = qRgb(p[2], p[1], p[0]);
    }
    const auto dotsX = static_cast<qint32>(get32(in + 38));
    const auto dotsY = static_cast<qint32>(get32(in + 42));
    if (dotsX > 0) picture.setDotsPerMeterX(dotsX);
    if (dotsY > 0) picture.setDotsPerMeterY(dotsY);
    return picture;
}

QImage readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return decode(file.readAll());
}

}  // namespace tallowby::bitmap_file
