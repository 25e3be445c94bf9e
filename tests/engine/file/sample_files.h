#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tallowby::engine::testing {

inline std::string sourcePath(const std::string& relative) {
    const char* root = std::getenv("TALLOWBY_SOURCE_DIR");
    return std::string(root ? root : ".") + "/" + relative;
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<uint8_t> sampleBytes(const std::string& name) {
    return readBytes(sourcePath("tests/data/file/" + name));
}

}  // namespace tallowby::engine::testing
