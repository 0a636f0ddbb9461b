# Host build: the portable core's unit tests with AddressSanitizer and UBSan.
include(cmake/googletest.cmake)
include(GoogleTest)

file(GLOB BOTENRUF_HOST_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/host/*.cpp)
add_executable(botenruf_host_tests ${BOTENRUF_HOST_TESTS})
target_link_libraries(botenruf_host_tests PRIVATE botenruf_core GTest::gmock_main)
target_include_directories(botenruf_host_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/host)
target_compile_definitions(botenruf_host_tests PRIVATE
                           BOTENRUF_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
gtest_discover_tests(botenruf_host_tests DISCOVERY_TIMEOUT 60)

# The release package (dist/Botenruf-<file version>.zip), which scripts/package.sh builds and
# scripts/test.sh builds before CTest runs; skipped where it has not been built.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/botenruf.rc)
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/botenruf.rc BOTENRUF_FILEVERSION_LINE
     REGEX "^ *FILEVERSION ")
string(REGEX MATCHALL "[0-9]+" BOTENRUF_FILEVERSION_PARTS "${BOTENRUF_FILEVERSION_LINE}")
list(JOIN BOTENRUF_FILEVERSION_PARTS "." BOTENRUF_FILEVERSION)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME package_contents
         COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/package/check_package.py
                 ${PROJECT_SOURCE_DIR}/dist/Botenruf-${BOTENRUF_FILEVERSION}.zip ${PROJECT_SOURCE_DIR}
                 ${PROJECT_SOURCE_DIR}/build/pictures)
set_tests_properties(package_contents PROPERTIES SKIP_RETURN_CODE 77)

# Every folder includes only from the layers below it (tests/layers/check_layers.py lists them).
add_test(NAME source_layers
         COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/layers/check_layers.py ${PROJECT_SOURCE_DIR})

# No two items of one menu level and no two controls of one dialog share an access key.
add_test(NAME resource_access_keys
         COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/resources/check_access_keys.py
                 ${PROJECT_SOURCE_DIR})
