#!/usr/bin/env bash
# ./run.sh's program folder keeps the user's work between starts; --fresh makes it anew.
set -euo pipefail
layout="$(cd "$(dirname "$0")/.." && pwd)/program-folder"
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
mkdir "$build/bin"
for p in tarnix tarnix-tools vrex.exe vrext.exe sh.exe; do echo "$p 1" >"$build/bin/$p"; done

fail() { echo "FAIL: $*"; exit 1; }
program=$("$layout" "$build")
[ -f "$program/demo/Films.tnx" ] || fail "no project file in the demo copy"
grep -q "kbpath=$program/demo/" "$program/Ordo.ini" || fail "Ordo.ini does not point at the demo copy"

echo "mine" >"$program/demo/notes.txt"
echo "edited" >"$program/demo/task2.tsk"
printf '[Files]\r\nkbpath=/elsewhere/\r\n' >"$program/Ordo.ini"
echo "tarnix 2" >"$build/bin/tarnix"
"$layout" "$build" >/dev/null
[ "$(cat "$program/demo/notes.txt")" = mine ] || fail "a second start lost a new file"
[ "$(cat "$program/demo/task2.tsk")" = edited ] || fail "a second start lost an edit"
grep -q "kbpath=/elsewhere/" "$program/Ordo.ini" || fail "a second start rewrote the settings"
[ "$(cat "$program/tarnix")" = "tarnix 2" ] || fail "the program was not brought up to date"

"$layout" "$build" --fresh >/dev/null
[ ! -e "$program/demo/notes.txt" ] || fail "--fresh kept the old copy"
grep -q "kbpath=$program/demo/" "$program/Ordo.ini" || fail "--fresh kept the old settings"
echo "program folder: all checks passed"
