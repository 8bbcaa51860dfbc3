# Tests that start Windows programs through Wine from native code. They use the Wine prefix of
# the Windows library tests (cmake/winlibs.cmake; where those are not built, Wine creates the
# prefix at the first start), one Wine session at a time, and each waits for its Wine session
# to end, so that the next test that takes the prefix finds no server left over.
include_guard(GLOBAL)

find_program(TARNIX_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TARNIX_WINE64 NAMES wine64)
find_program(TARNIX_WINESERVER NAMES wineserver)
find_program(TARNIX_MINGW_X64 NAMES x86_64-w64-mingw32-gcc)
set(TARNIX_WINDOWS_STANDIN "" CACHE FILEPATH
    "The Windows build of the stand-in engine program, for the tests and benchmark that start it through Wine")
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/winlibs)  # Wine makes the prefix, not the folders above it

# tarnix_add_wine_test(<name> <command> [<argument> ...])
function(tarnix_add_wine_test name)
  add_test(NAME ${name}
           COMMAND sh -c "\"$@\"; status=$?; '${TARNIX_WINESERVER}' -w; exit $status" sh ${ARGN})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/winlibs/wineprefix-win64;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml="
    FIXTURES_REQUIRED winlibs_wine RESOURCE_LOCK winlibs_wine TIMEOUT 300)
endfunction()
