#!/usr/bin/env bash
# The Windows package as a person on Windows takes it: the zip unpacked into C:\ of a new Wine
# prefix, tarnix.exe started from there on a screen of its own, its main window shown, and the
# demo knowledge base compiled (F9) by the bundled engine programs. With TARNIX_SCREENSHOT_DIR
# set, the screen after the compilation is saved there as tarnix-windows.png. Where the installer
# was made too: it installs for the user without questions (/S), naming its own folder's demo in
# the settings, and its uninstaller leaves the user's demo project and settings.
# Usage: windows_package_test.sh BUILD WINE64
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
wine=$2

fail() { echo "FAIL: $*"; [ -n "${shot:-}" ] && import -window root "$shot" 2>/dev/null && echo "screen: $shot"; exit 1; }
tmp=$(mktemp -d)
shot=$tmp/screen.png
cleanup() {
  WINEPREFIX=$tmp/prefix wineserver -k 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

made=$("$here/../package-windows" "$build")
zip=${made%%$'\n'*}

exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 1100x760x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")
export WINEPREFIX=$tmp/prefix WINEARCH=win64 WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml="
# A new prefix, whose windows Wine places itself (there is no window manager to wait for).
"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
cmake -E chdir "$WINEPREFIX/drive_c" cmake -E tar xf "$zip"
folder=$WINEPREFIX/drive_c/Tarnix
[ -f "$folder/tarnix.exe" ] && [ -f "$folder/Ordo.ini" ] || fail "the zip holds no program folder Tarnix"

(cd "$folder" && exec "$wine" tarnix.exe >"$tmp/tarnix.log" 2>&1) &
window=
for _ in $(seq 120); do
  window=$(xdotool search --name '^ *Tarnix' 2>/dev/null | tail -n 1) && [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "tarnix.exe showed no window"
# The about box closes at a key or after ten seconds; then the main window takes F9.
sleep 2
xdotool key --clearmodifiers Escape
for _ in $(seq 40); do
  main=$(xdotool search --onlyvisible --name '^ +Tarnix' 2>/dev/null | head -n 1) || true
  if [ -n "$main" ]; then
    xdotool windowfocus "$main" 2>/dev/null || true
    xdotool key --clearmodifiers F9
  fi
  sleep 1
  [ -f "$folder/demo/invc23.ari" ] && break
done
[ -f "$folder/demo/invc23.ari" ] || fail "no goal file in C:\\Tarnix\\demo: the settings did not name the demo"
for _ in $(seq 30); do [ -f "$folder/demo/ovc17.ari" ] && break; sleep 0.5; done
[ -f "$folder/demo/ovc17.ari" ] || fail "the bundled engine program left no answer"
sleep 2
[ "$(head -c 1 "$folder/demo/ovc17.ari")" = 0 ] || fail "the compilation failed: $(cat "$folder/demo/ovc17.ari")"
if [ -n "${TARNIX_SCREENSHOT_DIR:-}" ]; then
  import -window root "$TARNIX_SCREENSHOT_DIR/tarnix-windows.png"
fi
echo "Windows package: $zip unpacked, started and compiled the demo"
wineserver -k

setup=${made#*$'\n'}
[ "$setup" != "$made" ] || exit 0
"$wine" "$("$wine" winepath -w "$setup")" /S
wineserver -w
installed=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Tarnix 2>/dev/null | head -n 1)
[ -f "$installed/tarnix.exe" ] || fail "the installer put no tarnix.exe into %LOCALAPPDATA%\\Programs\\Tarnix"
[ -f "$installed/demo/KbMovem1.rul" ] || fail "the installer put no demo project there"
folder_w=$("$wine" winepath -w "$installed")
grep -qiF "kbpath=$folder_w\\demo\\" "$installed/Ordo.ini" ||
  fail "the installed settings do not name the installed demo: $(cat "$installed/Ordo.ini")"
echo mine >"$installed/demo/notes.txt"
"$wine" "$folder_w\\uninstall.exe" /S "_?=$folder_w"
wineserver -w
[ ! -e "$installed/tarnix.exe" ] || fail "the uninstaller left tarnix.exe"
[ -f "$installed/demo/notes.txt" ] && [ -f "$installed/Ordo.ini" ] || fail "the uninstaller removed the user's work"
echo "Windows installer: installed for the user and uninstalled, keeping the user's work"
