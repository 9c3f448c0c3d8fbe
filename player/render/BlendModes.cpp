#include "player/render/BlendModes.h"
#include <algorithm>

namespace tesmar::render {
namespace {

int mul(int a, int b) { return (a * b + 127) / 255; }

// The separable modes on premultiplied channels: the part of the source
// outside the backdrop, the part of the backdrop outside the source, and
// where both are, the mode's mix of the two.
int mixChannel(BlendMode mode, int s, int d, int sa, int da) {
    int apart = mul(s, 255 - da) + mul(d, 255 - sa);
    switch (mode) {
    case BlendMode::Multiply: return apart + mul(s, d);
    case BlendMode::Screen: return s + d - mul(s, d);
    case BlendMode::Lighten: return apart + std::max(mul(s, da), mul(d, sa));
    case BlendMode::Darken: return apart + std::min(mul(s, da), mul(d, sa));
    case BlendMode::Difference: return s + d - 2 * std::min(mul(s, da), mul(d, sa));
    case BlendMode::Add: return std::min(255, s + d);
    case BlendMode::Subtract: return std::max(0, d - s);
    case BlendMode::Invert: return mul(d, 255 - sa) + mul(da - d, sa);
    case BlendMode::Overlay:
    case BlendMode::Hardlight: {
        bool darkHalf = mode == BlendMode::Overlay ? 2 * d <= da : 2 * s <= sa;
        return apart + (darkHalf ? 2 * mul(s, d) : mul(sa, da) - 2 * mul(da - d, sa - s));
    }
    default: return s + mul(d, 255 - sa);   // normal and layer
    }
}

uint32_t blendPixel(uint32_t dst, uint32_t src, BlendMode mode) {
    int sa = int(src >> 24), da = int(dst >> 24);
    if (sa == 0) return dst;   // nothing drawn here
    if (mode == BlendMode::Alpha || mode == BlendMode::Erase) {
        // The layer's alpha cuts into what is beneath it; its colours are unused.
        int keep = mode == BlendMode::Alpha ? sa : 255 - sa;
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) out |= uint32_t(mul(int(dst >> shift & 0xFF), keep)) << shift;
        return out;
    }
    int alpha = mode == BlendMode::Add ? std::min(255, sa + da) : sa + da - mul(sa, da);
    uint32_t out = uint32_t(alpha) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        int c = mixChannel(mode, int(src >> shift & 0xFF), int(dst >> shift & 0xFF), sa, da);
        out |= uint32_t(std::clamp(c, 0, alpha)) << shift;
    }
    return out;
}

} // namespace

bool needsLayer(uint8_t storedMode) {
    return storedMode >= uint8_t(BlendMode::Layer) && storedMode <= uint8_t(BlendMode::Hardlight);
}

void blendRow(uint32_t* dst, const uint32_t* src, int count, BlendMode mode) {
    for (int i = 0; i < count; ++i) dst[i] = blendPixel(dst[i], src[i], mode);
}

} // namespace tesmar::render
