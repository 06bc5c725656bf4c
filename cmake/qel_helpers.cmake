# Build helpers shared by every layer.

# Warnings for our own targets only; never applied to third-party code.
add_library(qel_warnings INTERFACE)
target_compile_options(qel_warnings INTERFACE
  -Wall -Wextra -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-qual -Wundef -Wvla
  -Wimplicit-fallthrough
  $<$<COMPILE_LANGUAGE:CXX>:-Wmissing-declarations>)
if(QEL_WERROR)
  target_compile_options(qel_warnings INTERFACE -Werror)
endif()

# qel_add_test(NAME name SOURCES files... [DEPS targets...])
# One test executable per source folder, discovered test by test by CTest.
function(qel_add_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} GTest::gmock_main qel_warnings)
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60)
endfunction()

# qel_add_bench(NAME name SOURCES files... [DEPS targets...])
function(qel_add_bench)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} benchmark::benchmark_main qel_warnings)
endfunction()

# qel_add_fuzzer(NAME name SOURCES files... [DEPS targets...])
# A libFuzzer target: the instrumented code plus libFuzzer's driver (QEL_FUZZ builds only).
function(qel_add_fuzzer)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_options(${ARG_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} qel_warnings)
endfunction()
