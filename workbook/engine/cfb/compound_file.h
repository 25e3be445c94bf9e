#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tallowby::engine {

// One stream of a compound file. The path names the storages that hold it and
// the stream itself, joined by '/', in UTF-8 ("Workbook",
// "\x05SummaryInformation", "_VBA_PROJECT_CUR/VBA/dir").
struct CompoundStream {
    std::string path;
    std::vector<uint8_t> data;
    bool operator==(const CompoundStream&) const = default;
};

struct CompoundFile {
    std::array<uint8_t, 16> rootClsid{};
    std::vector<CompoundStream> streams;

    const CompoundStream* find(const std::string& path) const;  // case-insensitive (ASCII)
};

// Reads a version 3 or 4 compound file. Throws FileFormatError when the bytes
// are not one or are inconsistent (truncated, chains that loop or overlap).
CompoundFile readCompoundFile(std::span<const uint8_t> bytes);

// Writes a version 3 compound file (512-byte sectors); streams under 4096
// bytes go to the mini stream. Storages are created for paths that need them.
std::vector<uint8_t> writeCompoundFile(const CompoundFile& file);

}  // namespace tallowby::engine
