#pragma once
// Bounds-checked reading of action record payloads. Reading past the end
// yields zeros and empty strings and marks the reader as failed.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tesmar::script {

class ActionReader {
public:
    // Up to SWF 5 action strings are Latin-1; later ones are UTF-8.
    ActionReader(const std::vector<uint8_t>& bytes, size_t pos, size_t end, bool latin1 = false)
        : bytes_(bytes), pos_(pos), end_(end), latin1_(latin1) {}

    bool atEnd() const { return pos_ >= end_; }
    bool failed() const { return failed_; }
    size_t position() const { return pos_; }

    uint8_t u8()
    {
        if (pos_ >= end_) { failed_ = true; return 0; }
        return bytes_[pos_++];
    }
    uint16_t u16()
    {
        uint16_t lo = u8();
        return uint16_t(lo | (u8() << 8));
    }
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32()
    {
        uint32_t lo = u16();
        return lo | (uint32_t(u16()) << 16);
    }
    float f32()
    {
        uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    // Action doubles store their high 32-bit word first.
    double f64()
    {
        uint64_t high = u32();
        uint64_t low = u32();
        uint64_t bits = (high << 32) | low;
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    std::string cstring()
    {
        size_t start = pos_;
        while (pos_ < end_ && bytes_[pos_] != 0) ++pos_;
        std::string s;
        if (latin1_) {
            for (size_t i = start; i < pos_; ++i) {
                uint8_t c = bytes_[i];
                if (c < 0x80) {
                    s += char(c);
                } else {
                    s += char(0xC0 | (c >> 6));
                    s += char(0x80 | (c & 0x3F));
                }
            }
        } else {
            s.assign(reinterpret_cast<const char*>(bytes_.data()) + start, pos_ - start);
        }
        if (pos_ < end_) ++pos_; else failed_ = true;
        return s;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t pos_, end_;
    bool latin1_;
    bool failed_ = false;
};

} // namespace tesmar::script
