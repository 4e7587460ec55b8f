# libFuzzer targets for every parser; the tests run each briefly, tools/fuzz.sh runs them longer.
# Files are read from memory, so that a run costs no system call.
# The line reader finds line ends with whole-word masks, so its comparisons teach the
# fuzzer nothing: traced, they would cost half of every run.
add_library(fuzz_lines OBJECT src/data/lines.cpp)
target_include_directories(fuzz_lines PRIVATE src)
target_compile_options(fuzz_lines PRIVATE -fsanitize=fuzzer-no-link -O2
    -fno-sanitize-coverage=trace-cmp)
set(FUZZ_CORE src/duel/state.cpp $<TARGET_OBJECTS:fuzz_lines> src/data/number.cpp
    src/data/records.cpp src/data/settings.cpp src/data/windows1252.cpp src/gfx/bitmap.cpp
    tests/fuzz/memory_files.cpp tests/unit/fake_platform.cpp)
foreach(target records settings number bitmap scan batch)
    add_executable(fuzz_${target} tests/fuzz/fuzz_${target}.cpp ${FUZZ_CORE})
    target_include_directories(fuzz_${target} PRIVATE src tests/fuzz)
    # Optimised, as libFuzzer wants it: the runs per second count more than the debugger here.
    target_compile_options(fuzz_${target} PRIVATE -fsanitize=fuzzer -O2)
    target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    if(target STREQUAL scan OR target STREQUAL batch)
        # Several scans a run: without tracing every comparison it runs twice as often,
        # and its seeds already hold the headers that comparisons would have to find.
        target_sources(fuzz_${target} PRIVATE tests/fuzz/reference_scan.cpp)
        target_compile_options(fuzz_${target} PRIVATE -fno-sanitize-coverage=trace-cmp)
    endif()
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${target})
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME fuzz.${target} COMMAND fuzz_${target} -max_total_time=5 -rss_limit_mb=2048
        ${corpus} ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/${target})
endforeach()

# The data checker's passes over any database and picture bytes.
add_executable(fuzz_check tests/fuzz/fuzz_check.cpp ${FUZZ_CORE} src/data/database.cpp
    src/data/picture_name.cpp src/data/whole_file.cpp src/gfx/places.cpp src/check/report.cpp
    src/check/check_database.cpp src/check/check_pictures.cpp)
target_include_directories(fuzz_check PRIVATE src tests/fuzz)
target_compile_options(fuzz_check PRIVATE -fsanitize=fuzzer -O2)
target_link_options(fuzz_check PRIVATE -fsanitize=fuzzer)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/check)
add_test(NAME fuzz.check COMMAND fuzz_check -max_total_time=5 -rss_limit_mb=2048
    ${CMAKE_BINARY_DIR}/fuzz-corpus/check ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/check)

# The listing, which the chooser and the checker show, against the lookups the game makes.
add_executable(fuzz_list tests/fuzz/fuzz_list.cpp tests/fuzz/reference_scan.cpp ${FUZZ_CORE}
    src/data/catalog.cpp src/data/database.cpp src/check/report.cpp src/check/check_database.cpp)
target_include_directories(fuzz_list PRIVATE src tests/fuzz)
target_compile_options(fuzz_list PRIVATE -fsanitize=fuzzer -O2 -fno-sanitize-coverage=trace-cmp)
target_link_options(fuzz_list PRIVATE -fsanitize=fuzzer)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/list)
add_test(NAME fuzz.list COMMAND fuzz_list -max_total_time=5 -rss_limit_mb=2048
    ${CMAKE_BINARY_DIR}/fuzz-corpus/list ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/list)

# The record writer against the game's own lookups, before and after each edit.
add_executable(fuzz_write tests/fuzz/fuzz_write.cpp ${FUZZ_CORE} src/data/database.cpp
    src/data/catalog.cpp src/data/records_write.cpp)
target_include_directories(fuzz_write PRIVATE src tests/fuzz)
target_compile_options(fuzz_write PRIVATE -fsanitize=fuzzer -O2)
target_link_options(fuzz_write PRIVATE -fsanitize=fuzzer)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/write)
add_test(NAME fuzz.write COMMAND fuzz_write -max_total_time=5 -rss_limit_mb=2048
    ${CMAKE_BINARY_DIR}/fuzz-corpus/write ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/write)
