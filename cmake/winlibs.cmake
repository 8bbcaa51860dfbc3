# The two Windows libraries, winbridge and dlgbridge: cross-built as 32-bit DLLs with MinGW-w64
# (an inner CMake project, built on every build of this one), installed under
# <prefix>/i686-w64-mingw32, and tested by Windows test programs run under Wine on Xvfb.
#
# The test programs run as 32-bit programs where this machine can execute 32-bit code. Where it
# cannot (kernels without 32-bit support), the same sources are also built for x86-64 and the test
# programs run as 64-bit programs under 64-bit Wine; they still read the export table, resources
# and imports of the 32-bit DLLs that are delivered. TARNIX_WINE_TEST_ARCH chooses by hand.
include(ExternalProject)

set(TARNIX_WINE_TEST_ARCH auto CACHE STRING "Run the Windows tests as 32-bit (x86) or 64-bit (x64) programs, or auto")
set_property(CACHE TARNIX_WINE_TEST_ARCH PROPERTY STRINGS auto x86 x64)

set(_winlibs_root ${CMAKE_CURRENT_LIST_DIR}/..)
set(_winlibs_dir ${CMAKE_BINARY_DIR}/winlibs)

# One inner project builds both libraries, their test programs and examples.
file(CONFIGURE OUTPUT ${_winlibs_dir}/project/CMakeLists.txt @ONLY CONTENT [[
cmake_minimum_required(VERSION 3.20)
project(tarnix_windows_libraries C CXX)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_subdirectory(@_winlibs_root@/winbridge winbridge)
add_subdirectory(@_winlibs_root@/dlgbridge dlgbridge)
]])

function(_winlibs_build name)
  ExternalProject_Add(${name}
    SOURCE_DIR ${_winlibs_dir}/project
    BINARY_DIR ${_winlibs_dir}/${name}
    INSTALL_DIR ${_winlibs_dir}/${name}-install
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DTARNIX_WERROR=${TARNIX_WERROR}
               -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR> ${ARGN}
    BUILD_ALWAYS ON)
endfunction()

# Wine's loaders as Debian lays them out (/usr/lib/wine), or as other systems name them.
find_program(TARNIX_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TARNIX_WINE32 NAMES wine)
find_program(TARNIX_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TARNIX_WINE64 NAMES wine64)
find_program(TARNIX_XVFB_RUN NAMES xvfb-run)
find_program(TARNIX_MINGW_I686 NAMES i686-w64-mingw32-gcc)
find_program(TARNIX_MINGW_X64 NAMES x86_64-w64-mingw32-gcc)

set(_winlibs_arch ${TARNIX_WINE_TEST_ARCH})
if(_winlibs_arch STREQUAL "auto")
  set(_winlibs_arch x64)
  if(TARNIX_WINE32)
    execute_process(COMMAND ${TARNIX_WINE32} --version RESULT_VARIABLE _wine32_result
                    OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
    if(_wine32_result EQUAL 0)
      set(_winlibs_arch x86)
    endif()
  endif()
endif()

set(_winlibs_missing)
foreach(_tool TARNIX_MINGW_I686 TARNIX_XVFB_RUN)
  if(NOT ${_tool})
    list(APPEND _winlibs_missing ${_tool})
  endif()
endforeach()
if(_winlibs_arch STREQUAL "x86")
  set(_winlibs_wine ${TARNIX_WINE32})
  set(_winlibs_winearch win32)
  set(_winlibs_tests winlibs_i686)
  if(NOT TARNIX_WINE32)
    list(APPEND _winlibs_missing TARNIX_WINE32)
  endif()
else()
  message(STATUS "Windows libraries: this machine cannot run 32-bit programs under Wine; "
                 "their tests run as 64-bit programs")
  set(_winlibs_wine ${TARNIX_WINE64})
  set(_winlibs_winearch win64)
  set(_winlibs_tests winlibs_x64)
  foreach(_tool TARNIX_WINE64 TARNIX_MINGW_X64)
    if(NOT ${_tool})
      list(APPEND _winlibs_missing ${_tool})
    endif()
  endforeach()
endif()

if(_winlibs_missing)
  # The rest of the build goes on; one failing test says what is missing.
  string(REPLACE ";" ", " _winlibs_missing "${_winlibs_missing}")
  message(WARNING "Windows libraries not built, missing: ${_winlibs_missing} (scripts/install-deps)")
  add_test(NAME winlibs.prerequisites
           COMMAND sh -c "echo 'missing: ${_winlibs_missing}; run scripts/install-deps'; exit 1")
  return()
endif()

# The delivered 32-bit DLLs, their headers and import libraries.
_winlibs_build(winlibs_i686 --toolchain ${_winlibs_root}/cmake/mingw-i686.cmake)
install(DIRECTORY ${_winlibs_dir}/winlibs_i686-install/ DESTINATION i686-w64-mingw32)
set(_winlibs_dlls ${_winlibs_dir}/winlibs_i686/bin)

if(_winlibs_tests STREQUAL "winlibs_x64")
  set(_mingw_x64 x86_64-w64-mingw32)
  _winlibs_build(winlibs_x64
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=AMD64
    -DCMAKE_C_COMPILER=${_mingw_x64}-gcc -DCMAKE_CXX_COMPILER=${_mingw_x64}-g++
    -DCMAKE_RC_COMPILER=${_mingw_x64}-windres)
endif()

# Wine runs on a private Xvfb display with a prefix of its own inside the build folder. Windows are
# not handed to a window manager: without one, Wine would wait for it on every window it maps.
set(_winlibs_prefix ${_winlibs_dir}/wineprefix-${_winlibs_winearch})
set(_winlibs_env "export WINEPREFIX='${_winlibs_prefix}' WINEARCH=${_winlibs_winearch} WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='")
set(_winlibs_xvfb "'${TARNIX_XVFB_RUN}' -a -s '-screen 0 1024x768x24'")
file(CONFIGURE OUTPUT ${_winlibs_dir}/wine-prefix.sh @ONLY CONTENT [[
#!/bin/sh
# Creates the Wine prefix of the tests once; later runs find it ready.
@_winlibs_env@
[ -f "$WINEPREFIX/.ready" ] && exit 0
rm -rf "$WINEPREFIX"
timeout -k 10 540 @_winlibs_xvfb@ sh -c '
  "$0" wineboot -i &&
  "$0" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null &&
  wineserver -w' '@_winlibs_wine@' || exit 1
touch "$WINEPREFIX/.ready"
echo "Wine prefix ready: $WINEPREFIX"
]])
file(CONFIGURE OUTPUT ${_winlibs_dir}/wine-run.sh @ONLY CONTENT [[
#!/bin/sh
# Runs one Windows program under Wine on its own Xvfb display and waits for the Wine session to end
# before the display goes. The exit status is the program's.
@_winlibs_env@
exec timeout -k 10 170 @_winlibs_xvfb@ sh -c '"$0" "$@"; status=$?; wineserver -w; exit $status' '@_winlibs_wine@' "$@"
]])

add_test(NAME winlibs.wineprefix COMMAND sh ${_winlibs_dir}/wine-prefix.sh)
set_tests_properties(winlibs.wineprefix PROPERTIES
  FIXTURES_SETUP winlibs_wine RESOURCE_LOCK winlibs_wine TIMEOUT 600)
foreach(_library winbridge dlgbridge)
  add_test(NAME ${_library}
           COMMAND sh ${_winlibs_dir}/wine-run.sh
                   ${_winlibs_dir}/${_winlibs_tests}/bin/${_library}_tests.exe
                   --dll-file=${_winlibs_dlls}/${_library}.dll)
  # One Wine session at a time: they share the prefix.
  set_tests_properties(${_library} PROPERTIES
    FIXTURES_REQUIRED winlibs_wine RESOURCE_LOCK winlibs_wine TIMEOUT 180)
endforeach()
