// Replays the CSV fuzz target's seeds and the inputs that once broke it, so
// every finding stays fixed; the target aborts on any broken promise.
#include "tests/support/fuzz_corpus.h"

#include <gtest/gtest.h>

#include "fuzz/tracker_csv_fuzz.cpp"

namespace {

TEST(TrackerCsvFuzzCorpus, EveryKeptInputRunsCleanly) {
    tallowby::testing::expectCorpusRunsCleanly("tracker_csv", LLVMFuzzerTestOneInput, 8);
}

}  // namespace
