#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::biff {

// Reads the shared string table from an SST record and the CONTINUE records
// after it. Rich-text runs and phonetic data are skipped.
std::vector<std::string> readSharedStrings(std::vector<std::span<const uint8_t>> fragments);

// Collects the distinct texts of the cells and lays out SST, its CONTINUE
// records and EXTSST.
class SharedStringTable {
  public:
    uint32_t add(const std::string& text);  // index of the text, added once
    size_t uniqueCount() const { return texts_.size(); }

    // The SST record and its CONTINUE records, ready to write, followed by
    // EXTSST. sstOffset is where the SST record's header will stand in the
    // workbook stream; EXTSST points into the records at that offset.
    std::vector<RawRecord> records(size_t sstOffset) const;

  private:
    std::vector<std::string> texts_;
    std::unordered_map<std::string, uint32_t> index_;
    uint32_t total_ = 0;
};

}  // namespace tallowby::engine::biff
