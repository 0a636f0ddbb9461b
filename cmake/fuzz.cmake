# Fuzz targets (libFuzzer) and benchmarks, built with clang. clang has no -fexec-charset, so
# literals stay UTF-8 in these builds; the code under test treats every text as plain bytes.
set(BOTENRUF_DIRECTORY_SOURCES ${PROJECT_SOURCE_DIR}/src/text/text.cpp)
file(GLOB BOTENRUF_DIRECTORY_PORTABLE CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/directory/*.cpp)
list(APPEND BOTENRUF_DIRECTORY_SOURCES ${BOTENRUF_DIRECTORY_PORTABLE})

# The sources are built into each target, so that the code under test carries the fuzzer's
# coverage instrumentation and the sanitizers (botenruf_core is built without them).
add_executable(list_file_fuzz ${PROJECT_SOURCE_DIR}/tests/fuzz/list_file_fuzz.cpp
                              ${BOTENRUF_DIRECTORY_SOURCES})
target_link_libraries(list_file_fuzz PRIVATE botenruf_options)
target_compile_options(list_file_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
                                              -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(list_file_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)

set(BOTENRUF_NETINFO_SOURCES ${PROJECT_SOURCE_DIR}/src/text/text.cpp
    ${PROJECT_SOURCE_DIR}/src/netinfo/net_output.cpp ${PROJECT_SOURCE_DIR}/src/netinfo/station_info.cpp
    ${PROJECT_SOURCE_DIR}/src/netinfo/net_query.cpp ${PROJECT_SOURCE_DIR}/src/dispatch/command_runner.cpp
    ${PROJECT_SOURCE_DIR}/src/dispatch/send_workers.cpp ${PROJECT_SOURCE_DIR}/src/dispatch/message_composer.cpp
    ${BOTENRUF_DIRECTORY_PORTABLE})
add_executable(net_output_fuzz ${PROJECT_SOURCE_DIR}/tests/fuzz/net_output_fuzz.cpp
                               ${BOTENRUF_NETINFO_SOURCES})
target_link_libraries(net_output_fuzz PRIVATE botenruf_options)
target_compile_options(net_output_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
                                               -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(net_output_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)

find_package(benchmark REQUIRED)
add_executable(directory_bench ${PROJECT_SOURCE_DIR}/tests/bench/directory_bench.cpp
                               ${BOTENRUF_DIRECTORY_SOURCES})
target_link_libraries(directory_bench PRIVATE botenruf_options benchmark::benchmark)
