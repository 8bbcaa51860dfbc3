# How the test programs are registered with CTest, natively and in the Windows cross-build
# (cmake/winport.cmake), where every test program runs under Wine.
include_guard(GLOBAL)
include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/user_tests.cmake)

# Prefix of the test names in this build ("win." in the Windows cross-build).
set(TARNIX_TEST_PREFIX "" CACHE STRING "Prefix of the names of this build's tests")
# Properties of every test of the Windows cross-build (the Wine prefix and its lock).
set(TARNIX_TEST_PROPERTIES "" CACHE STRING "Properties given to every test program of a cross-build")

# tarnix_add_gtest(<target> [TIMEOUT <seconds>] [DISCOVERY_TIMEOUT <seconds>])
#
# Registers a GoogleTest program: natively one CTest test per test case (gtest_discover_tests);
# cross-compiled, one test for the whole program, run by CMAKE_CROSSCOMPILING_EMULATOR (Wine,
# whose start costs seconds, would otherwise start once per case and once more to list them).
function(tarnix_add_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT;DISCOVERY_TIMEOUT" "")
  if(CMAKE_CROSSCOMPILING)
    set(name ${TARNIX_TEST_PREFIX}${target})
    add_test(NAME ${name} COMMAND ${target})
    set_tests_properties(${name} PROPERTIES TIMEOUT 180 ${TARNIX_TEST_PROPERTIES})
    return()
  endif()
  set(options)
  if(arg_DISCOVERY_TIMEOUT)
    list(APPEND options DISCOVERY_TIMEOUT ${arg_DISCOVERY_TIMEOUT})
  endif()
  if(arg_TIMEOUT)
    list(APPEND options PROPERTIES TIMEOUT ${arg_TIMEOUT})
  endif()
  gtest_discover_tests(${target} ${options})
endfunction()

# tarnix_runtime_path(<variable> <path>)
#
# `path` as the test programs of this build name it at run time: a cross-built Windows program
# under Wine sees the host's file system as drive Z:.
function(tarnix_runtime_path variable path)
  if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_NAME STREQUAL "Windows")
    set(path "Z:${path}")
  endif()
  set(${variable} "${path}" PARENT_SCOPE)
endfunction()
