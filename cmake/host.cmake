# Host build: the portable core's unit tests with AddressSanitizer and UBSan.
include(cmake/googletest.cmake)
include(GoogleTest)

file(GLOB BOTENRUF_HOST_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/host/*.cpp
     ${PROJECT_SOURCE_DIR}/tests/host/fakes/*.cpp)
add_executable(botenruf_host_tests ${BOTENRUF_HOST_TESTS})
target_link_libraries(botenruf_host_tests PRIVATE botenruf_core GTest::gmock_main)
target_include_directories(botenruf_host_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/host)
target_compile_definitions(botenruf_host_tests PRIVATE
                           BOTENRUF_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                           BOTENRUF_RESOURCE_HEADER="${PROJECT_SOURCE_DIR}/resources/resource.h"
                           BOTENRUF_RESOURCE_SCRIPT="${PROJECT_SOURCE_DIR}/resources/botenruf.rc")
gtest_discover_tests(botenruf_host_tests DISCOVERY_TIMEOUT 60)
