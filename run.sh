#!/usr/bin/env bash
# Builds the workbench and starts it on a copy of the demo project in build/program/; with --tools
# it starts tarnix-tools, the same program opened at the tools launcher. The copy and its settings
# file are made once and then kept with the user's work; --fresh makes them anew.
# With no display it runs under Xvfb, saves a screenshot of the first window and says where.
set -euo pipefail

program_name=tarnix
window="the main window"
settle=13                        # the splash closes after ten seconds
layout=()                        # --fresh: a new copy of the demo project and settings
for arg in "$@"; do
  case "$arg" in
    --tools) program_name=tarnix-tools; window="the tools launcher"; settle=3 ;;
    --fresh) layout=(--fresh) ;;
    *) echo "usage: $0 [--tools] [--fresh]" >&2; exit 2 ;;
  esac
done
cd "$(dirname "$0")"

./scripts/install-deps

build=${TARNIX_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target tarnix tarnix-tools standin

program=$(./scripts/program-folder "$build" "${layout[@]}")

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program/$program_name"
fi

shot="$program/$program_name.png"
echo "run.sh: no display; starting $program_name under Xvfb for a screenshot"
xvfb-run -a -s "-screen 0 1100x760x24" bash -c '
  "$1/$2" & pid=$!
  sleep "$4"
  import -window root "$3"
  kill $pid; wait $pid 2>/dev/null || true
' _ "$program" "$program_name" "$shot" "$settle"
echo "run.sh: screenshot of $window saved as $shot"
