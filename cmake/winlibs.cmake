# The two Windows libraries, winbridge and dlgbridge: cross-built as 32-bit DLLs with MinGW-w64
# (an inner CMake project, built on every build of this one), installed under
# <prefix>/i686-w64-mingw32, and tested by Windows test programs run under Wine on Xvfb.
#
# The test programs run under Wine as cmake/wine.cmake chooses: as 32-bit programs where this
# machine can execute 32-bit code, otherwise as 64-bit builds of the same sources, which still read
# the export table, resources and imports of the 32-bit DLLs that are delivered.
include(ExternalProject)
include(${CMAKE_CURRENT_LIST_DIR}/wine.cmake)

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
    # Into <INSTALL_DIR> itself even when the outer install or cpack runs with DESTDIR set.
    INSTALL_COMMAND ${CMAKE_COMMAND} -E env --unset=DESTDIR ${CMAKE_COMMAND} --install <BINARY_DIR>
    BUILD_ALWAYS ON)
endfunction()

find_program(TARNIX_MINGW_I686 NAMES i686-w64-mingw32-gcc)
find_program(TARNIX_MINGW_X64 NAMES x86_64-w64-mingw32-gcc)

set(_winlibs_missing ${TARNIX_WINE_MISSING})
if(NOT TARNIX_MINGW_I686)
  list(APPEND _winlibs_missing TARNIX_MINGW_I686)
endif()
if(TARNIX_WINE_ARCH STREQUAL "x86")
  set(_winlibs_tests winlibs_i686)
else()
  set(_winlibs_tests winlibs_x64)
  if(NOT TARNIX_MINGW_X64)
    list(APPEND _winlibs_missing TARNIX_MINGW_X64)
  endif()
endif()

if(_winlibs_missing)
  tarnix_windows_missing(winlibs "Windows libraries" ${_winlibs_missing})
  return()
endif()

# The delivered 32-bit DLLs, their headers and import libraries.
_winlibs_build(winlibs_i686 --toolchain ${_winlibs_root}/cmake/mingw-i686.cmake)
# Installed with the workbench under its own data folder, not into a MinGW tree of the system.
include(GNUInstallDirs)
install(DIRECTORY ${_winlibs_dir}/winlibs_i686-install/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tarnix/windows-sdk)
set(_winlibs_dlls ${_winlibs_dir}/winlibs_i686/bin)

if(_winlibs_tests STREQUAL "winlibs_x64")
  _winlibs_build(winlibs_x64 --toolchain ${_winlibs_root}/cmake/mingw.cmake -DMINGW_TRIPLE=x86_64-w64-mingw32)
endif()

foreach(_library winbridge dlgbridge)
  add_test(NAME ${_library}
           COMMAND ${TARNIX_WINE_RUN} ${_winlibs_dir}/${_winlibs_tests}/bin/${_library}_tests.exe
                   --dll-file=${_winlibs_dlls}/${_library}.dll)
  set_tests_properties(${_library} PROPERTIES ${TARNIX_WINE_TEST_PROPERTIES} TIMEOUT 180)
endforeach()
