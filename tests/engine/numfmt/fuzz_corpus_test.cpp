// Replays the fuzz target's corpus, seeds and inputs that once broke it, so
// every finding stays fixed; the target aborts on any broken promise.
#include "tests/support/fuzz_corpus.h"

#include <gtest/gtest.h>

#include "fuzz/numfmt_input_fuzz.cpp"

namespace {

TEST(NumberFormatFuzzCorpus, EveryKeptInputRunsCleanly) {
    tallowby::testing::expectCorpusRunsCleanly("numfmt_input", LLVMFuzzerTestOneInput, 10);
}

}  // namespace
