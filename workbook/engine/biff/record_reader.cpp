#include "workbook/engine/biff/record_reader.h"

#include "workbook/engine/biff/unicode_text.h"
#include "workbook/engine/cfb/file_format_error.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

RecordReader::RecordReader(std::span<const uint8_t> stream, size_t start)
    : stream_(stream), position_(start) {}

Record RecordReader::next() {
    if (position_ + 4 > stream_.size())
        throw FileFormatError(
            "The workbook file is damaged: the workbook stream ends inside a record.");
    Record r;
    r.offset = position_;
    r.type = peek16(stream_.data() + position_);
    const uint16_t length = peek16(stream_.data() + position_ + 2);
    if (position_ + 4 + length > stream_.size())
        throw FileFormatError(
            "The workbook file is damaged: the workbook stream ends inside a record.");
    r.data = stream_.subspan(position_ + 4, length);
    position_ += 4 + length;
    return r;
}

uint16_t RecordReader::peekType() const {
    return position_ + 2 <= stream_.size() ? peek16(stream_.data() + position_) : 0;
}

FieldReader::FieldReader(std::span<const uint8_t> data, const char* recordName)
    : fragments_{data}, name_(recordName) {}

FieldReader::FieldReader(std::vector<std::span<const uint8_t>> fragments, const char* recordName)
    : fragments_(std::move(fragments)), name_(recordName) {
    if (fragments_.empty()) fragments_.push_back({});
}

void FieldReader::fail(const std::string& why) const {
    throw FileFormatError(std::string("The workbook file is damaged: a ") + name_ + " record " +
                          why + ".");
}

void FieldReader::need(size_t count) {
    // A field may start exactly at a fragment break; move on to the next one.
    while (offset_ == fragments_[fragment_].size() && fragment_ + 1 < fragments_.size()) {
        ++fragment_;
        offset_ = 0;
    }
    if (fragments_[fragment_].size() - offset_ < count) fail("is too short");
}

uint8_t FieldReader::u8() {
    need(1);
    return fragments_[fragment_][offset_++];
}

uint16_t FieldReader::u16() {
    need(2);
    const uint16_t v = peek16(fragments_[fragment_].data() + offset_);
    offset_ += 2;
    return v;
}

uint32_t FieldReader::u32() {
    need(4);
    const uint32_t v = peek32(fragments_[fragment_].data() + offset_);
    offset_ += 4;
    return v;
}

double FieldReader::f64() {
    need(8);
    const double v = peekDouble(fragments_[fragment_].data() + offset_);
    offset_ += 8;
    return v;
}

size_t FieldReader::remaining() const {
    size_t total = fragments_[fragment_].size() - offset_;
    for (size_t i = fragment_ + 1; i < fragments_.size(); ++i) total += fragments_[i].size();
    return total;
}

void FieldReader::skip(size_t count) {
    if (count > remaining()) fail("is too short");
    while (count > 0) {
        const size_t here = fragments_[fragment_].size() - offset_;
        if (here == 0) {
            ++fragment_;
            offset_ = 0;
            continue;
        }
        const size_t take = std::min(here, count);
        offset_ += take;
        count -= take;
    }
}

std::vector<uint8_t> FieldReader::bytes(size_t count) {
    if (count > remaining()) fail("is too short");
    std::vector<uint8_t> out;
    out.reserve(count);
    while (out.size() < count) {
        const size_t here = fragments_[fragment_].size() - offset_;
        if (here == 0) {
            ++fragment_;
            offset_ = 0;
            continue;
        }
        const size_t take = std::min(here, count - out.size());
        const auto from = fragments_[fragment_].begin() + offset_;
        out.insert(out.end(), from, from + take);
        offset_ += take;
    }
    return out;
}

std::vector<uint8_t> FieldReader::rest() {
    return bytes(remaining());
}

std::string FieldReader::characters(size_t count, bool wide) {
    std::u16string text;
    text.reserve(std::min(count, remaining()));
    while (text.size() < count) {
        size_t here = fragments_[fragment_].size() - offset_;
        if (here == 0) {
            // The characters go on in the next fragment, which starts with
            // its own flags byte saying whether they are 8 or 16 bits wide.
            if (fragment_ + 1 >= fragments_.size()) fail("ends inside a string");
            ++fragment_;
            offset_ = 0;
            wide = (u8() & 0x01) != 0;
            continue;
        }
        const auto* p = fragments_[fragment_].data() + offset_;
        if (wide) {
            const size_t n = std::min(here / 2, count - text.size());
            if (n == 0) fail("splits a character");
            for (size_t i = 0; i < n; ++i) text += static_cast<char16_t>(peek16(p + 2 * i));
            offset_ += 2 * n;
        } else {
            const size_t n = std::min(here, count - text.size());
            for (size_t i = 0; i < n; ++i) text += static_cast<char16_t>(p[i]);
            offset_ += n;
        }
    }
    return utf16ToText(text);
}

std::string FieldReader::unicodeString(bool shortLength) {
    const size_t count = shortLength ? u8() : u16();
    const uint8_t flags = u8();
    const uint16_t runs = (flags & 0x08) ? u16() : 0;
    const uint32_t phonetic = (flags & 0x04) ? u32() : 0;
    std::string text = characters(count, flags & 0x01);
    skip(size_t{runs} * 4);
    skip(phonetic);
    return text;
}

}  // namespace tallowby::engine::biff
