#pragma once
// Colours and colour transforms as the SWF format defines them.
#include <cstdint>
#include <algorithm>

namespace tesmar {

// A straight (not premultiplied) colour with alpha, 0-255 each.
struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};

// result = clamp(channel * mult / 256 + add), per channel, alpha included.
// Multipliers are 8.8 fixed point (256 is 1.0) as in the file format.
struct ColorTransform {
    int32_t rMult = 256, gMult = 256, bMult = 256, aMult = 256;
    int32_t rAdd = 0, gAdd = 0, bAdd = 0, aAdd = 0;

    bool isIdentity() const {
        return rMult == 256 && gMult == 256 && bMult == 256 && aMult == 256 &&
               rAdd == 0 && gAdd == 0 && bAdd == 0 && aAdd == 0;
    }
    Rgba apply(Rgba c) const {
        auto ch = [](int v, int mult, int add) {
            return static_cast<uint8_t>(std::clamp(v * mult / 256 + add, 0, 255));
        };
        return {ch(c.r, rMult, rAdd), ch(c.g, gMult, gAdd), ch(c.b, bMult, bAdd), ch(c.a, aMult, aAdd)};
    }
    // (*this * inner) applies inner first, then *this: a child's transform
    // composed inside its parent's is parent * child.
    ColorTransform operator*(const ColorTransform& inner) const {
        ColorTransform r;
        r.rMult = rMult * inner.rMult / 256; r.rAdd = rAdd + rMult * inner.rAdd / 256;
        r.gMult = gMult * inner.gMult / 256; r.gAdd = gAdd + gMult * inner.gAdd / 256;
        r.bMult = bMult * inner.bMult / 256; r.bAdd = bAdd + bMult * inner.bAdd / 256;
        r.aMult = aMult * inner.aMult / 256; r.aAdd = aAdd + aMult * inner.aAdd / 256;
        return r;
    }
    bool operator==(const ColorTransform&) const = default;
};

} // namespace tesmar
