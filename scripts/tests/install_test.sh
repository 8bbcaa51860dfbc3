#!/usr/bin/env bash
# The install as a person who never saw the repository meets it: `cmake --install` into a
# temporary DESTDIR under /usr, the desktop entries and the AppStream metainfo validated, the
# prefix made read-only, and the installed tarnix started by an ordinary user with a new home
# (compile_installed.sh): it must make its per-user program folder and compile the demo there.
# Usage: install_test.sh BUILD
set -euo pipefail
build=$1

tmp=$(mktemp -d)
chmod 755 "$tmp"  # the user who runs the program reaches the prefix
fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
  chmod -R u+w "$tmp" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >/dev/null
prefix=$tmp/root/usr
for f in tarnix tarnix-tools; do [ -x "$prefix/bin/$f" ] || fail "no $f in bin"; done
for f in vrex.exe vrext.exe sh.exe; do [ -x "$prefix/libexec/tarnix/$f" ] || fail "no engine program $f"; done
[ -f "$prefix/share/tarnix/demo/Films.tnx" ] || fail "no demo project"
[ -f "$prefix/share/icons/hicolor/scalable/apps/tarnix.svg" ] || fail "no SVG icon"
[ -f "$prefix/share/icons/hicolor/48x48/apps/tarnix.png" ] || fail "no 48x48 icon"
desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop entries"
appstreamcli validate --no-net "$prefix"/share/metainfo/org.tarnix.Tarnix.metainfo.xml >/dev/null || fail "metainfo"
"$prefix/bin/tarnix" --version | grep -q '^tarnix ' || fail "tarnix --version"
chmod -R a-w "$prefix"

"$(dirname "$0")/compile_installed.sh" "$prefix"
