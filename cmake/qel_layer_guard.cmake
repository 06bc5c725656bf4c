# qel_layer_guard(TARGET target ROOT dir ABOVE paths...)
# Makes an include of a header of a layer above target fail to compile in target's own sources.
# All layers share one include root (ROOT), so target would find those headers there; instead it
# searches first a guard root of its own, generated in the build tree, which holds for every
# header below the ABOVE paths (folders or headers, from ROOT) a header of the same path with
# nothing but an #error that names it. The guard is private to target; a header check reaches it
# through the target property QEL_LAYER_GUARD. It is written anew at each configure, and the
# folders are globbed then, so that a header added above is guarded as soon as it exists.
function(qel_layer_guard)
  cmake_parse_arguments(ARG "" "TARGET;ROOT" "ABOVE" ${ARGN})
  set(guard ${CMAKE_BINARY_DIR}/layer_guard/${ARG_TARGET})
  file(REMOVE_RECURSE ${guard})
  set(headers)
  foreach(path IN LISTS ARG_ABOVE)
    if(IS_DIRECTORY ${ARG_ROOT}/${path})
      file(GLOB_RECURSE found RELATIVE ${ARG_ROOT} CONFIGURE_DEPENDS ${ARG_ROOT}/${path}/*.hpp)
      list(APPEND headers ${found})
    elseif(EXISTS ${ARG_ROOT}/${path})
      list(APPEND headers ${path})
    else()
      message(FATAL_ERROR "qel_layer_guard: ${ARG_ROOT}/${path} does not exist")
    endif()
  endforeach()
  foreach(header IN LISTS headers)
    file(WRITE ${guard}/${header}
         "#error \"${header} belongs to a layer above ${ARG_TARGET}, which may not include it\"\n")
  endforeach()
  target_include_directories(${ARG_TARGET} BEFORE PRIVATE ${guard})
  set_target_properties(${ARG_TARGET} PROPERTIES QEL_LAYER_GUARD ${guard})
endfunction()
