#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "workbook/engine/cfb/cfb_constants.h"
#include "workbook/engine/cfb/compound_file.h"
#include "workbook/engine/cfb/entry_name.h"
#include "workbook/engine/cfb/file_format_error.h"
#include "workbook/engine/cfb/little_endian.h"
#include "workbook/engine/common/utf_convert.h"

namespace tallowby::engine {

using namespace cfb;

namespace {

constexpr uint32_t kSector = 512;
constexpr uint32_t kIdsPerSector = kSector / 4;

uint32_t sectorsFor(uint64_t bytes, uint32_t unit) {
    return static_cast<uint32_t>((bytes + unit - 1) / unit);
}

struct Node {
    std::u16string name;
    uint8_t type = kStorage;
    const std::vector<uint8_t>* data = nullptr;
    std::vector<size_t> children;  // node indices
    uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    uint8_t colour = 1;  // black
    uint32_t start = kEndOfChain;
};

Node makeNode(std::u16string name, uint8_t type) {
    Node n;
    n.name = std::move(name);
    n.type = type;
    return n;
}

class Writer {
  public:
    explicit Writer(const CompoundFile& file) : file_(file) {}

    std::vector<uint8_t> write() {
        buildTree();
        placeStreams();
        return assemble();
    }

  private:
    void buildTree() {
        nodes_.push_back(makeNode(u"Root Entry", kRoot));
        for (const CompoundStream& s : file_.streams) {
            size_t parent = 0;
            size_t from = 0;
            while (true) {
                const size_t slash = s.path.find('/', from);
                const std::u16string part = unicode::utf8ToUtf16(
                    s.path.substr(from, slash == std::string::npos ? slash : slash - from));
                if (part.empty() || part.size() > 31)
                    throw FileFormatError("Cannot write the stream \"" + s.path +
                                          "\": names must have 1 to 31 characters.");
                const bool last = slash == std::string::npos;
                size_t found = 0;
                for (size_t c : nodes_[parent].children)
                    if (compareEntryNames(nodes_[c].name, part) == 0) found = c;
                if (found != 0 && (last || nodes_[found].type != kStorage))
                    throw FileFormatError("Cannot write the stream \"" + s.path +
                                          "\": the name is used twice.");
                if (found == 0) {
                    found = nodes_.size();
                    nodes_.push_back(makeNode(part, last ? kStream : kStorage));
                    nodes_[parent].children.push_back(found);
                }
                if (last) {
                    nodes_[found].data = &s.data;
                    break;
                }
                parent = found;
                from = slash + 1;
            }
        }
        for (Node& n : nodes_) {
            std::sort(n.children.begin(), n.children.end(), [&](size_t a, size_t b) {
                return compareEntryNames(nodes_[a].name, nodes_[b].name) < 0;
            });
            if (!n.children.empty()) n.child = balance(n.children, 0, n.children.size(), 0);
            colourDeepest(n.children);
        }
    }

    // A size-balanced tree over sorted siblings; returns the subtree's root.
    uint32_t balance(const std::vector<size_t>& sorted, size_t lo, size_t hi, int depth) {
        if (lo >= hi) return kNoStream;
        const size_t mid = lo + (hi - lo) / 2;
        Node& n = nodes_[sorted[mid]];
        depth_[sorted[mid]] = depth;
        n.left = balance(sorted, lo, mid, depth + 1);
        nodes_[sorted[mid]].right = balance(sorted, mid + 1, hi, depth + 1);
        return static_cast<uint32_t>(sorted[mid]);
    }

    // In a size-balanced tree every empty link lies at depth d or d + 1, so
    // making the nodes at depth d red gives every path the same black count.
    void colourDeepest(const std::vector<size_t>& siblings) {
        int deepest = 0;
        for (size_t s : siblings) deepest = std::max(deepest, depth_[s]);
        if (deepest == 0) return;
        for (size_t s : siblings)
            if (depth_[s] == deepest) nodes_[s].colour = 0;
    }

    void placeStreams() {
        uint32_t next = 0;
        // Large streams first, each in whole sectors.
        for (Node& n : nodes_) {
            if (n.type != kStream || n.data->size() < kMiniStreamCutoff) continue;
            n.start = next;
            const uint32_t count = sectorsFor(n.data->size(), kSector);
            for (uint32_t i = 0; i < count; ++i)
                fat_.push_back(i + 1 == count ? kEndOfChain : next + i + 1);
            next += count;
        }
        // Small streams go to the mini stream, in 64-byte mini sectors.
        for (Node& n : nodes_) {
            if (n.type != kStream || n.data->size() >= kMiniStreamCutoff || n.data->empty())
                continue;
            n.start = static_cast<uint32_t>(miniFat_.size());
            const uint32_t count = sectorsFor(n.data->size(), kMiniSectorSize);
            for (uint32_t i = 0; i < count; ++i)
                miniFat_.push_back(i + 1 == count ? kEndOfChain : n.start + i + 1);
            miniStream_.insert(miniStream_.end(), n.data->begin(), n.data->end());
            miniStream_.resize(static_cast<size_t>(miniFat_.size()) * kMiniSectorSize, 0);
        }
        auto addChain = [&](uint32_t count) {
            if (count == 0) return kEndOfChain;
            const uint32_t start = next;
            for (uint32_t i = 0; i < count; ++i)
                fat_.push_back(i + 1 == count ? kEndOfChain : next + i + 1);
            next += count;
            return start;
        };
        nodes_[0].start = addChain(sectorsFor(miniStream_.size(), kSector));
        miniFatSectors_ = sectorsFor(miniFat_.size() * 4ull, kSector);
        miniFatStart_ = addChain(miniFatSectors_);
        dirSectors_ = sectorsFor(nodes_.size() * uint64_t{kDirEntrySize}, kSector);
        dirStart_ = addChain(dirSectors_);

        // The allocation table covers itself and the sectors that list it.
        uint32_t fatSectors = 0, difatSectors = 0;
        while (true) {
            const uint32_t total = next + fatSectors + difatSectors;
            const uint32_t needFat = sectorsFor(total, kIdsPerSector);
            const uint32_t needDifat =
                needFat > kHeaderDifatSlots
                    ? sectorsFor(needFat - kHeaderDifatSlots, kIdsPerSector - 1)
                    : 0;
            if (needFat == fatSectors && needDifat == difatSectors) break;
            fatSectors = needFat;
            difatSectors = needDifat;
        }
        fatStart_ = next;
        fatSectors_ = fatSectors;
        for (uint32_t i = 0; i < fatSectors; ++i) fat_.push_back(kFatSect);
        difatStart_ = difatSectors ? next + fatSectors : kEndOfChain;
        difatSectors_ = difatSectors;
        for (uint32_t i = 0; i < difatSectors; ++i) fat_.push_back(kDifSect);
        fat_.resize(static_cast<size_t>(fatSectors) * kIdsPerSector, kFreeSect);
        totalSectors_ = next + fatSectors + difatSectors;
    }

    std::vector<uint8_t> assemble() {
        std::vector<uint8_t> out(kHeaderSize + static_cast<size_t>(totalSectors_) * kSector, 0);
        uint8_t* h = out.data();
        std::copy(kSignature.begin(), kSignature.end(), h);
        poke16(h + 0x18, 0x003E);
        poke16(h + 0x1A, 0x0003);
        poke16(h + 0x1C, 0xFFFE);
        poke16(h + 0x1E, 9);
        poke16(h + 0x20, 6);
        poke32(h + 0x2C, fatSectors_);
        poke32(h + 0x30, dirStart_);
        poke32(h + 0x38, kMiniStreamCutoff);
        poke32(h + 0x3C, miniFatStart_);
        poke32(h + 0x40, miniFatSectors_);
        poke32(h + 0x44, difatStart_);
        poke32(h + 0x48, difatSectors_);
        for (uint32_t i = 0; i < kHeaderDifatSlots; ++i)
            poke32(h + 0x4C + 4 * i, i < fatSectors_ ? fatStart_ + i : kFreeSect);

        auto at = [&](uint32_t sector) {
            return out.data() + kHeaderSize + size_t{sector} * kSector;
        };
        for (const Node& n : nodes_)
            if (n.type == kStream && n.data->size() >= kMiniStreamCutoff)
                std::copy(n.data->begin(), n.data->end(), at(n.start));
        if (!miniStream_.empty())
            std::copy(miniStream_.begin(), miniStream_.end(), at(nodes_[0].start));
        for (size_t i = 0; i < miniFat_.size(); ++i) poke32(at(miniFatStart_) + 4 * i, miniFat_[i]);
        if (miniFatSectors_)
            for (size_t i = miniFat_.size(); i < size_t{miniFatSectors_} * kIdsPerSector; ++i)
                poke32(at(miniFatStart_) + 4 * i, kFreeSect);
        writeDirectory(at(dirStart_));
        for (size_t i = 0; i < fat_.size(); ++i) poke32(at(fatStart_) + 4 * i, fat_[i]);
        for (uint32_t d = 0; d < difatSectors_; ++d) {
            uint8_t* s = at(difatStart_ + d);
            for (uint32_t k = 0; k < kIdsPerSector - 1; ++k) {
                const uint32_t index = kHeaderDifatSlots + d * (kIdsPerSector - 1) + k;
                poke32(s + 4 * k, index < fatSectors_ ? fatStart_ + index : kFreeSect);
            }
            poke32(s + 4 * (kIdsPerSector - 1),
                   d + 1 < difatSectors_ ? difatStart_ + d + 1 : kEndOfChain);
        }
        return out;
    }

    void writeDirectory(uint8_t* dir) {
        const size_t slots = size_t{dirSectors_} * (kSector / kDirEntrySize);
        for (size_t i = 0; i < slots; ++i) {
            uint8_t* e = dir + i * kDirEntrySize;
            poke32(e + 68, kNoStream);
            poke32(e + 72, kNoStream);
            poke32(e + 76, kNoStream);
            if (i >= nodes_.size()) continue;
            const Node& n = nodes_[i];
            for (size_t k = 0; k < n.name.size(); ++k) poke16(e + 2 * k, n.name[k]);
            poke16(e + 64, static_cast<uint16_t>((n.name.size() + 1) * 2));
            e[66] = n.type;
            e[67] = n.colour;
            poke32(e + 68, n.left);
            poke32(e + 72, n.right);
            poke32(e + 76, n.child);
            if (i == 0) std::copy(file_.rootClsid.begin(), file_.rootClsid.end(), e + 80);
            if (n.type == kStream || n.type == kRoot) {
                const uint64_t size = n.type == kRoot ? miniStream_.size() : n.data->size();
                poke32(e + 116, size == 0 ? kEndOfChain : n.start);
                poke32(e + 120, static_cast<uint32_t>(size));
            }
        }
    }

    const CompoundFile& file_;
    std::vector<Node> nodes_;
    std::map<size_t, int> depth_;
    std::vector<uint32_t> fat_, miniFat_;
    std::vector<uint8_t> miniStream_;
    uint32_t miniFatStart_ = kEndOfChain, miniFatSectors_ = 0;
    uint32_t dirStart_ = 0, dirSectors_ = 0;
    uint32_t fatStart_ = 0, fatSectors_ = 0;
    uint32_t difatStart_ = kEndOfChain, difatSectors_ = 0;
    uint32_t totalSectors_ = 0;
};

}  // namespace

std::vector<uint8_t> writeCompoundFile(const CompoundFile& file) {
    for (const CompoundStream& s : file.streams)
        if (s.data.size() > 0x7FFFFFFFu)
            throw FileFormatError("Cannot write the stream \"" + s.path + "\": it is too large.");
    return Writer(file).write();
}

}  // namespace tallowby::engine
