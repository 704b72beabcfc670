# The source folders are layers: gui/ at the bottom, the skin engine's
# folders above it in the order their numbers give, app/ above those and
# tools/ on top. A library of a layer compiles against an include root of
# its own in the build tree that holds links to exactly the folders it may
# see: its own and the ones below. An #include that reaches up names a file
# that is not there, and the build stops at it.
#
# qm_layer(TARGET SEES folder...)   folders relative to the project's top
function(qm_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 L "" "" "SEES")
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  foreach(dir IN LISTS L_SEES)
    if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${dir})
      message(FATAL_ERROR "qm_layer(${target}): no folder ${dir}")
    endif()
    get_filename_component(parent ${root}/${dir} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${root}/${dir})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${root}/${dir} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# The skin engine's layers, bottom to top.
set(QM_SKIN_LAYERS skin/1_data skin/2_paint skin/3_controls skin/4_form skin/5_manage)

# qm_skin_layer(TARGET LAYER): a library of skin/LAYER, which sees the GUI
# layer and the skin layers up to its own.
function(qm_skin_layer target layer)
  set(sees gui)
  foreach(dir IN LISTS QM_SKIN_LAYERS)
    list(APPEND sees ${dir})
    if(dir STREQUAL "skin/${layer}")
      qm_layer(${target} SEES ${sees})
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "qm_skin_layer(${target}): no skin layer ${layer}")
endfunction()
