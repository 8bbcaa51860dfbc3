# Everything below the windows on Windows: the platform layer, the shared unit and the stand-in
# engine program, cross-built with MinGW-w64 from this very source tree (TARNIX_WITHOUT_QT, an
# inner CMake project built on every build of this one).
#
# - i686, the delivered architecture: the libraries and the stand-in, no tests; it shows that
#   they build.
# - The architecture cmake/wine.cmake runs tests as (x64 where this machine cannot run 32-bit
#   programs): the same with every test program and the Windows benchmark. The inner project
#   registers one test per test program, named "win.<program>", run through Wine; this build's
#   CTest runs them with its own tests.
#
# Both use the compilers with POSIX threads (std::thread, std::mutex) and link statically, so
# no MinGW DLL is needed at run time.
include(ExternalProject)
include(${CMAKE_CURRENT_LIST_DIR}/wine.cmake)

set(_winport_dir ${CMAKE_BINARY_DIR}/winport)

set(_winport_missing ${TARNIX_WINE_MISSING})
foreach(_compiler i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix)
  string(MAKE_C_IDENTIFIER "TARNIX_${_compiler}" _var)
  find_program(${_var} NAMES ${_compiler})
  if(NOT ${_var})
    list(APPEND _winport_missing ${_compiler})
  endif()
endforeach()
if(NOT EXISTS /usr/src/googletest/googletest/CMakeLists.txt)
  list(APPEND _winport_missing /usr/src/googletest)
endif()
if(_winport_missing)
  tarnix_windows_missing(win "Windows build of the platform layer" ${_winport_missing})
  return()
endif()

# The inner builds compile through the same launcher (ccache) as this one.
set(_winport_launchers)
foreach(_lang C CXX)
  if(CMAKE_${_lang}_COMPILER_LAUNCHER)
    list(APPEND _winport_launchers "-DCMAKE_${_lang}_COMPILER_LAUNCHER:STRING=${CMAKE_${_lang}_COMPILER_LAUNCHER}")
  endif()
endforeach()

# _winport_build(<name> <MinGW triple> <cache arguments>...)
# MinGW's GCC 12 warns falsely of overlapping copies in inlined string concatenations
# (-Wrestrict, GCC bug 105329): that warning is off there.
function(_winport_build name triple)
  ExternalProject_Add(${name}
    SOURCE_DIR ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/..
    BINARY_DIR ${_winport_dir}/${name}
    CMAKE_ARGS --toolchain ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/mingw.cmake
    CMAKE_CACHE_ARGS -DMINGW_TRIPLE:STRING=${triple} -DMINGW_THREADS:STRING=posix
                     -DCMAKE_BUILD_TYPE:STRING=Release -DCMAKE_EXE_LINKER_FLAGS:STRING=-static
                     -DCMAKE_CXX_FLAGS:STRING=-Wno-restrict
                     -DTARNIX_WINDOWS_LIBS:BOOL=OFF -DTARNIX_WINDOWS_PORT:BOOL=OFF
                     -DTARNIX_WERROR:BOOL=${TARNIX_WERROR} ${_winport_launchers} ${ARGN}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
endfunction()

set(_winport_under_wine
  -DCMAKE_CROSSCOMPILING_EMULATOR:FILEPATH=${TARNIX_WINE_RUN}
  -DTARNIX_TEST_PREFIX:STRING=win.
  "-DTARNIX_TEST_PROPERTIES:STRING=${TARNIX_WINE_TEST_PROPERTIES}")
set(_winport_tested -DBUILD_TESTING:BOOL=ON ${_winport_under_wine})
# TARNIX_WINPORT_TESTED names the target of the build that runs here, TARNIX_WINPORT_BIN_DIR its
# program folder with the stand-in under the engine programs' names.
if(TARNIX_WINE_ARCH STREQUAL "x86")
  set(TARNIX_WINPORT_TESTED winport_i686)
  _winport_build(winport_i686 i686-w64-mingw32 -DTARNIX_WITHOUT_QT:BOOL=ON ${_winport_tested})
else()
  set(TARNIX_WINPORT_TESTED winport_x64)
  _winport_build(winport_i686 i686-w64-mingw32 -DTARNIX_WITHOUT_QT:BOOL=ON -DBUILD_TESTING:BOOL=OFF)
  _winport_build(winport_x64 x86_64-w64-mingw32 -DTARNIX_WITHOUT_QT:BOOL=ON ${_winport_tested})
endif()
set(_winport_tests ${_winport_dir}/${TARNIX_WINPORT_TESTED})
set(TARNIX_WINPORT_BIN_DIR ${_winport_tests}/bin)

# This build's CTest runs the tests the tested inner build registers.
file(WRITE ${CMAKE_BINARY_DIR}/winport_tests.cmake "subdirs(\"${_winport_tests}\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/winport_tests.cmake)

# The windows themselves for Windows: tarnix.exe and tarnix-tools.exe for x86-64 with the Win32
# half of the platform layer and the stand-in, against a static Qt built for Windows by
# scripts/build-qt-windows into a cache outside the tree (./test.sh makes it first in CI); the
# test of the windows runs under Wine where the tests run as 64-bit programs. Without that Qt the
# rest of the build goes on.
set(TARNIX_QT_WINDOWS_PREFIX "" CACHE PATH
    "Qt for x86-64 Windows, static; empty: the cache scripts/build-qt-windows makes, once complete")
set(_winport_qt ${TARNIX_QT_WINDOWS_PREFIX})
if(NOT _winport_qt)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-qt-windows --print-prefix
                  OUTPUT_VARIABLE _winport_qt_cache OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE _winport_qt_result ERROR_QUIET)
  if(_winport_qt_result EQUAL 0)
    set(_winport_qt ${_winport_qt_cache})
  endif()
endif()
if(NOT _winport_qt)
  message(STATUS "Windows build of the workbench: no Qt for Windows yet (scripts/build-qt-windows makes it)")
  return()
endif()
# The Windows Qt runs the host's moc, rcc and uic: those of the Qt installed here.
find_package(Qt6 REQUIRED COMPONENTS Core)
cmake_path(GET Qt6_DIR PARENT_PATH _winport_qt_host_cmake)
set(_winport_gui_tests OFF)
if(TARNIX_WINE_ARCH STREQUAL "x64")
  set(_winport_gui_tests ON)
else()
  message(STATUS "Windows build of the workbench: its test runs only with 64-bit Wine tests (TARNIX_WINE_TEST_ARCH=x64)")
endif()
_winport_build(winport_gui x86_64-w64-mingw32 -DTARNIX_QT_WINDOWS_PREFIX:PATH=${_winport_qt}
  -DQT_HOST_PATH:PATH=${QT6_INSTALL_PREFIX} -DQT_HOST_PATH_CMAKE_DIR:PATH=${_winport_qt_host_cmake}
  -DTARNIX_WINDOWS_GUI_TESTS:BOOL=${_winport_gui_tests} ${_winport_under_wine})
# The program folder of the Windows workbench: tarnix.exe, tarnix-tools.exe and the stand-in
# under the engine programs' names.
set(TARNIX_WINPORT_GUI_BIN_DIR ${_winport_dir}/winport_gui/bin)
if(_winport_gui_tests)
  file(APPEND ${CMAKE_BINARY_DIR}/winport_tests.cmake "subdirs(\"${_winport_dir}/winport_gui\")\n")
endif()
# The Windows package (scripts/package-windows), unpacked into a new Wine prefix and started.
if(TARNIX_WINDOWS_LIBS AND TARNIX_WINE64)
  add_test(NAME win.package COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/tests/windows_package_test.sh
                                         ${CMAKE_BINARY_DIR} ${TARNIX_WINE64})
  set_tests_properties(win.package PROPERTIES TIMEOUT 300)
endif()
