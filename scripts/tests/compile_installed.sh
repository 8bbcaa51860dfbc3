#!/usr/bin/env bash
# Starts an installed tarnix (PREFIX/bin/tarnix) as an ordinary user with a new home on a screen
# of its own, and checks that it made the per-user program folder and the demo copy and that F9
# compiles the demo with the installed engine programs. Exits 77 where root cannot switch users.
# Usage: compile_installed.sh PREFIX
set -euo pipefail
prefix=$1

tmp=$(mktemp -d)
chmod 755 "$tmp"
fail() { echo "FAIL: $*"; [ -f "$tmp/tarnix.log" ] && cat "$tmp/tarnix.log"; exit 1; }
cleanup() {
  [ -n "${program:-}" ] && kill "$program" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# The program runs as an ordinary user: root would pass every permission check.
home=$tmp/home
mkdir -p "$home"
as_user=()
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || { echo "setpriv is missing: skipped"; exit 77; }
  chown nobody:"$(id -gn nobody)" "$home"
  as_user=(setpriv --reuid=nobody --regid="$(id -gn nobody)" --clear-groups --)
fi

exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 1100x760x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")
env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
  "${as_user[@]}" "$prefix/bin/tarnix" >"$tmp/tarnix.log" 2>&1 &
program=$!

window=
for _ in $(seq 60); do
  window=$(xdotool search --name '^ *Tarnix' 2>/dev/null | tail -n 1) && [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "the installed tarnix showed no window"
data=$home/.local/share/tarnix
[ -f "$data/Ordo.ini" ] || fail "no per-user program folder $data"
grep -q "^kbpath=$home/Tarnix/demo/" "$data/Ordo.ini" || fail "the settings do not name the demo copy"
[ -f "$home/Tarnix/demo/KbMovem1.rul" ] || fail "no demo copy in ~/Tarnix/demo"
# The splash closes at a key; then the main window takes F9.
sleep 1
xdotool key --clearmodifiers Escape
for _ in $(seq 30); do
  main=$(xdotool search --onlyvisible --name '^ +Tarnix' 2>/dev/null | head -n 1) || true
  if [ -n "$main" ]; then
    xdotool windowfocus "$main" 2>/dev/null || true
    xdotool key --clearmodifiers F9
  fi
  sleep 1
  [ -s "$home/Tarnix/demo/comp.ari" ] && break
done
[ -s "$home/Tarnix/demo/comp.ari" ] || fail "the demo was not compiled: no listing in ~/Tarnix/demo"
echo "$prefix/bin/tarnix: per-user folder $data; demo compiled in ~/Tarnix/demo"
