#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tallowby::engine::biff {

struct Record {
    uint16_t type = 0;
    std::span<const uint8_t> data;
    size_t offset = 0;  // of the record header in the stream
};

// Walks the records of a BIFF stream, checking each length against the stream.
class RecordReader {
  public:
    explicit RecordReader(std::span<const uint8_t> stream, size_t start = 0);
    bool atEnd() const { return position_ >= stream_.size(); }
    Record next();              // throws when the stream ends inside a record
    uint16_t peekType() const;  // 0 at the end of the stream
    size_t position() const { return position_; }

  private:
    std::span<const uint8_t> stream_;
    size_t position_;
};

// Reads the fields of one record, or of a record and the CONTINUE records
// that carry on its data. Every read is checked; running off the end throws
// FileFormatError naming the record.
class FieldReader {
  public:
    FieldReader(std::span<const uint8_t> data, const char* recordName);
    // A record whose data continues in further fragments (CONTINUE records).
    FieldReader(std::vector<std::span<const uint8_t>> fragments, const char* recordName);

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    double f64();
    void skip(size_t count);
    std::vector<uint8_t> bytes(size_t count);
    std::vector<uint8_t> rest();  // the remaining bytes of the current fragment and those after it
    size_t remaining() const;     // in all fragments

    // An XLUnicodeString: a 16-bit (or, when shortLength, 8-bit) character
    // count, a flags byte, optional rich-text and phonetic sizes, the
    // characters (resuming after a fragment break with a new flags byte), then
    // the runs and phonetic data, which are skipped. Returns UTF-8.
    std::string unicodeString(bool shortLength = false);
    // The characters only, for a count and flags byte read by the caller.
    std::string characters(size_t count, bool wide);

    [[noreturn]] void fail(const std::string& why) const;

  private:
    void need(size_t count);  // ensures count bytes lie in the current fragment
    std::vector<std::span<const uint8_t>> fragments_;
    size_t fragment_ = 0;
    size_t offset_ = 0;
    const char* name_;
};

}  // namespace tallowby::engine::biff
