#pragma once

#include <cstdint>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::biff {

// Where records stand in a stream, as ranks: a record type the engine knows
// has a rank, any other takes the rank of the record before it. Records the
// writer builds are placed among the kept ones by rank, so kept records keep
// their order and rebuilt ones land where readers expect them.
enum class Part { Globals, SheetBeforeCells, SheetAfterCells };
int rankOf(Part part, uint16_t type);  // -1 when the type has no rank of its own

struct RecordBlock {
    int rank = 0;
    std::vector<RawRecord> records;
};

std::vector<RawRecord> arrangeRecords(Part part, const std::vector<RawRecord>& kept,
                                      std::vector<RecordBlock> built);

// Inserts a record before the first kept record ranked above rank.
void insertByRank(Part part, std::vector<RawRecord>& kept, RawRecord record, int rank);

}  // namespace tallowby::engine::biff
