#include "player/swf/Writer.h"
#include <cmath>

namespace tesmar::swf {

namespace {

int32_t twips(double v) { return int32_t(std::lround(v)); }

} // namespace

unsigned signedBits(std::initializer_list<int32_t> values) {
    unsigned bits = 0;
    for (int32_t v : values) {
        // A signed field of n bits holds -2^(n-1) .. 2^(n-1)-1.
        uint32_t magnitude = v < 0 ? ~uint32_t(v) : uint32_t(v);
        unsigned n = 1;
        while (magnitude) { ++n; magnitude >>= 1; }
        bits = std::max(bits, n);
    }
    return bits;
}

unsigned unsignedBits(std::initializer_list<uint32_t> values) {
    unsigned bits = 0;
    for (uint32_t v : values) {
        unsigned n = 0;
        while (v) { ++n; v >>= 1; }
        bits = std::max(bits, n);
    }
    return bits;
}

int32_t toFixed16(double v) { return int32_t(std::lround(v * 65536.0)); }

void Writer::u8(uint8_t v) {
    align();
    bytes_.push_back(v);
}

void Writer::u16(uint16_t v) {
    u8(uint8_t(v));
    u8(uint8_t(v >> 8));
}

void Writer::u32(uint32_t v) {
    u16(uint16_t(v));
    u16(uint16_t(v >> 16));
}

void Writer::raw(std::span<const uint8_t> data) {
    align();
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void Writer::cstring(const std::string& s) {
    align();
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    bytes_.push_back(0);
}

void Writer::patchU16(size_t at, uint16_t v) {
    bytes_.at(at) = uint8_t(v);
    bytes_.at(at + 1) = uint8_t(v >> 8);
}

void Writer::ubits(uint32_t value, unsigned count) {
    for (unsigned i = count; i-- > 0;) {
        bitBuffer_ = uint8_t((bitBuffer_ << 1) | ((value >> i) & 1));
        if (++bitCount_ == 8) {
            bytes_.push_back(bitBuffer_);
            bitBuffer_ = 0;
            bitCount_ = 0;
        }
    }
}

void Writer::align() {
    if (bitCount_ == 0) return;
    bytes_.push_back(uint8_t(bitBuffer_ << (8 - bitCount_)));
    bitBuffer_ = 0;
    bitCount_ = 0;
}

void Writer::rect(const Rect& r) {
    align();
    const int32_t x0 = twips(r.xMin), x1 = twips(r.xMax), y0 = twips(r.yMin), y1 = twips(r.yMax);
    const unsigned bits = signedBits({x0, x1, y0, y1});
    ubits(bits, 5);
    sbits(x0, bits);
    sbits(x1, bits);
    sbits(y0, bits);
    sbits(y1, bits);
    align();
}

void Writer::matrix(const Matrix& m) {
    align();
    const bool scaled = m.a != 1 || m.d != 1;
    ubits(scaled, 1);
    if (scaled) {
        const int32_t a = toFixed16(m.a), d = toFixed16(m.d);
        const unsigned bits = signedBits({a, d});
        ubits(bits, 5);
        sbits(a, bits);
        sbits(d, bits);
    }
    const bool skewed = m.b != 0 || m.c != 0;
    ubits(skewed, 1);
    if (skewed) {
        const int32_t b = toFixed16(m.b), c = toFixed16(m.c);
        const unsigned bits = signedBits({b, c});
        ubits(bits, 5);
        sbits(b, bits);
        sbits(c, bits);
    }
    const int32_t tx = twips(m.tx), ty = twips(m.ty);
    // A zero translation is written with no bits at all.
    const unsigned bits = tx == 0 && ty == 0 ? 0 : signedBits({tx, ty});
    ubits(bits, 5);
    sbits(tx, bits);
    sbits(ty, bits);
    align();
}

void Writer::colorTransform(const ColorTransform& cx, bool withAlpha) {
    align();
    const bool hasMult = cx.rMult != 256 || cx.gMult != 256 || cx.bMult != 256 ||
                         (withAlpha && cx.aMult != 256);
    const bool hasAdd = cx.rAdd != 0 || cx.gAdd != 0 || cx.bAdd != 0 || (withAlpha && cx.aAdd != 0);
    unsigned bits = 0;
    if (hasMult) bits = std::max(bits, signedBits({cx.rMult, cx.gMult, cx.bMult, withAlpha ? cx.aMult : 0}));
    if (hasAdd) bits = std::max(bits, signedBits({cx.rAdd, cx.gAdd, cx.bAdd, withAlpha ? cx.aAdd : 0}));
    ubits(hasAdd, 1);
    ubits(hasMult, 1);
    ubits(bits, 4);
    auto four = [&](int32_t r, int32_t g, int32_t b, int32_t a) {
        sbits(r, bits);
        sbits(g, bits);
        sbits(b, bits);
        if (withAlpha) sbits(a, bits);
    };
    if (hasMult) four(cx.rMult, cx.gMult, cx.bMult, cx.aMult);
    if (hasAdd) four(cx.rAdd, cx.gAdd, cx.bAdd, cx.aAdd);
    align();
}

void Writer::rgb(Rgba c) {
    u8(c.r);
    u8(c.g);
    u8(c.b);
}

void Writer::rgba(Rgba c) {
    rgb(c);
    u8(c.a);
}

} // namespace tesmar::swf
