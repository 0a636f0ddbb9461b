# Windows build: the program, the simulated network tools and the tests that run under Wine.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PROJECT_SOURCE_DIR}/resources")
include(cmake/googletest.cmake)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(BOTENRUF_WINE_BITS 64)
else()
  set(BOTENRUF_WINE_BITS 32)
endif()
configure_file(cmake/wine-emulator.in ${CMAKE_BINARY_DIR}/wine/emulator @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)
configure_file(cmake/wine-session.in ${CMAKE_BINARY_DIR}/wine/session @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)

set(BOTENRUF_SYSTEM_LIBS user32 gdi32 comctl32 comdlg32 shell32 advapi32 version wininet ws2_32)
set(BOTENRUF_RESOURCES ${PROJECT_SOURCE_DIR}/resources/botenruf.rc)
# Every file in resources/ (header, icons, cursor, animations) is a dependency of the script.
file(GLOB BOTENRUF_RESOURCE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
set_source_files_properties(${BOTENRUF_RESOURCES} PROPERTIES OBJECT_DEPENDS "${BOTENRUF_RESOURCE_FILES}")

# Window code and the Win32 platform implementations.
file(GLOB BOTENRUF_WIN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/win32/*.cpp
     ${PROJECT_SOURCE_DIR}/src/*/win32/*.cpp)
# src/program/ is the program itself: its entry, which wires every layer together.
list(FILTER BOTENRUF_WIN_SOURCES EXCLUDE REGEX "/src/program/")
add_library(botenruf_win STATIC ${BOTENRUF_WIN_SOURCES})
target_link_libraries(botenruf_win PUBLIC botenruf_core ${BOTENRUF_SYSTEM_LIBS})

# late_bound_imports.cpp stands in for imports that Windows 2000 lacks; it must be an object of
# the program itself (see the file).
add_executable(Botenruf WIN32 src/program/win32/main.cpp src/program/win32/late_bound_imports.cpp
                              ${BOTENRUF_RESOURCES})
target_link_libraries(Botenruf PRIVATE botenruf_win)
# The static runtime brings about 0.7 MB of debug information along. The program is shipped,
# and tested, without it; the symbols go to Botenruf.debug beside it, which a debugger finds
# through the link the program keeps.
add_custom_command(TARGET Botenruf POST_BUILD
                   COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:Botenruf> Botenruf.debug
                   COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=Botenruf.debug
                           $<TARGET_FILE:Botenruf>
                   WORKING_DIRECTORY $<TARGET_FILE_DIR:Botenruf> VERBATIM)

# The simulated network: stand-ins for the console tools (msg.exe too, which Wine lacks).
set(BOTENRUF_NETSIM_TARGETS netsim_net netsim_msg netsim_nbtstat netsim_ping netsim_explorer
                             netsim_sleeper)
file(GLOB BOTENRUF_NETSIM_COMMON CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/netsim/common/*.cpp)
add_library(netsim_common STATIC ${BOTENRUF_NETSIM_COMMON})
target_link_libraries(netsim_common PUBLIC botenruf_options user32)
foreach(tool net msg nbtstat ping explorer)
  add_executable(netsim_${tool} ${PROJECT_SOURCE_DIR}/tests/netsim/${tool}.cpp)
  target_link_libraries(netsim_${tool} PRIVATE netsim_common)
  set_target_properties(netsim_${tool} PROPERTIES OUTPUT_NAME ${tool}
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/netsim)
endforeach()
add_executable(demo_driver ${PROJECT_SOURCE_DIR}/tests/netsim/tools/demo_driver.cpp)
target_link_libraries(demo_driver PRIVATE botenruf_options user32)
set_target_properties(demo_driver PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/netsim)
add_executable(netsim_sleeper ${PROJECT_SOURCE_DIR}/tests/netsim/tools/sleeper.cpp)
target_link_libraries(netsim_sleeper PRIVATE botenruf_options)
set_target_properties(netsim_sleeper PROPERTIES OUTPUT_NAME sleeper
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/netsim)

# Tests under Wine: one session (prefix, display, wineserver) for the whole run.
# Test names carry the build's word size, so several Windows builds can run in one CTest run.
set(BOTENRUF_WINE_TAG win${BOTENRUF_WINE_BITS})
add_subdirectory(${PROJECT_SOURCE_DIR}/tests/imports imports)
add_test(NAME ${BOTENRUF_WINE_TAG}_session_start COMMAND ${CMAKE_BINARY_DIR}/wine/session start)
add_test(NAME ${BOTENRUF_WINE_TAG}_session_stop COMMAND ${CMAKE_BINARY_DIR}/wine/session stop)
set_tests_properties(${BOTENRUF_WINE_TAG}_session_start PROPERTIES FIXTURES_SETUP ${BOTENRUF_WINE_TAG})
set_tests_properties(${BOTENRUF_WINE_TAG}_session_stop PROPERTIES FIXTURES_CLEANUP ${BOTENRUF_WINE_TAG})

file(TO_NATIVE_PATH "${CMAKE_BINARY_DIR}" BOTENRUF_BUILD_DIR_NATIVE)
# The Windows tests' helpers, and the simulated network's side of them (its folder and logs).
file(GLOB BOTENRUF_WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/support/*.cpp
     ${PROJECT_SOURCE_DIR}/tests/netsim/harness.cpp)
add_library(botenruf_win_test_support STATIC ${BOTENRUF_WIN_TEST_SUPPORT})
target_link_libraries(botenruf_win_test_support PUBLIC botenruf_win GTest::gmock shlwapi)
target_compile_definitions(botenruf_win_test_support PUBLIC
                           BOTENRUF_BUILD_DIR="Z:${CMAKE_BINARY_DIR}"
                           BOTENRUF_TEST_DATA="Z:${PROJECT_SOURCE_DIR}/tests/data")
target_include_directories(botenruf_win_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/win
                                                             ${PROJECT_SOURCE_DIR}/tests/host
                                                             ${PROJECT_SOURCE_DIR}/tests)

function(botenruf_wine_test name target)
  add_test(NAME ${BOTENRUF_WINE_TAG}_${name} COMMAND ${target})
  set_tests_properties(${BOTENRUF_WINE_TAG}_${name} PROPERTIES
                       FIXTURES_REQUIRED ${BOTENRUF_WINE_TAG} RESOURCE_LOCK ${BOTENRUF_WINE_TAG}_prefix
                       TIMEOUT 600 LABELS wine)
endfunction()

# The portable unit tests run under Wine as well, so the mingw runtime is covered too.
file(GLOB BOTENRUF_HOST_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/host/*.cpp)
add_executable(core_tests ${BOTENRUF_HOST_TESTS})
target_link_libraries(core_tests PRIVATE botenruf_core GTest::gmock_main)
target_include_directories(core_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/host)
target_compile_definitions(core_tests PRIVATE BOTENRUF_TEST_DATA="Z:${PROJECT_SOURCE_DIR}/tests/data")
botenruf_wine_test(core_tests core_tests)

# The Windows tests, and the simulated network's own test of the tools it stands in for.
file(GLOB BOTENRUF_WIN_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*_test.cpp
     ${PROJECT_SOURCE_DIR}/tests/netsim/netsim_test.cpp)
foreach(test_source ${BOTENRUF_WIN_TESTS})
  get_filename_component(test_name ${test_source} NAME_WE)
  add_executable(${test_name} ${test_source} ${BOTENRUF_RESOURCES})
  target_link_libraries(${test_name} PRIVATE botenruf_win_test_support GTest::gmock_main)
  add_dependencies(${test_name} Botenruf ${BOTENRUF_NETSIM_TARGETS})
  botenruf_wine_test(${test_name} ${test_name})
endforeach()

# Benchmarks under Wine (run by hand: build/<preset>/wine/emulator build/<preset>/NAME.exe).
# bare_window.exe is their bare program: the program's templates with nothing behind them.
add_executable(bare_window WIN32 ${PROJECT_SOURCE_DIR}/tests/bench/bare_window.cpp
                                 ${BOTENRUF_RESOURCES})
target_link_libraries(bare_window PRIVATE botenruf_options comctl32)
add_library(botenruf_bench_support STATIC ${PROJECT_SOURCE_DIR}/tests/bench/bench_support.cpp)
target_link_libraries(botenruf_bench_support PUBLIC botenruf_win_test_support psapi)
foreach(bench send list_check domain list_editor start)
  add_executable(${bench}_bench ${PROJECT_SOURCE_DIR}/tests/bench/win_${bench}_bench.cpp
                                ${BOTENRUF_RESOURCES})
  target_link_libraries(${bench}_bench PRIVATE botenruf_bench_support)
  add_dependencies(${bench}_bench Botenruf bare_window ${BOTENRUF_NETSIM_TARGETS})
endforeach()
