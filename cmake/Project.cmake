# Build settings and helpers shared by every folder of the project.

set(WZ_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(WZ_ROOT ${WZ_ROOT} ABSOLUTE)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/archive)

set(WZ_PYTHON /usr/bin/python3)
set(WZ_HARNESS ${WZ_ROOT}/tests/harness)

if(WIN32)
  set(WZ_PLATFORM win32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 WINVER=0x0501)
  add_compile_options(-Wall -Wextra)
  # GoogleTest from Debian's sources, built with the cross compilers.
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  if(WZ_TESTS)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_library(wz_gtest_main ALIAS gtest_main)
  endif()
  # Windows tests share one Wine prefix and one X display per test run; the
  # x86 build runs under the 32-bit loader, the x64 build under the 64-bit one.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(WZ_WINE_ARCH win64)
  else()
    set(WZ_WINE_ARCH win32)
  endif()
  set(WZ_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  # Where the loader cannot run (no 32-bit programs on this machine), the
  # session and every test of the build report themselves skipped with the
  # reason in a line that starts so.
  set(WZ_WINE_SKIPPED "SKIPPED \\(x86 tier\\)")
  add_test(NAME wine.session.start COMMAND ${WZ_HARNESS}/wine-session start ${WZ_WINE_DIR} ${WZ_WINE_ARCH})
  set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 240 SKIP_RETURN_CODE 77)
  add_test(NAME wine.session.stop COMMAND ${WZ_HARNESS}/wine-session stop ${WZ_WINE_DIR})
  set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 SKIP_RETURN_CODE 77)
else()
  set(WZ_PLATFORM posix)
  add_compile_options(-Wall -Wextra)
  option(WZ_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
  if(WZ_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(WZ_TESTS)
    find_package(GTest REQUIRED)
    add_library(wz_gtest_main INTERFACE)
    target_link_libraries(wz_gtest_main INTERFACE GTest::gtest_main)
  endif()
endif()

# Environment a test needs to run its programs: under Wine the prefix and
# display of the shared session; natively the sanitizer runtime for programs
# (regina) that load a sanitized library without being built with it.
function(wz_test_environment test)
  if(WIN32)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine SKIP_REGULAR_EXPRESSION "${WZ_WINE_SKIPPED}")
    # Wine's printing reaches no print server but the one a test starts.
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "WZ_WINE_DIR=${WZ_WINE_DIR}"
      "CUPS_SERVER=${CMAKE_BINARY_DIR}/no-print-server")
  elseif(WZ_SANITIZE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libasan.so
      OUTPUT_VARIABLE asan OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libubsan.so
      OUTPUT_VARIABLE ubsan OUTPUT_STRIP_TRAILING_WHITESPACE)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
      "WZ_PRELOAD=${asan} ${ubsan}"
      "ASAN_OPTIONS=detect_leaks=1"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
endfunction()

# wz_gtest(name SOURCES ... LIBS ... [TIMEOUT s] [DESKTOP])
# A GoogleTest program; natively run directly, in the Win32 build under Wine.
# DESKTOP: a test of windows, run in a Wine virtual desktop by the UI test
# driver (windows there are shown and activated as on Windows, and fast).
function(wz_gtest name)
  cmake_parse_arguments(T "DESKTOP" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} wz_gtest_main)
  if(WIN32 AND T_DESKTOP)
    set(scenario ${CMAKE_CURRENT_BINARY_DIR}/${name}.scenario)
    file(WRITE ${scenario} "# Generated: runs the test program in the virtual desktop.\nstart ${name}.exe\nexit 0 ${T_TIMEOUT}\n")
    wz_ui_scenario(${name} SCENARIO ${scenario} TIMEOUT ${T_TIMEOUT})
    return()
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  wz_test_environment(${name})
endfunction()

# wz_script_test(name COMMAND ... [TIMEOUT s])
# A test driven by a harness script (servers, interpreters, Wine).
function(wz_script_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "COMMAND" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_test(NAME ${name} COMMAND ${T_COMMAND})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  wz_test_environment(${name})
endfunction()

# wz_fuzz_target(name SOURCES ... LIBS ... [SEEDS folder...])
# A fuzz target (defines LLVMFuzzerTestOneInput) with its seeds in
# fuzz/corpus/NAME (the seeds that are no test's data) and in the SEEDS
# folders (test data, where the tests keep it); the list of them goes to
# fuzz-seeds/NAME in the build tree, for scripts/fuzz.
#  - g++ build: linked with a standalone driver and run as a short, bounded
#    test (seeds plus deterministic mutations), under the sanitizers when on;
#  - clang with -DWZ_LIBFUZZER=ON (make fuzz): linked with libFuzzer.
option(WZ_LIBFUZZER "Link fuzz targets with libFuzzer (clang)" OFF)
function(wz_fuzz_target name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(WIN32)
    return()
  endif()
  set(seeds)
  if(EXISTS ${WZ_ROOT}/fuzz/corpus/${name})
    list(APPEND seeds ${WZ_ROOT}/fuzz/corpus/${name})
  endif()
  list(APPEND seeds ${F_SEEDS})
  string(REPLACE ";" "\n" seed_lines "${seeds}")
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz-seeds/${name} "${seed_lines}\n")
  set(target fuzz_${name})
  add_executable(${target} ${F_SOURCES})
  target_link_libraries(${target} PRIVATE ${F_LIBS})
  if(WZ_LIBFUZZER)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${target} PRIVATE ${WZ_ROOT}/fuzz/driver/standalone_main.cpp)
    add_test(NAME fuzz.${name} COMMAND ${target} --runs 20000 --seconds 8 ${seeds})
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 60)
  endif()
endfunction()

# wz_ui_scenario(name SCENARIO file [DPI n]): a scenario of the UI test
# driver (tests/ui), run in a virtual desktop of the Wine session with the
# programs of the build's bin folder; DPI runs it at that display scale.
# Scenarios share the display, so they run one at a time; screenshots go to
# build/win32/screenshots/NAME. A scenario whose servers cannot run here is
# skipped (status 77).
function(wz_ui_scenario name)
  cmake_parse_arguments(S "" "SCENARIO;TIMEOUT;DPI" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  if(NOT S_TIMEOUT)
    set(S_TIMEOUT 200)
  endif()
  set(scale)
  if(S_DPI)
    set(scale --dpi ${S_DPI})
  endif()
  add_test(NAME ${name} COMMAND ${WZ_PYTHON} ${WZ_HARNESS}/run_ui.py ${scale} $<TARGET_FILE:enrolwiz_ui_driver>
    ${S_SCENARIO} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${CMAKE_BINARY_DIR}/screenshots/${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${S_TIMEOUT} RESOURCE_LOCK wine_desktop SKIP_RETURN_CODE 77)
  # A scenario that sets Wine's Windows version or the display's scale
  # changes the whole session for its run: no other test runs meanwhile.
  file(STRINGS ${S_SCENARIO} system_lines REGEX "^(windows|dpi) ")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${S_SCENARIO})
  if(system_lines OR S_DPI)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
  wz_test_environment(${name})
endfunction()
