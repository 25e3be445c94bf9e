#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"

namespace tallowby::engine::testing {

inline std::string sourcePath(const std::string& relative) {
    return std::string(test_paths::kSourceDir) + "/" + relative;
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<uint8_t> sampleBytes(const std::string& name) {
    return readBytes(sourcePath("tests/data/file/" + name));
}

}  // namespace tallowby::engine::testing
