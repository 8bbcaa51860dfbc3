# Native tests that start Windows programs through Wine, as the POSIX half of the platform layer
# does for an engine program that is a Windows executable. They run in the Wine prefix of the
# Windows tests (cmake/wine.cmake), one Wine session at a time, and each waits for its Wine
# session to end, so that the next test that takes the prefix finds no server left over.
#
# Sets TARNIX_WINE_TESTS (whether they can run here), TARNIX_WINE_TEST_CC (the MinGW C compiler
# for test programs of the architecture the Windows tests run as) and TARNIX_WINDOWS_STANDIN.
include_guard(DIRECTORY)
include(${CMAKE_CURRENT_LIST_DIR}/wine.cmake)

find_program(TARNIX_WINESERVER NAMES wineserver)
if(TARNIX_WINE_ARCH STREQUAL "x86")
  find_program(TARNIX_WINE_TEST_CC NAMES i686-w64-mingw32-gcc)
else()
  find_program(TARNIX_WINE_TEST_CC NAMES x86_64-w64-mingw32-gcc)
endif()

# The Windows build of the stand-in engine program; by default the one the Windows cross-build
# (cmake/winport.cmake) puts into its program folder, when it is made.
set(TARNIX_WINDOWS_STANDIN "" CACHE FILEPATH "The Windows build of the stand-in engine program (empty: the Windows cross-build's)")
if(NOT TARNIX_WINDOWS_STANDIN AND TARNIX_WINPORT_BIN_DIR)
  set(TARNIX_WINDOWS_STANDIN ${TARNIX_WINPORT_BIN_DIR}/vrex.exe)
endif()

set(TARNIX_WINE_TESTS OFF)
if(NOT TARNIX_WINE_MISSING AND TARNIX_WINESERVER)
  set(TARNIX_WINE_TESTS ON)
endif()

# tarnix_add_wine_test(<name> <command> [<argument> ...])
function(tarnix_add_wine_test name)
  add_test(NAME ${name}
           COMMAND sh -c "\"$@\"; status=$?; '${TARNIX_WINESERVER}' -w; exit $status" sh ${ARGN})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${TARNIX_WINE_ENVIRONMENT}"
    TIMEOUT 300 ${TARNIX_WINE_TEST_PROPERTIES})
endfunction()
