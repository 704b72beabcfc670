# qm_program_resources(TARGET DESCRIPTION text ASSEMBLY name ICON file.ico)
# Gives a Windows program its manifest (for the architecture it is built
# for), its version information and its icon, from cmake/program.rc.in.
#
# The manifest names the processor architecture of the common controls it
# binds to: a 64-bit program asking for the x86 assembly does not start on
# 64-bit Windows (a side-by-side error), though Wine runs it.

# The text of the About page's author line.
set(QM_AUTHOR "启明映像向导开发组")

function(qm_program_resources target)
  cmake_parse_arguments(A "" "DESCRIPTION;ASSEMBLY;ICON" "" ${ARGN})
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QM_MANIFEST_ARCH amd64)
  else()
    set(QM_MANIFEST_ARCH x86)
  endif()
  set(QM_ASSEMBLY_NAME ${A_ASSEMBLY})
  set(QM_FILE_DESCRIPTION ${A_DESCRIPTION})
  set(QM_INTERNAL_NAME ${target})
  set(QM_ICON_FILE ${A_ICON})
  set(QM_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)
  set(QM_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources)
  set(QM_MANIFEST_FILE ${dir}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.manifest.in ${QM_MANIFEST_FILE} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${dir}/${target}.rc @ONLY)
  # windres reports no dependencies: name them, so a new icon is linked in.
  set_source_files_properties(${dir}/${target}.rc PROPERTIES OBJECT_DEPENDS "${QM_MANIFEST_FILE};${A_ICON}")
  target_sources(${target} PRIVATE ${dir}/${target}.rc)
endfunction()
