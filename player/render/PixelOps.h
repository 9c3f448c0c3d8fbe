#pragma once
// Arithmetic on premultiplied 0xAARRGGBB pixels.
#include <cstdint>
#include "player/geom/Color.h"

namespace tesmar::render {

// Every channel times a / 255, rounded; two channels at a time.
inline uint32_t scalePixel(uint32_t p, uint32_t a) {
    uint32_t rb = (p & 0x00FF00FFu) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t ag = ((p >> 8) & 0x00FF00FFu) * a + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// Source over destination, both premultiplied.
inline uint32_t over(uint32_t dst, uint32_t src) {
    return src + scalePixel(dst, 255 - (src >> 24));
}

// src at coverage (0-255) over dst.
inline uint32_t blendCovered(uint32_t dst, uint32_t src, uint32_t coverage) {
    return over(dst, scalePixel(src, coverage));
}

inline uint32_t premultiplied(Rgba c) {
    auto mul = [a = uint32_t(c.a)](uint32_t v) { return (v * a + 127) / 255; };
    return uint32_t(c.a) << 24 | mul(c.r) << 16 | mul(c.g) << 8 | mul(c.b);
}

inline Rgba straight(uint32_t p) {
    uint32_t a = p >> 24;
    if (a == 0) return {0, 0, 0, 0};
    auto unmul = [a](uint32_t v) { return uint8_t(v >= a ? 255 : (v * 255 + a / 2) / a); };
    return {unmul(p >> 16 & 0xFF), unmul(p >> 8 & 0xFF), unmul(p & 0xFF), uint8_t(a)};
}

// A colour transform applied to a premultiplied pixel.
inline uint32_t transformPixel(uint32_t p, const ColorTransform& cx) {
    return premultiplied(cx.apply(straight(p)));
}

} // namespace tesmar::render
