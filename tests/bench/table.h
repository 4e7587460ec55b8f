// The benchmarks' one table format, so tools/bench.sh can set their rows side by side.
#pragma once
#include <cstdio>

inline void PrintTableHeader() {
    std::printf("| Work | Ours (ms/call) | Literal way (ms/call) | Ratio |\n");
    std::printf("|---|---:|---:|---:|\n");
}

inline void PrintTableRow(const char* work, double oursMs, double literalMs) {
    double ratio = oursMs > 0 ? literalMs / oursMs : 0;
    std::printf("| %s | %.3f | %.3f | %.*f x |\n", work, oursMs, literalMs,
                ratio < 10 ? 1 : 0, ratio);
    std::fflush(stdout);
}
