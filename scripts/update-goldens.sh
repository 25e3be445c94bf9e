#!/usr/bin/env bash
# Regenerates the golden workbooks and pictures in tests/data/golden from the
# current code. Only for a deliberate change of what the generation run or the
# payroll summary makes:
# commit the new goldens on their own, saying why they changed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TALLOWBY_BUILD:-build}
cmake --build "$build" --target test_timesheet
TALLOWBY_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
    "$build/tests/test_timesheet" --gtest_filter='Weeks/GoldenOutput.*:Summaries/GoldenSummaryWorkbook.*'
git status --short tests/data/golden
