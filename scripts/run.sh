#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds and starts Tallowby.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLOWBY_TESTS=OFF -DTALLOWBY_BENCH=OFF
cmake --build build --target tallowby
exec build/tallowby "$@"
