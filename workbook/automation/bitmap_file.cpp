#include "workbook/automation/bitmap_file.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <cstring>

namespace tallowby::automation {

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

// A pixel in memory is 0xffRRGGBB; in the file it is the three bytes blue,
// green, red. Four pixels are twelve bytes, three little-endian words:
//   B0 G0 R0 B1 | G1 R1 B2 G2 | R2 B3 G3 R3
// so blocks of four go word by word and only the rest byte by byte.
void packRow(const QRgb* pixel, int width, uchar* out) {
    int x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        const quint32 p0 = pixel[x], p1 = pixel[x + 1], p2 = pixel[x + 2], p3 = pixel[x + 3];
        const quint32 words[3] = {qToLittleEndian((p0 & 0xffffffu) | p1 << 24),
                                  qToLittleEndian(((p1 >> 8) & 0xffffu) | p2 << 16),
                                  qToLittleEndian(((p2 >> 16) & 0xffu) | p3 << 8)};
        std::memcpy(out, words, 12);
    }
    for (; x < width; ++x) {
        *out++ = static_cast<uchar>(qBlue(pixel[x]));
        *out++ = static_cast<uchar>(qGreen(pixel[x]));
        *out++ = static_cast<uchar>(qRed(pixel[x]));
    }
}

void unpackRow(const uchar* in, int width, QRgb* pixel) {
    int x = 0;
    for (; x + 4 <= width; x += 4, in += 12) {
        quint32 words[3];
        std::memcpy(words, in, 12);
        const quint32 w0 = qFromLittleEndian(words[0]), w1 = qFromLittleEndian(words[1]),
                      w2 = qFromLittleEndian(words[2]);
        pixel[x] = 0xff000000u | (w0 & 0xffffffu);
        pixel[x + 1] = 0xff000000u | w0 >> 24 | (w1 & 0xffffu) << 8;
        pixel[x + 2] = 0xff000000u | w1 >> 16 | (w2 & 0xffu) << 16;
        pixel[x + 3] = 0xff000000u | w2 >> 8;
    }
    for (; x < width; ++x, in += 3) pixel[x] = qRgb(in[2], in[1], in[0]);
}

QByteArray encodeWithQt(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "BMP")) return {};
    return bytes;
}

}  // namespace

QByteArray encodeBitmap(const QImage& picture) {
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
    // Bottom-up rows of blue, green, red, then the row's zero padding.
    for (int y = 0; y < height; ++y) {
        uchar* row = out + kHeaderSize + stride * y;
        packRow(reinterpret_cast<const QRgb*>(picture.constScanLine(height - 1 - y)), width, row);
        const qint64 used = static_cast<qint64>(width) * 3;
        std::memset(row + used, 0, static_cast<size_t>(stride - used));
    }
    return bytes;
}

QImage decodeBitmap(const QByteArray& bytes) {
    const auto* in = reinterpret_cast<const uchar*>(bytes.constData());
    const bool ours = bytes.size() >= kHeaderSize && in[0] == 'B' && in[1] == 'M' &&
                      get32(in + 2) == static_cast<quint32>(bytes.size()) &&
                      get32(in + 10) == kHeaderSize && get32(in + 14) == kInfoSize &&
                      get16(in + 26) == 1 && get16(in + 28) == 24 && get32(in + 30) == 0;
    const auto width = ours ? static_cast<qint32>(get32(in + 18)) : 0;
    const auto height = ours ? static_cast<qint32>(get32(in + 22)) : 0;
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
        unpackRow(p, width, pixel);
    }
    const auto dotsX = static_cast<qint32>(get32(in + 38));
    const auto dotsY = static_cast<qint32>(get32(in + 42));
    if (dotsX > 0) picture.setDotsPerMeterX(dotsX);
    if (dotsY > 0) picture.setDotsPerMeterY(dotsY);
    return picture;
}

QImage readBitmapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return decodeBitmap(file.readAll());
}

}  // namespace tallowby::automation
