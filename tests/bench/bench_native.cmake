# The lookup benchmark: the real database lookup against one read(2) call per byte.
# Not built by default and not a test; tools/bench.sh builds it without the sanitizers.
add_executable(bench_lookup EXCLUDE_FROM_ALL tests/bench/bench_lookup.cpp)
target_link_libraries(bench_lookup native_platform)
target_include_directories(bench_lookup PRIVATE tests/unit)
