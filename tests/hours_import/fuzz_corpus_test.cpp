// Replays the CSV fuzz target's seeds and the inputs that once broke it, so
// every finding stays fixed; the target aborts on any broken promise.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/tracker_csv_fuzz.cpp"
#include "tests/support/test_paths.h"

namespace {

TEST(TrackerCsvFuzzCorpus, EveryKeptInputRunsCleanly) {
    const std::filesystem::path folder =
        std::filesystem::path(tallowby::test_paths::kFuzzCorpusDir) / "tracker_csv";
    int replayed = 0, regressions = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
        regressions += entry.path().filename().string().rfind("regression-", 0) == 0;
    }
    EXPECT_GE(replayed, 8);
    EXPECT_GE(regressions, 1);
}

}  // namespace
