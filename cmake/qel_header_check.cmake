# qel_add_header_check(NAME target ROOT include_dir DIR sub_dir DEPS targets...)
# Compiles one generated translation unit per header below ROOT/DIR that includes only that
# header (by its path from ROOT),
# so every header is shown to compile on its own.
function(qel_add_header_check)
  cmake_parse_arguments(ARG "" "NAME;ROOT;DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE headers RELATIVE ${ARG_ROOT} CONFIGURE_DEPENDS ${ARG_ROOT}/${ARG_DIR}/*.hpp)
  set(sources)
  foreach(header IN LISTS headers)
    string(MAKE_C_IDENTIFIER ${header} stem)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}/${stem}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
    list(APPEND sources ${source})
  endforeach()
  add_library(${ARG_NAME} OBJECT ${sources})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} qel_warnings)
endfunction()
