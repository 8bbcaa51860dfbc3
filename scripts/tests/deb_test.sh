#!/usr/bin/env bash
# The Debian package on this machine: built with scripts/package, installed with dpkg -i, its
# tarnix answering --version, its menu entry in place and the demo compiled by a user, then removed with dpkg -r leaving no
# program behind. Needs root; skipped (77) otherwise, or where a tarnix package is installed
# already (it is not ours to replace).
# Usage: deb_test.sh BUILD
set -euo pipefail
build=$1
[ "$(id -u)" = 0 ] || { echo "not root: the package test is skipped"; exit 77; }
if dpkg-query -W -f='${Status}' tarnix 2>/dev/null | grep -q 'install ok'; then
  echo "a tarnix package is installed here already: skipped"; exit 77
fi
fail() { echo "FAIL: $*"; dpkg -r tarnix >/dev/null 2>&1 || true; exit 1; }

deb=$("$(dirname "$0")/../package" "$build")
stray=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/' || true)
[ -z "$stray" ] || fail "files outside /usr in the package: $stray"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt: $depends"
dpkg -i "$deb" >/dev/null || fail "dpkg -i $deb"
[ "$(/usr/bin/tarnix --version)" = "tarnix $(dpkg-deb -f "$deb" Version)" ] || fail "tarnix --version"
[ -f /usr/share/applications/org.tarnix.Tarnix.desktop ] || fail "no menu entry"
[ -x /usr/libexec/tarnix/vrex.exe ] || fail "no engine programs"
"$(dirname "$0")/compile_installed.sh" /usr || fail "the installed tarnix did not compile the demo"
dpkg -r tarnix >/dev/null || fail "dpkg -r tarnix"
[ ! -e /usr/bin/tarnix ] && [ ! -e /usr/libexec/tarnix ] || fail "files left after dpkg -r"
echo "package $deb: installed, answered, removed"
