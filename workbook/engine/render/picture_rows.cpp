#include "workbook/engine/render/picture_rows.h"

#include <QColor>
#include <algorithm>
#include <new>
#include <system_error>
#include <thread>

namespace tallowby::engine::render {

bool overRows(int rows, bool split, const std::function<bool(int, int)>& part) {
    auto guarded = [&part](int begin, int end) {
        try {
            return part(begin, end);
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    if (!split || rows < 2) return guarded(0, rows);
    const int middle = rows / 2;
    bool secondDone = false;
    std::thread second;
    try {
        second = std::thread([&] { secondDone = guarded(middle, rows); });
    } catch (const std::system_error&) {
        return guarded(0, rows);
    }
    const bool firstDone = guarded(0, middle);
    second.join();
    return firstDone && secondDone;
}

void fillPicture(QImage& picture, QRgb colour) {
    if (picture.isNull() || picture.depth() != 32 || picture.hasAlphaChannel()) {
        picture.fill(QColor::fromRgb(colour));
        return;
    }
    const quint32 pixel = 0xff000000u | colour;
    uchar* const bits = picture.bits();
    const qsizetype bytesPerLine = picture.bytesPerLine();
    const int width = picture.width();
    const bool split = static_cast<std::size_t>(picture.sizeInBytes()) >= kTwoThreadRowBytes;
    overRows(picture.height(), split, [&](int begin, int end) {
        for (int y = begin; y < end; ++y)
            std::fill_n(reinterpret_cast<quint32*>(bits + bytesPerLine * y), width, pixel);
        return true;
    });
}

}  // namespace tallowby::engine::render
