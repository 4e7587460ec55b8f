# The native build: the portable core under sanitizers, its tests and fuzzers, host tools, game data.
set(VORRAK_DATA_DIR ${CMAKE_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${VORRAK_DATA_DIR})

add_library(native_platform STATIC src/data/files_posix.cpp tests/unit/fake_platform.cpp)
target_link_libraries(native_platform PUBLIC vorrak_core)

add_executable(vorcheck ${VORCHECK_SOURCES} src/check/platform_posix.cpp src/data/files_posix.cpp)
target_link_libraries(vorcheck vorrak_pixels)

add_executable(vordata ${VORDATA_SOURCES} src/data/files_posix.cpp)
target_link_libraries(vordata vorrak_core)

include(tests/unit/tests.cmake)
add_executable(unit_tests ${UNIT_TESTS})
target_link_libraries(unit_tests native_platform vorrak_pixels gtest_main)
gtest_discover_tests(unit_tests TEST_PREFIX unit. DISCOVERY_MODE PRE_TEST)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME check.native COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/check/check_test.py
    $<TARGET_FILE:vorcheck> ${VORRAK_DATA_DIR})
add_test(NAME vordata.native COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/vordata/vordata_test.py
    $<TARGET_FILE:vordata> $<TARGET_FILE:vorcheck>)
# The release, as tools/release.sh made it: the same bytes when built again, and its sums.
foreach(name again sums)
    add_test(NAME release.reproducible_${name}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/release/reproducible.py ${name})
endforeach()
set_tests_properties(release.reproducible_again PROPERTIES TIMEOUT 1800)
add_test(NAME tools.python COMMAND ${Python3_EXECUTABLE} -m unittest discover -s tests/tools
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})

if(CMAKE_CXX_COMPILER_ID MATCHES Clang)
    include(tests/fuzz/fuzz.cmake)
endif()

foreach(part tools/hlpwrite content)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${part}/CMakeLists.txt)
        add_subdirectory(${part})
    endif()
endforeach()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/bench/bench_native.cmake)
    include(tests/bench/bench_native.cmake)
endif()
