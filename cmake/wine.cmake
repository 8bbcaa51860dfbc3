# Wine for the Windows tests: which loader runs them, a private prefix inside the build folder,
# and the two scripts every Windows test goes through (cmake/winlibs.cmake, cmake/winport.cmake).
#
# The test programs run as 32-bit programs where this machine can execute 32-bit code. Where it
# cannot (kernels without 32-bit support), they are 64-bit builds of the same sources, run under
# 64-bit Wine. TARNIX_WINE_TEST_ARCH chooses by hand.
#
# Sets TARNIX_WINE_ARCH (x86 or x64), TARNIX_WINE_MISSING (what this machine lacks for it),
# TARNIX_WINE_RUN (the script that runs one Windows program), TARNIX_WINE_PREFIX (the tests' Wine
# prefix), TARNIX_WINE_ENVIRONMENT (the variables every Wine run of the tests gets: that prefix,
# no diagnostics, no Mono or Gecko prompts) and TARNIX_WINE_TEST_PROPERTIES (the properties of a
# test that runs under Wine: the prefix set up first, one session at a time).
include_guard(GLOBAL)

set(TARNIX_WINE_TEST_ARCH auto CACHE STRING "Run the Windows tests as 32-bit (x86) or 64-bit (x64) programs, or auto")
set_property(CACHE TARNIX_WINE_TEST_ARCH PROPERTY STRINGS auto x86 x64)

# Wine's loaders as Debian lays them out (/usr/lib/wine), or as other systems name them.
find_program(TARNIX_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TARNIX_WINE32 NAMES wine)
find_program(TARNIX_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TARNIX_WINE64 NAMES wine64)
find_program(TARNIX_XVFB_RUN NAMES xvfb-run)

set(TARNIX_WINE_ARCH ${TARNIX_WINE_TEST_ARCH})
if(TARNIX_WINE_ARCH STREQUAL "auto")
  set(TARNIX_WINE_ARCH x64)
  if(TARNIX_WINE32)
    execute_process(COMMAND ${TARNIX_WINE32} --version RESULT_VARIABLE _wine32_result
                    OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
    if(_wine32_result EQUAL 0)
      set(TARNIX_WINE_ARCH x86)
    endif()
  endif()
endif()

if(TARNIX_WINE_ARCH STREQUAL "x86")
  set(_wine_loader TARNIX_WINE32)
  set(_wine_winearch win32)
else()
  message(STATUS "Windows tests: this machine cannot run 32-bit programs under Wine; "
                 "they run as 64-bit programs")
  set(_wine_loader TARNIX_WINE64)
  set(_wine_winearch win64)
endif()
set(_wine ${${_wine_loader}})
set(TARNIX_WINE_MISSING)
foreach(_tool TARNIX_XVFB_RUN ${_wine_loader})
  if(NOT ${_tool})
    list(APPEND TARNIX_WINE_MISSING ${_tool})
  endif()
endforeach()

# tarnix_windows_missing(<test name prefix> <what> <missing>...)
#
# For a Windows part that this machine lacks tools for: warns, and adds the test
# <prefix>.prerequisites, which fails naming them; the rest of the build goes on.
function(tarnix_windows_missing prefix what)
  string(REPLACE ";" ", " missing "${ARGN}")
  message(WARNING "${what} not built, missing: ${missing} (scripts/install-deps)")
  add_test(NAME ${prefix}.prerequisites COMMAND sh -c "echo 'missing: ${missing}; run scripts/install-deps'; exit 1")
endfunction()

set(_wine_dir ${CMAKE_BINARY_DIR}/wine)
set(TARNIX_WINE_RUN ${_wine_dir}/wine-run.sh)
set(TARNIX_WINE_PREFIX ${_wine_dir}/prefix-${_wine_winearch})
set(TARNIX_WINE_ENVIRONMENT WINEPREFIX=${TARNIX_WINE_PREFIX} WINEARCH=${_wine_winearch} WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml=")
set(TARNIX_WINE_TEST_PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine)
if(TARNIX_WINE_MISSING)
  return()
endif()

# Wine runs on a private Xvfb display with a prefix of its own inside the build folder. Windows are
# not handed to a window manager: without one, Wine would wait for it on every window it maps.
set(_wine_env "export")
foreach(_variable IN LISTS TARNIX_WINE_ENVIRONMENT)
  string(APPEND _wine_env " '${_variable}'")
endforeach()
set(_wine_xvfb "'${TARNIX_XVFB_RUN}' -a -s '-screen 0 1024x768x24'")
file(CONFIGURE OUTPUT ${_wine_dir}/wine-prefix.sh @ONLY CONTENT [[
#!/bin/sh
# Creates the Wine prefix of the tests once; later runs find it ready.
@_wine_env@
[ -f "$WINEPREFIX/.ready" ] && exit 0
rm -rf "$WINEPREFIX"
timeout -k 10 540 @_wine_xvfb@ sh -c '
  "$0" wineboot -i &&
  "$0" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null &&
  wineserver -w' '@_wine@' || exit 1
touch "$WINEPREFIX/.ready"
echo "Wine prefix ready: $WINEPREFIX"
]])
file(CONFIGURE OUTPUT ${TARNIX_WINE_RUN} @ONLY CONTENT [[
#!/bin/sh
# Runs one Windows program under Wine on its own Xvfb display and waits for the Wine session to end
# before the display goes. The exit status is the program's.
@_wine_env@
exec timeout -k 10 170 @_wine_xvfb@ sh -c '"$0" "$@"; status=$?; wineserver -w; exit $status' '@_wine@' "$@"
]])
file(CHMOD ${_wine_dir}/wine-prefix.sh ${TARNIX_WINE_RUN}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

add_test(NAME wine.prefix COMMAND ${_wine_dir}/wine-prefix.sh)
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine TIMEOUT 600)
