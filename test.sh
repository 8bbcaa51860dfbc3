#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with one CTest run:
#  - the workbench natively, and with MinGW the two Windows libraries and the Windows build of
#    the platform layer, the shared unit and the stand-in, whose tests run under Wine (folder build/);
#  - the fuzz targets with clang and libFuzzer (build-fuzz/): each runs over its seed corpus
#    and then over new inputs for TARNIX_FUZZ_SECONDS (default 10) seconds;
#  - in CI (CI=true) or with TARNIX_FULL=1: the whole suite again with AddressSanitizer and
#    UndefinedBehaviorSanitizer (build-asan/; no benchmarks, no Windows libraries);
#  - where Qt for Windows is in its cache (scripts/build-qt-windows, run first in CI or with
#    TARNIX_QT_WINDOWS=1; half an hour, once): the workbench itself for Windows, its windows'
#    test under Wine and the Windows package, unpacked and started in a new Wine prefix.
# Exit status 0 only when all pass.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps

build=${TARNIX_BUILD_DIR:-build}
jobs=$(nproc)
werror=OFF
full=${TARNIX_FULL:-0}
if [ "${CI:-}" = true ]; then
  werror=ON
  full=1
fi
if [ "$full" = 1 ] || [ "${TARNIX_QT_WINDOWS:-0}" = 1 ]; then
  ./scripts/build-qt-windows
fi
more=()  # build folders whose tests the CTest run of $build takes in

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIX_WERROR="$werror" >/dev/null
cmake --build "$build" -j "$jobs"

if command -v clang++ >/dev/null; then
  CC=clang CXX=clang++ cmake -S . -B "$build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIX_FUZZ=ON \
    -DTARNIX_FUZZ_SECONDS="${TARNIX_FUZZ_SECONDS:-10}" -DTARNIX_WERROR="$werror" >/dev/null
  cmake --build "$build-fuzz" -j "$jobs"
  more+=("$PWD/$build-fuzz")
else
  echo "test.sh: no clang++, so no fuzz runs" >&2
fi

if [ "$full" = 1 ]; then
  # -O1 with line tables: readable reports, and the quickest build that still finds as much.
  cmake -S . -B "$build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DTARNIX_SANITIZE=ON -DTARNIX_WINDOWS_LIBS=OFF \
    -DTARNIX_WERROR="$werror" >/dev/null
  cmake --build "$build-asan" -j "$jobs"
  more+=("$PWD/$build-asan")
fi

cmake -S . -B "$build" "-DTARNIX_MORE_TESTS=$(IFS=';'; echo "${more[*]}")" >/dev/null
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300
