# GoogleTest from Debian's sources, built with whichever compiler this tree
# uses, so the native and the MinGW builds test with the same framework.
include(CTest)
if(BUILD_TESTING AND NOT TARGET GTest::gtest_main)
  set(QM_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  # SYSTEM: a warning inside GoogleTest's headers is not the project's own.
  add_subdirectory(${QM_GTEST_SRC} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()

# qm_add_gtest(NAME SOURCES ... LIBS ... [LABELS ...] [STRESS pattern...]
#              [DPIS dpi...])
# One CTest test per executable; under the cross build CTest runs it in Wine.
# DPIS: instead, one test per display scale, NAME_dpiN, run in a Wine prefix
# of that scale (scripts/wine-exec reads QM_WINE_DPI).
# STRESS names the long leak loops (GoogleTest filter patterns): they run as
# a second test, NAME_stress, labelled "stress", so that a host which runs
# them on one architecture need not run them again on the other.
function(qm_add_gtest name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LABELS;STRESS;DPIS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest_main)
  if(A_DPIS)
    foreach(dpi IN LISTS A_DPIS)
      add_test(NAME ${name}_dpi${dpi} COMMAND ${name} --gtest_brief=1)
      set_tests_properties(${name}_dpi${dpi} PROPERTIES TIMEOUT 600 ENVIRONMENT QM_WINE_DPI=${dpi}
                           LABELS "dpi;${A_LABELS}")
    endforeach()
    return()
  endif()
  if(A_STRESS)
    list(JOIN A_STRESS ":" stress)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 --gtest_filter=-${stress})
    add_test(NAME ${name}_stress COMMAND ${name} --gtest_brief=1 --gtest_filter=${stress})
    # Wine's speed varies several times over on one machine; the loops have
    # taken from under three to over seven minutes.
    # A renamed loop would leave its pattern matching nothing: fail then
    # rather than pass having run no test.
    set_tests_properties(${name}_stress PROPERTIES TIMEOUT 1200 LABELS "stress;${A_LABELS}"
                         FAIL_REGULAR_EXPRESSION "\\[ *PASSED *\\] 0 tests")
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(A_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${A_LABELS}")
  endif()
endfunction()
