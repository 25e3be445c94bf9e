#pragma once
// The filled week run through the generation, for the benchmarks that time
// what comes after it (the PDF, the .xlsx).
#include <benchmark/benchmark.h>

#include <optional>

#include "bench_weeks.h"
#include "tests/support/gui_application.h"
#include "timesheet/generation_run.h"
#include "workbook/run/private_temp_folder.h"

namespace bench_weeks {

// The result workbook of the filled week in `folder`; none, and the
// benchmark skipped with the reason, when the run fails.
inline std::optional<tallowby::GenerationResult> generatedFilledWeek(
    benchmark::State& state, tallowby::PrivateTempFolder& folder) {
    tallowby::testing::ensureGuiApplication();
    tallowby::GenerationResult made = tallowby::runGeneration(filledWeek(), folder, {});
    if (!made.handedOver || !made.failures.empty()) {
        state.SkipWithError("the week could not be generated");
        return std::nullopt;
    }
    return made;
}

}  // namespace bench_weeks
