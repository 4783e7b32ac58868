# The Windows program, its adapters and the tests that run under Wine.
enable_language(RC)

add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0600 WINVER=0x0600 NTDDI_VERSION=0x06000000 NOMINMAX)
add_compile_options(-Wall -Wextra -O2)
# Faults the program translates into C++ exceptions must unwind through
# functions with handlers and destructors; the 32-bit unwinder reads DWARF
# tables, which must then be exact at every instruction.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fnon-call-exceptions>)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fasynchronous-unwind-tables>)
endif()
# One self-contained exe: no libstdc++, libgcc or winpthread DLL beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

include(${CMAKE_CURRENT_LIST_DIR}/subsystems.cmake)

add_executable(cvpackagechainer WIN32
  ${CMAKE_SOURCE_DIR}/src/chainer/win/WinMain.cpp
  ${CMAKE_SOURCE_DIR}/src/resources/cvpackagechainer.rc)
target_link_libraries(cvpackagechainer PRIVATE cv_all)
target_link_options(cvpackagechainer PRIVATE -municode)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/resources/cvpackagechainer.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/resources/cvpackagechainer.manifest;${CMAKE_SOURCE_DIR}/src/resources/cvpackagechainer.ico;${CMAKE_SOURCE_DIR}/src/resources/resource.h")

# The program must start in an empty folder of a fresh machine: no DLL of
# ours, static imports from KnownDLLs only. A build that breaks this fails.
add_custom_command(TARGET cvpackagechainer POST_BUILD
  COMMAND ${CMAKE_SOURCE_DIR}/tools/check-program $<TARGET_FILE:cvpackagechainer>)
add_test(NAME program.SelfContainedGuiProgram
  COMMAND ${CMAKE_SOURCE_DIR}/tools/check-program $<TARGET_FILE:cvpackagechainer>)

# Helper programs that the tests start.
file(GLOB helper_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/helpers/*.cpp)
foreach(src ${helper_sources})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE cv_all)
  file(GLOB helper_rc ${CMAKE_SOURCE_DIR}/tests/helpers/${name}.rc)
  if(helper_rc)
    target_sources(${name} PRIVATE ${helper_rc})
  endif()
  list(APPEND test_helpers ${name})
endforeach()

# A GUI program with a static import of version.dll: the check must refuse it.
set_target_properties(imports_version PROPERTIES WIN32_EXECUTABLE TRUE)
target_link_libraries(imports_version PRIVATE version)
add_test(NAME program.RejectsImportsOutsideKnownDlls
  COMMAND ${CMAKE_SOURCE_DIR}/tools/check-program $<TARGET_FILE:imports_version>)
set_tests_properties(program.RejectsImportsOutsideKnownDlls PROPERTIES
  PASS_REGULAR_EXPRESSION "imports from [Vv][Ee][Rr][Ss][Ii][Oo][Nn]\\.dll, which is not a KnownDLL")

add_executable(unit_tests ${portable_tests} ${windows_tests})
target_link_libraries(unit_tests PRIVATE cv_all gtest_main)
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
if(test_helpers)
  add_dependencies(unit_tests ${test_helpers})
endif()
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 120)

add_executable(integration_tests ${integration_tests})
target_link_libraries(integration_tests PRIVATE cv_all gtest_main)
target_include_directories(integration_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
add_dependencies(integration_tests cvpackagechainer ${test_helpers})
# The runs share machine-wide state (the installer mutex, the registry), so
# they take turns.
gtest_discover_tests(integration_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 300 RESOURCE_LOCK machine)

add_executable(md5_bench ${CMAKE_SOURCE_DIR}/bench/Md5Bench.cpp)
target_link_libraries(md5_bench PRIVATE cv_all)
target_link_options(md5_bench PRIVATE -municode)

add_executable(log_bench ${CMAKE_SOURCE_DIR}/bench/LogBench.cpp)
target_link_libraries(log_bench PRIVATE cv_all)
target_link_options(log_bench PRIVATE -municode)

# Windows Installer packages for the searches' tests, built from a small WiX
# source with wixl (64-bit packages: the tests run the 64-bit build). Codes
# and versions here must match tests/integration/MsiSearchesTest.cpp and
# EvaluationTest.cpp.
set(msi_source ${CMAKE_SOURCE_DIR}/tests/detection/win/msi/product.wxs)
set(msi_payload ${CMAKE_SOURCE_DIR}/tests/detection/win/msi/payload.txt)
set(msi_packages
  "search-old|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F0001}|2.5.7|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00AA}|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00C1}"
  "search-new|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F0002}|3.1|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00AA}|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00C2}"
  # For tests/integration/EvaluationTest.cpp: codes of its own.
  "chain-runtime|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F0011}|4.8.2|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00BB}|{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00D1}")
foreach(package ${msi_packages})
  string(REPLACE "|" ";" fields "${package}")
  list(GET fields 0 name)
  list(GET fields 1 product)
  list(GET fields 2 version)
  list(GET fields 3 upgrade)
  list(GET fields 4 component)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name}.msi
    COMMAND wixl -a x64 -D ProductCode=${product} -D Version=${version} -D UpgradeCode=${upgrade}
            -D ComponentCode=${component} -D Payload=payload.txt -o ${CMAKE_BINARY_DIR}/${name}.msi ${msi_source}
    DEPENDS ${msi_source} ${msi_payload}
    # wixl takes file sources relative to the current folder only
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/detection/win/msi
    VERBATIM)
  list(APPEND msi_outputs ${CMAKE_BINARY_DIR}/${name}.msi)
endforeach()
add_custom_target(test_msi_packages DEPENDS ${msi_outputs})
add_dependencies(integration_tests test_msi_packages)

add_executable(file_search_bench ${CMAKE_SOURCE_DIR}/bench/FileSearchBench.cpp)
target_link_libraries(file_search_bench PRIVATE cv_all)
target_link_options(file_search_bench PRIVATE -municode)
