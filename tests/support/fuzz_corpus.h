#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"

namespace tallowby::testing {

// Runs every kept input of one fuzz target's corpus folder through the target,
// which aborts on any broken promise; expects at least `atLeast` inputs and at
// least one named "regression-…" (an input that once broke the target).
inline void expectCorpusRunsCleanly(const std::string& corpus,
                                    int (*target)(const uint8_t*, size_t), int atLeast) {
    int replayed = 0, regressions = 0;
    const std::filesystem::path folder =
        std::filesystem::path(tallowby::test_paths::kFuzzCorpusDir) / corpus;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
        regressions += entry.path().filename().string().rfind("regression-", 0) == 0;
    }
    EXPECT_GE(replayed, atLeast);
    EXPECT_GE(regressions, 1);
}

}  // namespace tallowby::testing
