#pragma once
// Writes the SWF format's basic records: little-endian integers, bit fields
// (most significant bit first, as the reader takes them), rectangles,
// matrices, colours and colour transforms. The counterpart of Reader, used
// by the program that builds the loader movies.
#include <cstdint>
#include <span>
#include <string>
#include <vector>
#include "player/geom/Color.h"
#include "player/geom/Geometry.h"

namespace tesmar::swf {

class Writer {
public:
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> take() { align(); return std::move(bytes_); }
    // Bytes written so far (a partly filled bit byte counts as written).
    size_t size() const { return bytes_.size() + (bitCount_ ? 1 : 0); }

    void u8(uint8_t v);
    void u16(uint16_t v);
    void u32(uint32_t v);
    void s16(int16_t v) { u16(uint16_t(v)); }
    void raw(std::span<const uint8_t> data);
    void cstring(const std::string& s);
    // Overwrites a 16-bit value written earlier (sizes and offsets known late).
    void patchU16(size_t at, uint16_t v);

    // Bit fields: consecutive calls share a byte; any byte write realigns.
    void ubits(uint32_t value, unsigned count);
    void sbits(int32_t value, unsigned count) { ubits(uint32_t(value), count); }
    void align();

    void rect(const Rect& twips);          // coordinates rounded to whole twips
    void matrix(const Matrix& m);           // translation rounded to twips
    void colorTransform(const ColorTransform& cx, bool withAlpha);
    void rgb(Rgba c);
    void rgba(Rgba c);

private:
    std::vector<uint8_t> bytes_;
    uint8_t bitBuffer_ = 0;
    unsigned bitCount_ = 0;
};

// The fewest bits that hold every value as a signed (two's complement) or
// unsigned bit field.
unsigned signedBits(std::initializer_list<int32_t> values);
unsigned unsignedBits(std::initializer_list<uint32_t> values);

// A value in 16.16 fixed point, as matrices store their scale and skew.
int32_t toFixed16(double v);

} // namespace tesmar::swf
