// Builds 24-bit bitmap files in memory for the tests.
#pragma once
#include <cstdint>
#include <vector>

// rows[k] is the k-th stored row (the picture's bottom first), as 0xRRGGBB values.
inline std::vector<uint8_t> MakeBmp(const std::vector<std::vector<uint32_t>>& rows,
                                    int32_t extraSize = 0) {
    int32_t h = static_cast<int32_t>(rows.size());
    int32_t w = h ? static_cast<int32_t>(rows[0].size()) : 0;
    int32_t pad = (4 - (3 * w) % 4) % 4;
    std::vector<uint8_t> f(54, 0);
    auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++) f[at + i] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, uint32_t(54 + h * (3 * w + pad) + extraSize));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    f[26] = 1;
    f[28] = 24;
    for (const auto& row : rows) {
        for (uint32_t c : row) {
            f.push_back(uint8_t(c));        // blue
            f.push_back(uint8_t(c >> 8));   // green
            f.push_back(uint8_t(c >> 16));  // red
        }
        for (int i = 0; i < pad; i++) f.push_back(0);
    }
    return f;
}
