#include "workbook/engine/render/picture_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <utility>

namespace tallowby::engine::render {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t bytes, std::size_t to) {
    return (bytes + to - 1) / to * to;
}

struct Block {
    void* start = nullptr;
    std::size_t size = 0;
};

// Mapped on a huge-page boundary, so that the kernel can back it with
// huge pages where it allows them; without them it is ordinary memory.
Block mapBlock(std::size_t bytes) {
    const std::size_t size = roundUp(bytes, kHugePage);
    void* mapped =
        mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return {};
    auto* const first = static_cast<char*>(mapped);
    auto* const aligned =
        reinterpret_cast<char*>(roundUp(reinterpret_cast<std::uintptr_t>(first), kHugePage));
    const std::size_t head = static_cast<std::size_t>(aligned - first);
    if (head > 0) munmap(first, head);
    if (kHugePage - head > 0) munmap(aligned + size, kHugePage - head);
#ifdef MADV_HUGEPAGE
    madvise(aligned, size, MADV_HUGEPAGE);
#endif
    return {aligned, size};
}

void unmapBlock(const Block& block) {
    if (block.start) munmap(block.start, block.size);
}

// One freed block, kept for the next big picture. Pictures die on whichever
// thread drops the last copy.
class KeptBlock {
  public:
    Block take(std::size_t bytes) {
        std::lock_guard lock(mutex_);
        if (kept_.size < bytes) return {};
        return std::exchange(kept_, Block{});
    }

    void keep(Block block) {
        Block dropped;
        {
            std::lock_guard lock(mutex_);
            dropped = std::exchange(kept_, block);
        }
        unmapBlock(dropped);
    }

    std::size_t size() {
        std::lock_guard lock(mutex_);
        return kept_.size;
    }

  private:
    std::mutex mutex_;
    Block kept_;
};

KeptBlock& keptBlock() {
    static KeptBlock* const kept = new KeptBlock;  // never destroyed: pictures may outlive statics
    return *kept;
}

void releasePicture(void* info) {
    auto* const block = static_cast<Block*>(info);
    keptBlock().keep(*block);
    delete block;
}

}  // namespace

QImage newPicture(int width, int height, QImage::Format format) {
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (width <= 0 || height <= 0 || depth != 32) return QImage(width, height, format);
    const auto bytesPerLine = static_cast<qsizetype>(width) * 4;
    const auto bytes = static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height);
    if (bytes < kPooledPictureBytes) return QImage(width, height, format);
    Block block = keptBlock().take(bytes);
    if (!block.start) block = mapBlock(bytes);
    if (!block.start) return {};
    auto* const info = new Block(block);
    QImage picture(static_cast<uchar*>(block.start), width, height, bytesPerLine, format,
                   releasePicture, info);
    if (picture.isNull()) {
        releasePicture(info);
        return {};
    }
    return picture;
}

std::size_t keptPictureBytes() {
    return keptBlock().size();
}

}  // namespace tallowby::engine::render
