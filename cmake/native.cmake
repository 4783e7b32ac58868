# Native build of the portable logic: its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and its parsers under libFuzzer (clang).
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g -O1 ${sanitizers})
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Coverage feedback for the fuzz targets reaches into the library.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
add_link_options(${sanitizers})

include(${CMAKE_CURRENT_LIST_DIR}/subsystems.cmake)

add_executable(portable_tests ${portable_tests})
target_link_libraries(portable_tests PRIVATE cv_all gtest_main)
target_include_directories(portable_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
gtest_discover_tests(portable_tests PROPERTIES TIMEOUT 60)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(FUZZ_SECONDS 10 CACHE STRING "How long each fuzz target runs in the test suite")
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
  foreach(src ${fuzz_sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE cv_all)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME fuzz.${name}
      COMMAND ${name} -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=2048 -timeout=10
              ${corpus} ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds)
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300)
  endforeach()
endif()
