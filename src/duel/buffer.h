// A zeroed heap block that frees itself: the few buffers that can't be fixed in size,
// without the C++ library's containers (they pull its exception machinery into the exe).
#pragma once
#include <cstddef>
#include <cstdlib>

template <typename T>
struct Buffer {
    Buffer() = default;
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    Buffer(Buffer&& other) : p(other.p), n_(other.n_) {
        other.p = nullptr;
        other.n_ = 0;
    }
    ~Buffer() { std::free(p); }

    // Makes room for n zeroed elements, dropping what was held; false when memory is short.
    bool reset(std::size_t n) {
        std::free(p);
        p = nullptr;
        n_ = 0;
        if (n == 0) return true;
        p = static_cast<T*>(std::calloc(n, sizeof(T)));
        if (p) n_ = n;
        return p != nullptr;
    }
    // Keeps only the first n elements (never grows).
    void shrink(std::size_t n) {
        if (n < n_) n_ = n;
    }
    void clear() { reset(0); }

    T* data() { return p; }
    const T* data() const { return p; }
    std::size_t size() const { return n_; }
    bool empty() const { return n_ == 0; }
    T& operator[](std::size_t i) { return p[i]; }
    const T& operator[](std::size_t i) const { return p[i]; }
    T* begin() { return p; }
    T* end() { return p + n_; }

private:
    T* p = nullptr;
    std::size_t n_ = 0;
};
