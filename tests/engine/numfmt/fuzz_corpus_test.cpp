// Replays the fuzz target's corpus, seeds and inputs that once broke it, so
// every finding stays fixed; the target aborts on any broken promise.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/numfmt_input_fuzz.cpp"
#include "tests/support/test_paths.h"

namespace {

TEST(NumberFormatFuzzCorpus, EveryKeptInputRunsCleanly) {
    const std::filesystem::path folder =
        std::filesystem::path(tallowby::test_paths::kFuzzCorpusDir) / "numfmt_input";
    int replayed = 0, regressions = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
        regressions += entry.path().filename().string().rfind("regression-", 0) == 0;
    }
    EXPECT_GE(replayed, 10);
    EXPECT_GE(regressions, 1);
}

}  // namespace
