#!/usr/bin/env bash
# Builds the workbench and starts it on a fresh copy of the demo project; with --tools it starts
# tarnix-tools, the same program opened at the tools launcher.
# With no display it runs under Xvfb, saves a screenshot of the first window and says where.
set -euo pipefail

program_name=tarnix
window="the main window"
settle=13                        # the splash closes after ten seconds
case "${1:-}" in
  "") ;;
  --tools) program_name=tarnix-tools; window="the tools launcher"; settle=3 ;;
  *) echo "usage: $0 [--tools]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")"
top=$(pwd)

./scripts/install-deps

build=${TARNIX_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target tarnix tarnix-tools standin

# The program folder: the workbench, the stand-in engine programs, the settings file and a
# copy of the demo project (the repository's demo/ is never changed).
program="$top/$build/program"
rm -rf "$program"
mkdir -p "$program"
cp "$build/bin/tarnix" "$build/bin/tarnix-tools" "$build/bin/vrex.exe" "$build/bin/vrext.exe" "$build/bin/sh.exe" "$program/"
cp -r demo "$program/demo"
printf '[Files]\r\nkbpath=%s/\r\ncurrKb=Kb1\r\ncurrentTask=task2.tsk\r\nrusource=KbMovem1.rul\r\n' "$program/demo" >"$program/Ordo.ini"

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
