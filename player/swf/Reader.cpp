#include "player/swf/Reader.h"
#include <cstring>

namespace tesmar::swf {

uint8_t Reader::u8() {
    align();
    if (pos_ >= bytes_.size()) { fail(); return 0; }
    return bytes_[pos_++];
}

uint16_t Reader::u16() {
    uint16_t lo = u8();
    uint16_t value = static_cast<uint16_t>(lo | (u8() << 8));
    return failed_ ? 0 : value;
}

uint32_t Reader::u32() {
    uint32_t lo = u16();
    uint32_t value = lo | (uint32_t(u16()) << 16);
    return failed_ ? 0 : value;
}

double Reader::fixed8() { return s16() / 256.0; }
double Reader::fixed16() { return s32() / 65536.0; }

float Reader::f32() {
    uint32_t bits = u32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::span<const uint8_t> Reader::take(size_t count) {
    align();
    if (count > bytes_.size() - pos_) { fail(); return {}; }
    auto part = bytes_.subspan(pos_, count);
    pos_ += count;
    return part;
}

std::span<const uint8_t> Reader::rest() { return take(bytes_.size() - pos_); }

std::string Reader::cstring() {
    align();
    const size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != 0) ++pos_;
    if (pos_ >= bytes_.size()) { fail(); return {}; }
    std::string s(reinterpret_cast<const char*>(bytes_.data() + start), pos_ - start);
    ++pos_;
    return s;
}

std::string Reader::string(size_t length) {
    auto raw = take(length);
    std::string s(reinterpret_cast<const char*>(raw.data()), raw.size());
    // Names are often stored with their terminating zero included.
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

uint32_t Reader::ubits(unsigned count) {
    uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (bitCount_ == 0) {
            if (pos_ >= bytes_.size()) { fail(); return 0; }
            bitBuffer_ = bytes_[pos_++];
            bitCount_ = 8;
        }
        --bitCount_;
        value = (value << 1) | ((bitBuffer_ >> bitCount_) & 1u);
    }
    return value;
}

int32_t Reader::sbits(unsigned count) {
    if (count == 0) return 0;
    uint32_t value = ubits(count);
    if (count < 32 && (value & (1u << (count - 1)))) value |= ~0u << count;
    return static_cast<int32_t>(value);
}

double Reader::fbits(unsigned count) { return sbits(count) / 65536.0; }

Rect Reader::rect() {
    align();
    unsigned bits = ubits(5);
    Rect r;
    r.xMin = sbits(bits);
    r.xMax = sbits(bits);
    r.yMin = sbits(bits);
    r.yMax = sbits(bits);
    align();
    return r;
}

Matrix Reader::matrix() {
    align();
    Matrix m;
    if (flag()) {
        unsigned bits = ubits(5);
        m.a = fbits(bits);
        m.d = fbits(bits);
    }
    if (flag()) {
        unsigned bits = ubits(5);
        m.b = fbits(bits);
        m.c = fbits(bits);
    }
    unsigned bits = ubits(5);
    m.tx = sbits(bits);
    m.ty = sbits(bits);
    align();
    return m;
}

ColorTransform Reader::colorTransform(bool withAlpha) {
    align();
    ColorTransform cx;
    bool hasAdd = flag();
    bool hasMult = flag();
    unsigned bits = ubits(4);
    if (hasMult) {
        cx.rMult = sbits(bits);
        cx.gMult = sbits(bits);
        cx.bMult = sbits(bits);
        if (withAlpha) cx.aMult = sbits(bits);
    }
    if (hasAdd) {
        cx.rAdd = sbits(bits);
        cx.gAdd = sbits(bits);
        cx.bAdd = sbits(bits);
        if (withAlpha) cx.aAdd = sbits(bits);
    }
    align();
    return cx;
}

Rgba Reader::rgb() {
    Rgba c;
    c.r = u8(); c.g = u8(); c.b = u8();
    return c;
}

Rgba Reader::rgba() {
    Rgba c = rgb();
    c.a = u8();
    return c;
}

Rgba Reader::argb() {
    Rgba c;
    c.a = u8(); c.r = u8(); c.g = u8(); c.b = u8();
    return c;
}

} // namespace tesmar::swf
