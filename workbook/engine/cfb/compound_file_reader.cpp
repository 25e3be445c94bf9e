#include <algorithm>
#include <set>
#include <string>
#include <utility>
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

[[noreturn]] void fail(const std::string& what) {
    throw FileFormatError("The workbook file is damaged: " + what + ".");
}

struct DirEntry {
    std::u16string name;
    uint8_t type = kUnused;
    uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    uint32_t start = 0;
    uint64_t size = 0;
};

class Reader {
  public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    CompoundFile read() {
        readHeader();
        readFat();
        readDirectory();
        readMiniStream();
        CompoundFile file;
        std::copy_n(rootClsid_, 16, file.rootClsid.begin());
        collectStreams(file);
        return file;
    }

  private:
    void readHeader() {
        if (bytes_.size() < kHeaderSize)
            throw FileFormatError(bytes_.empty()
                                      ? "The workbook file is empty."
                                      : "The workbook file is too short to be an Excel workbook.");
        if (!std::equal(kSignature.begin(), kSignature.end(), bytes_.begin()))
            throw FileFormatError(
                "The file is not an Excel 97-2003 workbook (it is not a compound file).");
        const uint8_t* h = bytes_.data();
        const uint16_t major = peek16(h + 0x1A);
        const uint16_t shift = peek16(h + 0x1E);
        if (peek16(h + 0x1C) != 0xFFFE) fail("unknown byte order mark");
        if (!((major == 3 && shift == 9) || (major == 4 && shift == 12)))
            fail("unsupported compound file version or sector size");
        if (peek16(h + 0x20) != 6) fail("unsupported mini sector size");
        sectorSize_ = 1u << shift;
        const size_t body = bytes_.size() > sectorSize_ ? bytes_.size() - sectorSize_ : 0;
        sectorCount_ = static_cast<uint32_t>(
            std::min<size_t>((body + sectorSize_ - 1) / sectorSize_, kMaxRegSect));
        used_.assign(sectorCount_, false);
        fatCount_ = peek32(h + 0x2C);
        firstDir_ = peek32(h + 0x30);
        if (peek32(h + 0x38) != kMiniStreamCutoff) fail("unexpected mini stream cutoff");
        firstMiniFat_ = peek32(h + 0x3C);
        miniFatCount_ = peek32(h + 0x40);
        firstDifat_ = peek32(h + 0x44);
        difatCount_ = peek32(h + 0x48);
        if (fatCount_ == 0 || fatCount_ > sectorCount_)
            fail("the allocation table size does not fit the file");
        if (difatCount_ > sectorCount_ || miniFatCount_ > sectorCount_)
            fail("a table size in the header does not fit the file");
    }

    std::span<const uint8_t> sector(uint32_t id, const char* what) const {
        if (id >= sectorCount_)
            fail(std::string("a sector of the ") + what + " lies outside the file");
        const size_t offset = static_cast<size_t>(id + 1) * sectorSize_;
        const size_t length = std::min<size_t>(sectorSize_, bytes_.size() - offset);
        return bytes_.subspan(offset, length);
    }

    void claim(uint32_t id, const char* what) {
        if (id >= sectorCount_)
            fail(std::string("a sector of the ") + what + " lies outside the file");
        if (used_[id]) fail(std::string("a sector of the ") + what + " is used twice");
        used_[id] = true;
    }

    void readFat() {
        std::vector<uint32_t> fatSectors;
        fatSectors.reserve(fatCount_);
        for (uint32_t i = 0; i < kHeaderDifatSlots && fatSectors.size() < fatCount_; ++i)
            fatSectors.push_back(peek32(bytes_.data() + 0x4C + 4 * i));
        uint32_t next = firstDifat_;
        uint32_t difatRead = 0;
        while (fatSectors.size() < fatCount_) {
            if (next == kEndOfChain || next == kFreeSect || difatRead >= difatCount_)
                fail("the list of allocation table sectors ends early");
            claim(next, "sector list");
            const auto s = sector(next, "sector list");
            if (s.size() < sectorSize_) fail("the sector list is truncated");
            const uint32_t perSector = sectorSize_ / 4 - 1;
            for (uint32_t i = 0; i < perSector && fatSectors.size() < fatCount_; ++i)
                fatSectors.push_back(peek32(s.data() + 4 * i));
            next = peek32(s.data() + 4 * perSector);
            ++difatRead;
        }
        const uint32_t perSector = sectorSize_ / 4;
        fat_.reserve(static_cast<size_t>(fatCount_) * perSector);
        for (uint32_t id : fatSectors) {
            claim(id, "allocation table");
            const auto s = sector(id, "allocation table");
            if (s.size() < sectorSize_) fail("the allocation table is truncated");
            for (uint32_t i = 0; i < perSector; ++i) fat_.push_back(peek32(s.data() + 4 * i));
        }
    }

    // The sectors of a chain, each claimed so no two chains share one.
    std::vector<uint32_t> chain(uint32_t start, const char* what) {
        std::vector<uint32_t> ids;
        uint32_t s = start;
        while (s != kEndOfChain) {
            if (s >= fat_.size()) fail(std::string("the chain of the ") + what + " is broken");
            claim(s, what);
            ids.push_back(s);
            s = fat_[s];
        }
        return ids;
    }

    std::vector<uint8_t> gather(const std::vector<uint32_t>& ids, uint64_t size, const char* what) {
        if (static_cast<uint64_t>(ids.size()) * sectorSize_ < size)
            fail(std::string("the ") + what + " is shorter than its stated size");
        std::vector<uint8_t> data;
        data.reserve(static_cast<size_t>(size));
        for (uint32_t id : ids) {
            if (data.size() >= size) break;
            const auto s = sector(id, what);
            const size_t take = std::min<size_t>(s.size(), size - data.size());
            // Only the file's last sector may be cut short, and only if it ends the data.
            if (take == s.size() && s.size() < sectorSize_ && data.size() + take < size)
                fail(std::string("the ") + what + " is truncated");
            data.insert(data.end(), s.begin(), s.begin() + take);
        }
        if (data.size() != size) fail(std::string("the ") + what + " is truncated");
        return data;
    }

    void readDirectory() {
        const auto ids = chain(firstDir_, "directory");
        if (ids.empty()) fail("the directory is missing");
        const auto data = gather(ids, static_cast<uint64_t>(ids.size()) * sectorSize_, "directory");
        const size_t count = data.size() / kDirEntrySize;
        entries_.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data.data() + i * kDirEntrySize;
            DirEntry& d = entries_[i];
            d.type = e[66];
            if (d.type == kUnused) continue;
            const uint16_t nameBytes = peek16(e + 64);
            if (nameBytes > 64 || nameBytes % 2 != 0)
                fail("a directory entry has a bad name length");
            for (unsigned k = 0; k + 2 < nameBytes; k += 2)
                d.name += static_cast<char16_t>(peek16(e + k));
            d.left = peek32(e + 68);
            d.right = peek32(e + 72);
            d.child = peek32(e + 76);
            d.start = peek32(e + 116);
            d.size = sectorSize_ == 512 ? peek32(e + 120)
                                        : (peek32(e + 120) | (uint64_t{peek32(e + 124)} << 32));
            if (i == 0) std::copy_n(e + 80, 16, rootClsid_);
        }
        if (entries_[0].type != kRoot) fail("the root directory entry is missing");
    }

    void readMiniStream() {
        const DirEntry& root = entries_[0];
        if (root.size == 0) return;
        if (root.size > bytes_.size()) fail("the mini stream is larger than the file");
        miniStream_ = gather(chain(root.start, "mini stream"), root.size, "mini stream");
        const auto ids = chain(firstMiniFat_, "mini allocation table");
        const auto table =
            gather(ids, static_cast<uint64_t>(ids.size()) * sectorSize_, "mini allocation table");
        miniFat_.resize(table.size() / 4);
        for (size_t i = 0; i < miniFat_.size(); ++i) miniFat_[i] = peek32(table.data() + 4 * i);
        miniUsed_.assign(miniStream_.size() / kMiniSectorSize + 1, false);
    }

    std::vector<uint8_t> miniData(uint32_t start, uint64_t size, const std::string& name) {
        std::vector<uint8_t> data;
        data.reserve(static_cast<size_t>(size));
        uint32_t s = start;
        while (data.size() < size) {
            if (s >= miniFat_.size() || s >= miniUsed_.size() ||
                (static_cast<uint64_t>(s) + 1) * kMiniSectorSize > miniStream_.size())
                fail("the stream " + name + " is broken");
            if (miniUsed_[s]) fail("the stream " + name + " shares space with another");
            miniUsed_[s] = true;
            const size_t take = std::min<size_t>(kMiniSectorSize, size - data.size());
            const auto from = miniStream_.begin() + static_cast<size_t>(s) * kMiniSectorSize;
            data.insert(data.end(), from, from + take);
            s = miniFat_[s];
        }
        return data;
    }

    void collectStreams(CompoundFile& file) {
        struct Pending {
            uint32_t index;
            std::string prefix;
            int depth;
            uint32_t parent;
        };
        // Only what the writer can write back is accepted: a name it would
        // refuse, or one it would merge with a sibling, is damage here.
        std::set<std::pair<uint32_t, std::u16string>> siblings;
        std::vector<bool> visited(entries_.size(), false);
        visited[0] = true;
        std::vector<Pending> stack;
        if (entries_[0].child != kNoStream) stack.push_back({entries_[0].child, "", 0, 0});
        while (!stack.empty()) {
            const Pending p = stack.back();
            stack.pop_back();
            if (p.index >= entries_.size()) fail("a directory link points outside the directory");
            if (visited[p.index]) fail("the directory tree loops");
            visited[p.index] = true;
            const DirEntry& e = entries_[p.index];
            if (e.type != kStream && e.type != kStorage) fail("the directory tree is inconsistent");
            if (e.left != kNoStream) stack.push_back({e.left, p.prefix, p.depth, p.parent});
            if (e.right != kNoStream) stack.push_back({e.right, p.prefix, p.depth, p.parent});
            const std::string name = unicode::utf16ToUtf8(e.name);
            if (name.empty()) fail("a directory entry has no name");
            if (name.find('/') != std::string::npos)
                fail("the directory entry name " + name + " holds a \"/\"");
            if (!siblings.emplace(p.parent, cfb::entryNameKey(unicode::utf8ToUtf16(name))).second)
                fail("the directory holds the name " + name + " twice");
            const std::string path = p.prefix + name;
            if (e.type == kStorage) {
                if (e.child != kNoStream)
                    stack.push_back({e.child, path + "/", p.depth + 1, p.index});
                continue;
            }
            if (e.size > bytes_.size()) fail("the stream " + path + " is larger than the file");
            CompoundStream stream;
            stream.path = path;
            if (e.size < kMiniStreamCutoff)
                stream.data = miniData(e.start, e.size, path);
            else
                stream.data = gather(chain(e.start, "stream"), e.size, "stream");
            file.streams.push_back(std::move(stream));
        }
        // Directory order, not tree order, keeps the result independent of balancing.
        std::sort(file.streams.begin(), file.streams.end(),
                  [](const CompoundStream& a, const CompoundStream& b) { return a.path < b.path; });
    }

    std::span<const uint8_t> bytes_;
    uint32_t sectorSize_ = 512;
    uint32_t sectorCount_ = 0;
    uint32_t fatCount_ = 0, firstDir_ = 0, firstMiniFat_ = 0, miniFatCount_ = 0;
    uint32_t firstDifat_ = 0, difatCount_ = 0;
    std::vector<bool> used_;
    std::vector<uint32_t> fat_;
    std::vector<DirEntry> entries_;
    uint8_t rootClsid_[16] = {};
    std::vector<uint8_t> miniStream_;
    std::vector<uint32_t> miniFat_;
    std::vector<bool> miniUsed_;
};

}  // namespace

CompoundFile readCompoundFile(std::span<const uint8_t> bytes) {
    return Reader(bytes).read();
}

const CompoundStream* CompoundFile::find(const std::string& path) const {
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        return s;
    };
    const std::string wanted = lower(path);
    for (const CompoundStream& s : streams)
        if (lower(s.path) == wanted) return &s;
    return nullptr;
}

}  // namespace tallowby::engine
