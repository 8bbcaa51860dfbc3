#!/bin/sh
# Takes the pictures of the two libraries' READMEs: runs an example program under Wine on a private
# Xvfb display, photographs the screen and crops it.
#   winbridge/docs/screenshot.sh BUILD_DIR
# BUILD_DIR is a top-level build folder after `cmake --build` and one `ctest` run (for the prefix).
set -e
build=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(ls -d "$build"/winlibs/winlibs_*/bin | tail -1)
export WINEPREFIX=$(ls -d "$build"/wine/prefix-* | tail -1) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v /usr/lib/wine/wine64 /usr/lib/wine/wine wine | head -1)
# Wine draws the caption buttons with Marlett; Debian's Wine does not look in its own font folder
# for it, so the prefix gets a copy.
[ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

shoot() { # program output crop
    xvfb-run -a -s "-screen 0 800x600x24" sh -c '
        cd "$(dirname "$0")"; "$2" "$0" & sleep 4; import -window root "$1"; wineserver -k; wineserver -w
    ' "$bin/$1" "$2" "$wine" || true
    convert "$2" -crop "$3" +repage "$2"
}
shoot winbridge_demo.exe "$here/winbridge/docs/winbridge.png" 440x340+30+30
shoot dlgbridge_demo.exe "$here/dlgbridge/docs/dlgbridge.png" 440x280+100+70
