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

# Under Wine, each test program takes one of QM_WINE_LANES lanes (a display
# and a prefix of its own, scripts/wine-env.sh), which CTest hands out when
# given wine-lanes.json as its resource file (scripts/test.sh does): up to N
# window tests then run side by side. Without that file CTest hands out
# none, and every program runs in lane 0.
set(QM_WINE_LANES 3 CACHE STRING "Lanes the Windows tests may run in side by side")
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(lanes "")
  foreach(i RANGE 1 ${QM_WINE_LANES})
    math(EXPR id "${i} - 1")
    list(APPEND lanes "{\"id\": \"${id}\", \"slots\": 1}")
  endforeach()
  list(JOIN lanes ", " lanes)
  file(WRITE ${CMAKE_BINARY_DIR}/wine-lanes.json
       "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"lanes\": [${lanes}]}]}\n")
endif()

# qm_wine_test(TEST...): the tests run a Windows program under Wine, in a lane.
function(qm_wine_test)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    set_tests_properties(${ARGN} PROPERTIES RESOURCE_GROUPS lanes:1)
  endif()
endfunction()

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
      qm_wine_test(${name}_dpi${dpi})
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
    qm_wine_test(${name}_stress)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  qm_wine_test(${name})
  if(A_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${A_LABELS}")
  endif()
endfunction()
