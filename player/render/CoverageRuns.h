#pragma once
// Splits a row of 8-bit coverage into runs that are all zero, all full
// (255) or mixed, looking at eight bytes at a time. Large shapes and masks
// are mostly full or empty, and those runs are then handled as a whole
// (a memset, a copy) instead of pixel by pixel.
#include <cstdint>
#include <cstring>

namespace tesmar::render {

enum class RunKind : uint8_t { Zero, Full, Mixed };

inline RunKind classifyBytes(const uint8_t* p, int n) {
    if (n == 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        return word == 0 ? RunKind::Zero : word == ~uint64_t(0) ? RunKind::Full : RunKind::Mixed;
    }
    bool zero = true, full = true;
    for (int i = 0; i < n; ++i) {
        zero = zero && p[i] == 0;
        full = full && p[i] == 255;
    }
    return zero ? RunKind::Zero : full ? RunKind::Full : RunKind::Mixed;
}

// Calls f(begin, end, kind) for consecutive runs covering [0, count).
template <class F>
void forEachRun(const uint8_t* values, int count, F&& f) {
    int start = 0;
    RunKind kind = RunKind::Mixed;
    for (int i = 0; i < count; i += 8) {
        int n = count - i < 8 ? count - i : 8;
        RunKind k = classifyBytes(values + i, n);
        if (i == 0) {
            kind = k;
        } else if (k != kind) {
            f(start, i, kind);
            start = i;
            kind = k;
        }
    }
    if (count > 0) f(start, count, kind);
}

} // namespace tesmar::render
