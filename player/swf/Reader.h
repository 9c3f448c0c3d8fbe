#pragma once
// A bounds-checked reader over a byte range of a SWF file: little-endian
// integers, bit fields (most significant bit first), fixed-point numbers,
// strings and the format's compound records. Reading past the end never
// touches memory outside the range: it marks the reader failed and returns
// zeros, so that a parser can read a whole record and check once.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include "player/geom/Color.h"
#include "player/geom/Geometry.h"

namespace tesmar::swf {

class Reader {
public:
    Reader() = default;
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool failed() const { return failed_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    size_t position() const { return pos_; }
    size_t remaining() const { return failed_ ? 0 : bytes_.size() - pos_; }
    std::span<const uint8_t> bytes() const { return bytes_; }
    void fail() { failed_ = true; pos_ = bytes_.size(); }

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int16_t s16() { return static_cast<int16_t>(u16()); }
    int32_t s32() { return static_cast<int32_t>(u32()); }
    double fixed8();    // 8.8 signed
    double fixed16();   // 16.16 signed
    float f32();
    // Up to `count` bytes (fewer, and failed, when the range ends first).
    std::span<const uint8_t> take(size_t count);
    std::span<const uint8_t> rest();
    void skip(size_t count) { take(count); }
    // A zero-terminated string; an unterminated one fails.
    std::string cstring();
    // A string of a known byte length (font names and the like).
    std::string string(size_t length);

    // Bit fields: consecutive calls share a byte; any byte read realigns.
    uint32_t ubits(unsigned count);
    int32_t sbits(unsigned count);
    double fbits(unsigned count);   // signed 16.16
    bool flag() { return ubits(1) != 0; }
    void align() { bitCount_ = 0; }

    Rect rect();                       // in twips
    Matrix matrix();                   // translation in twips
    ColorTransform colorTransform(bool withAlpha);
    Rgba rgb();
    Rgba rgba();
    Rgba argb();

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool failed_ = false;
    uint8_t bitBuffer_ = 0;
    unsigned bitCount_ = 0;
};

} // namespace tesmar::swf
