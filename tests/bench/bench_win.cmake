# The drawing benchmark: the real drawing code against the literal way, under Wine.
# Not built by default and not a test: timings belong in a benchmark run, tools/bench.sh.
add_executable(bench_draw EXCLUDE_FROM_ALL
    tests/bench/bench_draw.cpp tests/bench/literal_paint.cpp tests/bench/literal_lookup.cpp
    ${GAME_SOURCES})
target_link_libraries(bench_draw vorrak_core gdi32 user32 kernel32)
