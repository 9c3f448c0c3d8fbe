#pragma once
// A 32-bit premultiplied-alpha bitmap: each pixel is 0xAARRGGBB in a uint32_t,
// which in memory on a little-endian machine is B, G, R, A - the layout of a
// Windows top-down 32-bit DIB section, so a host can blit it as it is.
#include <cstdint>
#include <vector>

namespace tesmar {

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;   // row-major, top row first, width * height

    Image() = default;
    Image(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    uint32_t* row(int y) { return pixels.data() + size_t(y) * size_t(width); }
    const uint32_t* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
    bool empty() const { return width <= 0 || height <= 0; }
};

} // namespace tesmar
