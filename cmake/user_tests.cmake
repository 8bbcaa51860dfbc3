# tarnix_add_user_test(<test program target> <gtest filter>)
#
# Runs the tests of read-only files and folders of a test program once more as an ordinary user
# when ctest runs as root: root passes every permission check, so those tests would otherwise
# never see what a user sees. Skipped where root cannot switch to another user, and not
# registered in a cross-build, whose programs run under Wine, or on Windows: neither has
# such users.
function(tarnix_add_user_test target filter)
  if(CMAKE_CROSSCOMPILING OR WIN32)
    return()
  endif()
  add_test(NAME ${target}_as_user
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/run-as-user $<TARGET_FILE:${target}> --gtest_filter=${filter})
  set_tests_properties(${target}_as_user PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 ${ARGN})
endfunction()
