#!/usr/bin/env bash
# Installs what is missing, builds everything (the workbench natively, the two Windows
# libraries with MinGW) and runs every test with CTest. Exit status 0 only when all pass.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps

build=${TARNIX_BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = true ] && werror=ON

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIX_WERROR="$werror" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
