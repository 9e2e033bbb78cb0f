# Helpers shared by the layer, test and benchmark folders.

set(VARDEL_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)
set_property(GLOBAL PROPERTY VARDEL_LIBRARIES "")

# vardel_library(NAME FOLDERS folder... [LINKS lib...] [PRIVATE_LINKS lib...]): the static library of
# one layer, built from every .cpp under the given folders of src/. Includes are rooted at src/.
function(vardel_library name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;LINKS;PRIVATE_LINKS" ${ARGN})
  set(sources)
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${VARDEL_SOURCE_ROOT}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${VARDEL_SOURCE_ROOT}>
    $<INSTALL_INTERFACE:include/vardel>)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
  set_property(GLOBAL APPEND PROPERTY VARDEL_LIBRARIES ${name})
endfunction()

# vardel_test(NAME SOURCES... LINKS lib... [LABELS unit|gl|e2e] [TIMEOUT s] [INPUT]): one GoogleTest
# executable registered with CTest. Tests labelled gl need a display; the test command provides one.
# INPUT marks tests that move the shared pointer, press keys or look at what the screen shows: they run
# alone, since another test's window could take their input or cover their window.
function(vardel_test name)
  cmake_parse_arguments(ARG "INPUT" "TIMEOUT" "SOURCES;LINKS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gmock GTest::gtest GTest::gtest_main)
  # Helpers shared by the test folders, as support/...
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(VARDEL_SANITIZE)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/sanitized-test.sh $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(VARDEL_SANITIZE MATCHES thread)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan-suppressions.txt)
  endif()
  if(ARG_INPUT)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# vardel_bench(NAME SOURCES... LINKS lib...): one Google Benchmark program.
function(vardel_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} benchmark::benchmark)
  # Helpers shared by the benchmark folders.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench/support)
  set_property(GLOBAL APPEND PROPERTY VARDEL_BENCHMARKS ${name})
endfunction()

# Header-only libraries from Debian: CLI11 for the demo's command line, stb for PNG files. A cross
# build must not search the build machine's /usr/include as a whole (its C library is there), so it
# gets a copy of CLI11's own folder; stb's headers have a folder of their own already.
find_path(VARDEL_CLI11_FOUND CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(VARDEL_STB_INCLUDE stb_image_write.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
if(CMAKE_CROSSCOMPILING)
  file(COPY ${VARDEL_CLI11_FOUND}/CLI DESTINATION ${CMAKE_BINARY_DIR}/host-include)
  set(VARDEL_CLI11_INCLUDE ${CMAKE_BINARY_DIR}/host-include)
else()
  set(VARDEL_CLI11_INCLUDE ${VARDEL_CLI11_FOUND})
endif()
