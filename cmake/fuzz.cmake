# Fuzz targets (libFuzzer) and benchmarks, built with clang. clang has no -fexec-charset, so
# literals stay UTF-8 in these builds; the code under test treats every text as plain bytes.
set(BOTENRUF_DIRECTORY_SOURCES ${PROJECT_SOURCE_DIR}/src/text/text.cpp
    ${PROJECT_SOURCE_DIR}/src/text/collation.cpp)
file(GLOB BOTENRUF_DIRECTORY_PORTABLE CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/directory/*.cpp)
list(APPEND BOTENRUF_DIRECTORY_SOURCES ${BOTENRUF_DIRECTORY_PORTABLE})

# The sources are built into each target, so that the code under test carries the fuzzer's
# coverage instrumentation and the sanitizers (botenruf_core is built without them).
function(botenruf_fuzz_target name)
  add_executable(${name} ${PROJECT_SOURCE_DIR}/tests/fuzz/${name}.cpp ${ARGN})
  target_link_libraries(${name} PRIVATE botenruf_options)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined
                                         -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()

botenruf_fuzz_target(list_file_fuzz ${BOTENRUF_DIRECTORY_SOURCES})

set(BOTENRUF_NETINFO_SOURCES ${PROJECT_SOURCE_DIR}/src/text/text.cpp ${PROJECT_SOURCE_DIR}/src/text/collation.cpp
    ${PROJECT_SOURCE_DIR}/src/netinfo/net_output.cpp ${PROJECT_SOURCE_DIR}/src/netinfo/station_info.cpp
    ${PROJECT_SOURCE_DIR}/src/netinfo/net_query.cpp ${PROJECT_SOURCE_DIR}/src/dispatch/command_runner.cpp
    ${PROJECT_SOURCE_DIR}/src/dispatch/send_workers.cpp ${PROJECT_SOURCE_DIR}/src/dispatch/message_composer.cpp
    ${PROJECT_SOURCE_DIR}/src/dispatch/delivery.cpp ${PROJECT_SOURCE_DIR}/src/dispatch/msg_send.cpp
    ${PROJECT_SOURCE_DIR}/src/dispatch/crt_arguments.cpp ${PROJECT_SOURCE_DIR}/src/dispatch/tool_errors.cpp
    ${BOTENRUF_DIRECTORY_PORTABLE})
botenruf_fuzz_target(net_output_fuzz ${BOTENRUF_NETINFO_SOURCES})

find_package(benchmark REQUIRED)
add_executable(directory_bench ${PROJECT_SOURCE_DIR}/tests/bench/directory_bench.cpp
                               ${BOTENRUF_DIRECTORY_SOURCES})
target_link_libraries(directory_bench PRIVATE botenruf_options benchmark::benchmark)

# Every test run fuzzes each target briefly with a fixed seed, so the list file round trip and
# the parsers' robustness are checked on each change, not only when someone fuzzes for hours.
# A failing input is kept beside the target (crash-*) to be replayed with the target alone.
function(botenruf_fuzz_test name runs)
  add_test(NAME ${name}_short COMMAND ${name} -seed=1 -runs=${runs} ${ARGN}
                                      -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/)
endfunction()
botenruf_fuzz_test(list_file_fuzz 100000 -dict=${PROJECT_SOURCE_DIR}/tests/fuzz/list_file.dict)
botenruf_fuzz_test(net_output_fuzz 100000)
