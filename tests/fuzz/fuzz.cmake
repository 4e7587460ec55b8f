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
# vorrak_fuzzer(NAME SOURCES...): fuzz_NAME from tests/fuzz/fuzz_NAME.cpp, the core and the
# sources given, and a short run of it with its seeds as the test fuzz.NAME.
function(vorrak_fuzzer name)
    add_executable(fuzz_${name} tests/fuzz/fuzz_${name}.cpp ${FUZZ_CORE} ${ARGN})
    target_include_directories(fuzz_${name} PRIVATE src tests/fuzz)
    # Optimised, as libFuzzer wants it: the runs per second count more than the debugger here.
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer -O2)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME fuzz.${name} COMMAND fuzz_${name} -max_total_time=5 -rss_limit_mb=2048
        ${corpus} ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/${name})
endfunction()

foreach(name records settings number bitmap)
    vorrak_fuzzer(${name})
endforeach()
# Several scans a run: without tracing every comparison they run twice as often, and their
# seeds already hold the headers that comparisons would have to find.
foreach(name scan batch)
    vorrak_fuzzer(${name} tests/fuzz/reference_scan.cpp)
    target_compile_options(fuzz_${name} PRIVATE -fno-sanitize-coverage=trace-cmp)
endforeach()

# The data checker's passes over any database and picture bytes.
vorrak_fuzzer(check src/data/database.cpp src/data/picture_name.cpp src/data/whole_file.cpp
    src/gfx/places.cpp src/check/report.cpp src/check/check_database.cpp src/check/check_pictures.cpp)
# The listing, which the chooser and the checker show, against the lookups the game makes.
vorrak_fuzzer(list tests/fuzz/reference_scan.cpp src/data/catalog.cpp src/data/database.cpp
    src/check/report.cpp src/check/check_database.cpp)
target_compile_options(fuzz_list PRIVATE -fno-sanitize-coverage=trace-cmp)
# The record writer against the game's own lookups, before and after each edit.
vorrak_fuzzer(write src/data/database.cpp src/data/catalog.cpp src/data/records_write.cpp)
