#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, then builds and runs every
# test twice: a plain build (with the checks against LibreOffice, Gnumeric and
# python3-xlrd, and the Debian package, which as root is also installed, used
# and purged) with gcc, and a build under AddressSanitizer +
# UndefinedBehaviorSanitizer with clang.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
jobs=$(nproc)

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWBY_WARNINGS_AS_ERRORS=ON
cmake --build build-test -j "$jobs"
TALLOWBY_PACKAGE_INSTALL=1 ctest --test-dir build-test --output-on-failure -j "$jobs" --timeout 600

# The sanitizer build uses clang, so the tree is also compiled by a second
# compiler (Debian's clang 14 with libclang-rt-14-dev). Its warnings are shown
# but are not errors: clang's -Wconversion also includes -Wsign-conversion,
# which gcc leaves out for C++, and the engine still has such conversions
# (index arithmetic on spans and vectors); the gcc build stays the -Werror one.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DTALLOWBY_SANITIZE=ON -DTALLOWBY_BENCH=OFF
cmake --build build-asan -j "$jobs"
# The outside readers and the package are already covered by the plain build.
ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600 -LE 'interop|package'
