#include "workbook/automation/bitmap_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "workbook/engine/render/picture_memory.h"
#include "workbook/engine/render/picture_rows.h"
#include "workbook/engine/render/sheet_renderer.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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
void packRowPlain(const QRgb* pixel, int width, uchar* out) {
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

void unpackRowPlain(const uchar* in, int width, QRgb* pixel) {
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

#if defined(__x86_64__) || defined(__i386__)
// With SSSE3 (nearly every x86 processor since 2008) one byte shuffle moves
// four pixels; a picture's rows are megabytes, and the plain loops were most
// of the file's cost. Each step reads or writes 16 bytes of which 12 are
// pixels, so it runs while at least six pixels are left and the 16 bytes stay
// inside the row; the plain loop does the rest.
__attribute__((target("ssse3"))) void packRowShuffled(const QRgb* pixel, int width, uchar* out) {
    const __m128i toBgr = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4, out += 12) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(four, toBgr));
    }
    packRowPlain(pixel + x, width - x, out);
}

// A big picture's pixels bypass the cache (streaming stores, from a 16-byte
// boundary): a wide sheet's picture is tens of megabytes that the cache
// cannot hold, and fetching each of its lines before overwriting it cost a
// tenth of the reading. A small one is better kept in the cache. The fence
// orders the stores before the rows are handed on.
template <bool kStreaming>
__attribute__((target("ssse3"))) void unpackRowShuffled(const uchar* in, int width, QRgb* pixel) {
    const __m128i toRgb32 = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xff000000u));
    int x = 0;
    if constexpr (kStreaming) {
        for (; x < width && (reinterpret_cast<quintptr>(pixel + x) & 15) != 0; ++x, in += 3)
            pixel[x] = qRgb(in[2], in[1], in[0]);
    }
    for (; x + 6 <= width; x += 4, in += 12) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        const __m128i four = _mm_or_si128(_mm_shuffle_epi8(bytes, toRgb32), opaque);
        if constexpr (kStreaming)
            _mm_stream_si128(reinterpret_cast<__m128i*>(pixel + x), four);
        else
            _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel + x), four);
    }
    if constexpr (kStreaming) _mm_sfence();
    unpackRowPlain(in, width - x, pixel + x);
}

bool hasShuffle() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

void packRow(const QRgb* pixel, int width, uchar* out) {
    if (hasShuffle()) return packRowShuffled(pixel, width, out);
    packRowPlain(pixel, width, out);
}

void unpackRow(const uchar* in, int width, QRgb* pixel, bool streaming) {
    if (!hasShuffle()) return unpackRowPlain(in, width, pixel);
    if (streaming) return unpackRowShuffled<true>(in, width, pixel);
    unpackRowShuffled<false>(in, width, pixel);
}
#else
void packRow(const QRgb* pixel, int width, uchar* out) {
    packRowPlain(pixel, width, out);
}

void unpackRow(const uchar* in, int width, QRgb* pixel, bool) {
    unpackRowPlain(in, width, pixel);
}
#endif

QByteArray encodeWithQt(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "BMP")) return {};
    return bytes;
}

}  // namespace

namespace {

// Only pictures in the renderer's format are written by this code.
bool isOurs(const QImage& picture) {
    return !picture.isNull() && picture.format() == QImage::Format_RGB32;
}

// The 54-byte header of a picture's 24-bit bitmap file.
void putHeader(int width, int height, int dotsX, int dotsY, uchar* out) {
    const qint64 imageSize = rowBytes(width) * height;
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
    put32(out + 38, dotsX);
    put32(out + 42, dotsY);
}

// A picture row as a file row: blue, green, red, then the row's zero padding.
void putRow(const QRgb* pixels, int width, uchar* row) {
    packRow(pixels, width, row);
    const qint64 used = static_cast<qint64>(width) * 3;
    std::memset(row + used, 0, static_cast<size_t>(rowBytes(width) - used));
}

// What the file's header says, when it is a bitmap this code reads itself.
struct OurHeader {
    qint32 width = 0;
    qint32 height = 0;
    qint32 dotsX = 0;
    qint32 dotsY = 0;
};
std::optional<OurHeader> ourHeader(const uchar* in, qint64 fileSize) {
    const bool ours = fileSize >= kHeaderSize && in[0] == 'B' && in[1] == 'M' &&
                      get32(in + 2) == static_cast<quint32>(fileSize) &&
                      get32(in + 10) == kHeaderSize && get32(in + 14) == kInfoSize &&
                      get16(in + 26) == 1 && get16(in + 28) == 24 && get32(in + 30) == 0;
    if (!ours) return std::nullopt;
    OurHeader h;
    h.width = static_cast<qint32>(get32(in + 18));
    h.height = static_cast<qint32>(get32(in + 22));
    // Widths and heights past 32767 are beyond any sheet we draw; Qt decides.
    if (h.width <= 0 || h.height <= 0 || h.width > 32767 || h.height > 32767 ||
        fileSize < kHeaderSize + rowBytes(h.width) * h.height)
        return std::nullopt;
    h.dotsX = static_cast<qint32>(get32(in + 38));
    h.dotsY = static_cast<qint32>(get32(in + 42));
    return h;
}

QImage emptyPicture(const OurHeader& h) {
    QImage picture = engine::render::newPicture(h.width, h.height, QImage::Format_RGB32);
    if (picture.isNull()) return {};
    if (h.dotsX > 0) picture.setDotsPerMeterX(h.dotsX);
    if (h.dotsY > 0) picture.setDotsPerMeterY(h.dotsY);
    return picture;
}

// Where a picture's rows lie in its file.
struct RowLayout {
    RowLayout(int width, int height) : stride(rowBytes(width)), total(stride * height) {}
    qint64 offsetOf(int fileRow) const { return kHeaderSize + stride * fileRow; }
    // Two threads share a big picture's rows: one converts while the other
    // is in the kernel, which copies the bytes to the file's pages; read
    // back, both convert.
    bool worthTwoThreads() const {
        return total >= static_cast<qint64>(engine::render::kTwoThreadRowBytes);
    }

    qint64 stride;
    qint64 total;
};

// The file's blocks taken at once, not page by page as the rows come, which
// costs the file system less (and a full disk fails here, before any row is
// converted). Where the file system cannot, the rows take them as they come.
bool reserveSpace(int fd, qint64 bytes) {
    if (fallocate(fd, 0, 0, bytes) == 0) return true;
    return errno != ENOSPC && errno != EDQUOT && errno != EFBIG;
}

// The whole of `count` bytes written at `offset`, whatever pwrite takes in part.
bool writeAt(int fd, const uchar* bytes, qint64 count, qint64 offset) {
    while (count > 0) {
        const ssize_t done = ::pwrite(fd, bytes, static_cast<size_t>(count), offset);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        count -= done;
        offset += done;
    }
    return true;
}

// A picture's bitmap file, written a band of rows at a time: from two
// threads at once when they write different rows.
class RowsFile {
  public:
    RowsFile(const QString& path, int width, int height, int dotsX, int dotsY)
        : file_(path),
          width_(width),
          height_(height),
          dotsX_(dotsX),
          dotsY_(dotsY),
          rows_(width, height) {}
    RowsFile(const QString& path, const QImage& picture)
        : RowsFile(path, picture.width(), picture.height(), picture.dotsPerMeterX(),
                   picture.dotsPerMeterY()) {}

    // Creates the file with its blocks reserved and its header written.
    bool open() {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
        fd_ = file_.handle();
        if (!reserveSpace(fd_, kHeaderSize + rows_.total)) return false;
        Chunk header{std::vector<uchar>(kHeaderSize), 0};
        putHeader(width_, height_, dotsX_, dotsY_, header.bytes.data());
        return hand(std::move(header));
    }

    // `band` (Format_RGB32, the picture's width) holds the picture's rows
    // from `top` on. Bottom-up in the file, they are converted from the
    // band's last row into the file's blocks, each handed to the writer as
    // soon as the band has filled its part of it; a row across a block's
    // end is converted once and split.
    bool writeRows(const QImage& band, int top) {
        if (band.width() != width_ || top < 0 || top + band.height() > height_) {
            fail();
            return false;
        }
        const int firstFileRow = height_ - top - band.height(), endFileRow = height_ - top;
        const qint64 end = rows_.offsetOf(endFileRow);
        Chunk chunk = blockChunk(rows_.offsetOf(firstFileRow), end);
        std::vector<uchar>& across = rowAcrossBlocks();
        for (int fileRow = firstFileRow; fileRow < endFileRow; ++fileRow) {
            const auto* pixels =
                reinterpret_cast<const QRgb*>(band.constScanLine(height_ - 1 - fileRow - top));
            const qint64 rowStart = rows_.offsetOf(fileRow), rowEnd = rowStart + rows_.stride;
            if (rowEnd <= chunk.end()) {
                putRow(pixels, width_, chunk.at(rowStart));
            } else {
                across.resize(static_cast<size_t>(rows_.stride));
                putRow(pixels, width_, across.data());
                for (qint64 at = rowStart; at < rowEnd;) {
                    const qint64 n = std::min(rowEnd, chunk.end()) - at;
                    std::memcpy(chunk.at(at), across.data() + (at - rowStart),
                                static_cast<size_t>(n));
                    at += n;
                    if (at < rowEnd) {
                        if (!hand(std::move(chunk))) return false;
                        chunk = blockChunk(at, end);
                    }
                }
            }
            if (rowEnd == chunk.end()) {
                if (!hand(std::move(chunk))) return false;
                if (rowEnd < end) chunk = blockChunk(rowEnd, end);
            }
        }
        return true;
    }

    // Whether every row handed over is written.
    bool complete() {
        std::lock_guard lock(mutex_);
        return !failed_ && !writing_ && queue_.empty() && parts_.empty();
    }

  private:
    struct Chunk {
        std::vector<uchar> bytes;
        qint64 offset;
        qint64 end() const { return offset + static_cast<qint64>(bytes.size()); }
        uchar* at(qint64 fileOffset) { return bytes.data() + (fileOffset - offset); }
    };

    // The file's bytes from `begin` to the end of its block or `end`, in a
    // buffer to fill.
    Chunk blockChunk(qint64 begin, qint64 end) {
        Chunk chunk{spareBuffer(), begin};
        chunk.bytes.resize(
            static_cast<size_t>(std::min(end, (begin / kBlock + 1) * kBlock) - begin));
        return chunk;
    }

    // A row across a block's end is converted here first, one per thread.
    static std::vector<uchar>& rowAcrossBlocks() {
        thread_local std::vector<uchar> row;
        return row;
    }

    // The file takes one write at a time (the kernel locks it for each), so
    // a thread that finds the other writing leaves its rows for it and goes
    // back to drawing; the one writing writes until nothing is left.
    bool hand(Chunk chunk) {
        {
            std::lock_guard lock(mutex_);
            if (failed_) return false;
            queue_.push_back(std::move(chunk));
            if (writing_) return true;
            writing_ = true;
        }
        for (;;) {
            Chunk next;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty() || failed_) {
                    writing_ = false;
                    return !failed_;
                }
                next = std::move(queue_.front());
                queue_.pop_front();
            }
            const bool written = writeAligned(next);
            std::lock_guard lock(mutex_);
            if (!written) failed_ = true;
            spare_.push_back(std::move(next.bytes));
        }
    }

    // The kernel copies whole aligned blocks of a new file far faster than
    // parts of them (it keeps a block's pages together only when they come
    // at once, and a part of a page needs the rest made first): a chunk that
    // is a whole block is written at once, a part of a block waits for the
    // rest of it, from the bands beside it. Only the one writing calls this.
    bool writeAligned(const Chunk& chunk) {
        const qint64 start = chunk.offset / kBlock * kBlock;
        if (chunk.offset == start && chunk.end() == start + kBlock)
            return writeAt(fd_, chunk.bytes.data(), kBlock, start);
        // Keeps the part for its block, which is written once complete (the
        // file's last block ends with the file).
        PartBlock& block = parts_[start];
        if (block.bytes.empty()) {
            block.bytes = spareBuffer();
            block.bytes.resize(static_cast<size_t>(kBlock));
        }
        std::memcpy(block.bytes.data() + (chunk.offset - start), chunk.bytes.data(),
                    chunk.bytes.size());
        block.filled += static_cast<qint64>(chunk.bytes.size());
        const qint64 blockBytes = std::min(kBlock, kHeaderSize + rows_.total - start);
        if (block.filled < blockBytes) return true;
        const bool written = writeAt(fd_, block.bytes.data(), blockBytes, start);
        {
            std::lock_guard lock(mutex_);
            spare_.push_back(std::move(block.bytes));
        }
        parts_.erase(start);
        return written;
    }

    std::vector<uchar> spareBuffer() {
        std::lock_guard lock(mutex_);
        if (spare_.empty()) return {};
        std::vector<uchar> bytes = std::move(spare_.back());
        spare_.pop_back();
        return bytes;
    }

    void fail() {
        std::lock_guard lock(mutex_);
        failed_ = true;
    }

    // Big enough for the kernel to keep its pages together, small enough to
    // stay in the cache from conversion to copy.
    static constexpr qint64 kBlock = 256 * 1024;
    struct PartBlock {
        std::vector<uchar> bytes;
        qint64 filled = 0;
    };

    std::mutex mutex_;
    std::unordered_map<qint64, PartBlock> parts_;  // by offset; the writer's own
    std::deque<Chunk> queue_;
    std::vector<std::vector<uchar>> spare_;  // written chunks' buffers, to fill again
    bool writing_ = false;
    bool failed_ = false;
    QFile file_;
    int fd_ = -1;
    int width_, height_, dotsX_, dotsY_;
    RowLayout rows_;
};

}  // namespace

QByteArray encodeBitmap(const QImage& picture) {
    if (!isOurs(picture)) return encodeWithQt(picture);
    const qint64 stride = rowBytes(picture.width());
    QByteArray bytes(kHeaderSize + stride * picture.height(), Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    putHeader(picture.width(), picture.height(), picture.dotsPerMeterX(), picture.dotsPerMeterY(),
              out);
    for (int y = 0; y < picture.height(); ++y)
        putRow(reinterpret_cast<const QRgb*>(picture.constScanLine(picture.height() - 1 - y)),
               picture.width(), out + kHeaderSize + stride * y);
    return bytes;
}

namespace {

// A band of rows written by two threads when it is big enough: a picture
// drawn whole (at a ratio other than 1) comes as a single band.
bool writeBand(RowsFile& file, const QImage& band, int top) {
    const RowLayout rows(band.width(), band.height());
    return engine::render::overRows(band.height(), rows.worthTwoThreads(), [&](int begin, int end) {
        const QImage part(band.constBits() + band.bytesPerLine() * begin, band.width(), end - begin,
                          band.bytesPerLine(), band.format());
        return file.writeRows(part, top + begin);
    });
}

}  // namespace

bool writeBitmapFile(const QImage& picture, const QString& path) {
    if (!isOurs(picture)) {
        QFile file(path);
        const QByteArray bytes = encodeWithQt(picture);
        return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) &&
               file.write(bytes) == bytes.size() && file.flush();
    }
    RowsFile file(path, picture);
    return file.open() && writeBand(file, picture, 0) && file.complete();
}

bool writeBitmapFile(engine::UsedRangeStrips& strips, const QString& path) {
    if (strips.isEmpty()) return false;
    const QSize size = strips.size();
    RowsFile file(path, size.width(), size.height(), strips.dotsPerMeter(), strips.dotsPerMeter());
    if (!file.open()) return false;
    // While both threads draw strips, the helper is taken and each strip is
    // written by the thread that drew it.
    const bool drawn = strips.draw(
        [&](const QImage& strip, int top) { return isOurs(strip) && writeBand(file, strip, top); });
    return drawn && file.complete();
}

namespace {

// From this size on, a picture read from a file is stored past the cache:
// it and its file no longer sit in the cache beside the rest of the run.
constexpr qsizetype kStreamedPictureBytes = qsizetype{8} << 20;

bool streamsPixels(const QImage& picture) {
    return picture.sizeInBytes() >= kStreamedPictureBytes;
}

}  // namespace

QImage decodeBitmap(const QByteArray& bytes) {
    const auto* in = reinterpret_cast<const uchar*>(bytes.constData());
    const auto header = ourHeader(in, bytes.size());
    if (!header) return QImage::fromData(bytes);
    QImage picture = emptyPicture(*header);
    if (picture.isNull()) return {};
    const qint64 stride = rowBytes(header->width);
    const bool streaming = streamsPixels(picture);
    for (int y = 0; y < header->height; ++y)
        unpackRow(in + kHeaderSize + stride * (header->height - 1 - y), header->width,
                  reinterpret_cast<QRgb*>(picture.scanLine(y)), streaming);
    return picture;
}

QImage readBitmapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return {};
    const qint64 fileSize = file.size();
    uchar head[kHeaderSize];
    const auto header = file.read(reinterpret_cast<char*>(head), kHeaderSize) == kHeaderSize
                            ? ourHeader(head, fileSize)
                            : std::nullopt;
    // Rows are converted straight from the file's pages, mapped: reading
    // them through a buffer copied every byte once more. The file is the
    // run's own, in its private folder, so nobody cuts it short while it is
    // mapped. Where it cannot be mapped, and for every file that is not
    // ours, the file is read whole.
    void* const mapped = header ? mmap(nullptr, static_cast<size_t>(fileSize), PROT_READ,
                                       MAP_SHARED, file.handle(), 0)
                                : MAP_FAILED;
    if (mapped == MAP_FAILED) {
        file.close();
        if (!file.open(QIODevice::ReadOnly)) return {};
        return decodeBitmap(file.readAll());
    }
    QImage picture = emptyPicture(*header);
    if (!picture.isNull()) {
        const auto* const in = static_cast<const uchar*>(mapped);
        const RowLayout rows(header->width, header->height);
        uchar* const bits = picture.bits();
        const qsizetype bytesPerLine = picture.bytesPerLine();
        const int width = header->width, height = header->height;
        const bool streaming = streamsPixels(picture);
        engine::render::overRows(height, rows.worthTwoThreads(), [&](int begin, int end) {
            for (int y = begin; y < end; ++y)
                unpackRow(in + rows.offsetOf(y), width,
                          reinterpret_cast<QRgb*>(bits + bytesPerLine * (height - 1 - y)),
                          streaming);
            return true;
        });
    }
    munmap(mapped, static_cast<size_t>(fileSize));
    return picture;
}

}  // namespace tallowby::automation
