# What makes the builds cheaper without changing what they test, applied
# once to every target after all folders are added, so that no folder's
# CMakeLists.txt needs to know of it.
#
# The test programs (everything made under tests/, and GoogleTest):
# - compile as one file per program (a unity build): each file parsed the
#   same headers and instantiated the same GoogleTest templates again;
# - at QM_TEST_OPTIMIZATION: their code waits on windows and Wine, and -O3
#   on GoogleTest's templates costs a third of their compile time for
#   nothing. NDEBUG and every other flag stay as the build type sets them;
#   the code under test keeps the build's own optimisation;
# - share one precompiled header of GoogleTest's, the standard library's
#   and (for Windows) the Windows headers. GCC 12 forgets, for code from a
#   precompiled header, that libstdc++ is a system header, and then reports
#   its known false -Warray-bounds and -Wstringop-overread on std::wstring
#   copies as the test's own (none of them in the test code itself): these
#   middle-end warnings are off for the test programs, never for the
#   product's code.
#
# The project's own code (gui/, skin/, app/, tools/, bench/):
# - in the Windows builds, shares one precompiled header of the Windows
#   headers alone, a third of each file's compile time. The standard
#   library's headers stay out of it, so that its warnings keep counting as
#   a system header's. Nothing of the project's is in it: every layer still
#   sees only the headers its include root shows it;
# - with QM_UNITY_OWN_CODE (the native and x86_64 presets, which build to
#   test), compiles as one file per library too. The product's build (i686)
#   compiles file by file, as it ships.
#
# -Winvalid-pch turns a precompiled header the compiler cannot use into a
# warning, so a change of flags that silently lost it fails the build
# instead of slowing it.

set(QM_TEST_OPTIMIZATION "-O1" CACHE STRING
    "Optimisation of the test programs' own code (empty: the build type's)")
option(QM_PCH "Precompiled headers for the test programs and the Windows builds' own code" ON)
option(QM_UNITY_OWN_CODE "The project's own libraries compile as one file each (not for the product's build)" OFF)

# Every target made in DIR and the folders below it.
function(qm_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    qm_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The targets of TARGETS that compile C++ code.
function(qm_compiled_only out)
  set(compiled "")
  foreach(target IN LISTS ARGN)
    if(TARGET ${target})
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        list(APPEND compiled ${target})
      endif()
    endif()
  endforeach()
  set(${out} ${compiled} PARENT_SCOPE)
endfunction()

# An object library that only makes the precompiled header of HEADERS.
function(qm_pch_target name)
  set(source ${CMAKE_BINARY_DIR}/${name}.cpp)
  if(NOT EXISTS ${source})
    file(WRITE ${source} "")
  endif()
  add_library(${name} OBJECT ${source})
  target_precompile_headers(${name} PRIVATE ${ARGN})
endfunction()

function(qm_speed_up_build)
  set(own "")
  foreach(dir gui ${QM_SKIN_LAYERS} app tools bench)
    if(EXISTS ${PROJECT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      qm_targets_below(${PROJECT_SOURCE_DIR}/${dir} below)
      list(APPEND own ${below})
    endif()
  endforeach()
  qm_compiled_only(own ${own})
  if(WIN32 AND QM_PCH)
    qm_pch_target(qm_windows_pch <windows.h> <commctrl.h>)
    foreach(target IN LISTS own)
      target_precompile_headers(${target} REUSE_FROM qm_windows_pch)
      target_compile_options(${target} PRIVATE -Winvalid-pch)
    endforeach()
  endif()
  if(QM_UNITY_OWN_CODE)
    set_target_properties(${own} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
  endif()

  qm_targets_below(${PROJECT_SOURCE_DIR}/tests tests)
  qm_compiled_only(tests ${tests})
  if(QM_PCH)
    set(headers <gtest/gtest.h> <string> <string_view> <vector> <memory>
        <functional> <map> <set> <algorithm> <optional> <sstream> <cstdint>)
    if(WIN32)
      list(PREPEND headers <windows.h> <commctrl.h>)
    endif()
    qm_pch_target(qm_test_pch ${headers})
    target_link_libraries(qm_test_pch PRIVATE GTest::gtest)
    if(QM_TEST_OPTIMIZATION)
      target_compile_options(qm_test_pch PRIVATE ${QM_TEST_OPTIMIZATION})
    endif()
  endif()
  foreach(target IN LISTS tests)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
    # A fixture in a file's unnamed namespace is that file's own; in a
    # unity source GCC takes the file for a header and warns of it.
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    # Only what is compiled with GoogleTest's flags can use its header.
    get_target_property(libs ${target} LINK_LIBRARIES)
    if(QM_PCH AND libs MATCHES "GTest::")
      target_precompile_headers(${target} REUSE_FROM qm_test_pch)
      target_compile_options(${target} PRIVATE -Winvalid-pch -Wno-array-bounds -Wno-stringop-overread
                             -Wno-stringop-overflow)
    endif()
  endforeach()
  if(QM_TEST_OPTIMIZATION)
    foreach(target IN LISTS tests gtest gtest_main)
      if(TARGET ${target})
        target_compile_options(${target} PRIVATE ${QM_TEST_OPTIMIZATION})
      endif()
    endforeach()
  endif()
endfunction()
