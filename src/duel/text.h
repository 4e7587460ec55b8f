// Fixed-capacity text: Text<N> holds at most N - 1 characters; copies and appends cut, never overrun.
#pragma once
#include <cstddef>
#include <cstring>

template <std::size_t N>
struct Text {
    static_assert(N >= 1, "a text needs room for its terminating zero");
    char c[N] = {};

    static constexpr std::size_t capacity() { return N; }
    std::size_t length() const { return std::strlen(c); }
    bool empty() const { return c[0] == 0; }
    const char* str() const { return c; }
    operator const char*() const { return c; }

    Text& assign(const char* s) {
        if (s == c) return *this;
        c[0] = 0;
        return append(s);
    }
    Text& append(const char* s) {
        std::size_t len = length();
        std::size_t room = N - 1 - len;
        std::size_t n = std::strlen(s);
        if (n > room) n = room;
        std::memmove(c + len, s, n);  // memmove: appending a text to itself stays correct
        c[len + n] = 0;
        return *this;
    }
    // Takes n characters from s (which needs no terminating zero), cut as ever.
    Text& assign(const char* s, std::size_t n) {
        if (n > N - 1) n = N - 1;
        std::memmove(c, s, n);
        c[n] = 0;
        return *this;
    }
    Text& appendChar(char ch) {
        char one[2] = {ch, 0};
        return append(one);
    }
    // Keeps the first n characters.
    void cut(std::size_t n) {
        if (n < length()) c[n] = 0;
    }
    Text& operator=(const char* s) { return assign(s); }
    Text& operator+=(const char* s) { return append(s); }
    bool operator==(const char* s) const { return std::strcmp(c, s) == 0; }
    bool operator!=(const char* s) const { return !(*this == s); }
};
