#pragma once
// Builds small SWF files for tests: a bit writer for the format's records
// and helpers for the tags the tests need.
#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

namespace tesmar::test {

class BitWriter {
public:
    std::vector<uint8_t> bytes;

    void flush() {
        if (bitCount_ > 0) {
            bytes.push_back(uint8_t(buffer_ << (8 - bitCount_)));
            buffer_ = 0;
            bitCount_ = 0;
        }
    }
    void u8(uint8_t v) { flush(); bytes.push_back(v); }
    void u16(uint16_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
    void u32(uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); }
    void raw(const std::vector<uint8_t>& data) { flush(); bytes.insert(bytes.end(), data.begin(), data.end()); }
    void cstring(const std::string& s) { flush(); bytes.insert(bytes.end(), s.begin(), s.end()); bytes.push_back(0); }
    void ubits(uint32_t value, unsigned count) {
        for (unsigned i = count; i-- > 0;) {
            buffer_ = uint8_t((buffer_ << 1) | ((value >> i) & 1));
            if (++bitCount_ == 8) { bytes.push_back(buffer_); buffer_ = 0; bitCount_ = 0; }
        }
    }
    void sbits(int32_t value, unsigned count) { ubits(uint32_t(value), count); }
    void rect(int xMin, int xMax, int yMin, int yMax) {
        flush();
        ubits(16, 5);
        sbits(xMin, 16); sbits(xMax, 16); sbits(yMin, 16); sbits(yMax, 16);
        flush();
    }
    // Scale and translation only (twips); scale in 16.16.
    void matrix(double scaleX = 1, double scaleY = 1, int tx = 0, int ty = 0) {
        flush();
        const bool scaled = scaleX != 1 || scaleY != 1;
        ubits(scaled, 1);
        if (scaled) { ubits(24, 5); sbits(int32_t(scaleX * 65536), 24); sbits(int32_t(scaleY * 65536), 24); }
        ubits(0, 1);
        ubits(20, 5); sbits(tx, 20); sbits(ty, 20);
        flush();
    }

private:
    uint8_t buffer_ = 0;
    unsigned bitCount_ = 0;
};

inline std::vector<uint8_t> tag(uint16_t code, const std::vector<uint8_t>& body, bool longForm = false) {
    BitWriter w;
    if (body.size() < 0x3F && !longForm) {
        w.u16(uint16_t((code << 6) | body.size()));
    } else {
        w.u16(uint16_t((code << 6) | 0x3F));
        w.u32(uint32_t(body.size()));
    }
    w.raw(body);
    return w.bytes;
}

// A movie of the given tags (End is appended), 550 x 400 pixels, 12 fps.
inline std::vector<uint8_t> movie(const std::vector<std::vector<uint8_t>>& tags, uint8_t version = 6,
                                  bool compress = false, uint16_t frameCount = 1) {
    BitWriter body;
    body.rect(0, 11000, 0, 8000);
    body.u16(12 << 8);
    body.u16(frameCount);
    for (const auto& t : tags) body.raw(t);
    body.raw(tag(0, {}));
    BitWriter file;
    file.u8(compress ? 'C' : 'F'); file.u8('W'); file.u8('S');
    file.u8(version);
    file.u32(uint32_t(body.bytes.size() + 8));
    if (!compress) {
        file.raw(body.bytes);
    } else {
        uLongf size = compressBound(body.bytes.size());
        std::vector<uint8_t> packed(size);
        compress2(packed.data(), &size, body.bytes.data(), body.bytes.size(), 9);
        packed.resize(size);
        file.raw(packed);
    }
    return file.bytes;
}

// DefineShape (1) of a solid rectangle [0, w] x [0, h] twips.
inline std::vector<uint8_t> rectangleShape(uint16_t id, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    BitWriter s;
    s.u16(id);
    s.rect(0, w, 0, h);
    s.u8(1); s.u8(0x00); s.u8(r); s.u8(g); s.u8(b);   // one solid fill
    s.u8(0);                                           // no line styles
    s.ubits(1, 4); s.ubits(0, 4);                      // fill bits, line bits
    // Style change: move to (0,0), fill1 = 1.
    s.ubits(0, 1); s.ubits(0x05, 5); s.ubits(1, 5); s.sbits(0, 1); s.sbits(0, 1); s.ubits(1, 1);
    auto line = [&](int dx, int dy) {
        s.ubits(1, 1); s.ubits(1, 1); s.ubits(14, 4); s.ubits(1, 1); s.sbits(dx, 16); s.sbits(dy, 16);
    };
    line(w, 0); line(0, h); line(-w, 0); line(0, -h);
    s.ubits(0, 6);   // end
    s.flush();
    return tag(2, s.bytes);
}

// PlaceObject2 of a new character at depth, translated by (x, y) twips.
inline std::vector<uint8_t> place(uint16_t depth, uint16_t id, int x = 0, int y = 0, int clipDepth = 0,
                                  const std::string& name = {}) {
    BitWriter p;
    p.u8(uint8_t(0x02 | 0x04 | (clipDepth ? 0x40 : 0) | (name.empty() ? 0 : 0x20)));
    p.u16(depth);
    p.u16(id);
    p.matrix(1, 1, x, y);
    if (!name.empty()) p.cstring(name);
    if (clipDepth) p.u16(uint16_t(clipDepth));
    return tag(26, p.bytes);
}

// PlaceObject2 that moves the object at depth to (x, y).
inline std::vector<uint8_t> move(uint16_t depth, int x, int y) {
    BitWriter p;
    p.u8(0x01 | 0x04);
    p.u16(depth);
    p.matrix(1, 1, x, y);
    return tag(26, p.bytes);
}

inline std::vector<uint8_t> remove(uint16_t depth) {
    BitWriter p;
    p.u16(depth);
    return tag(28, p.bytes);
}

inline std::vector<uint8_t> showFrame() { return tag(1, {}); }

inline std::vector<uint8_t> doAction(const std::vector<uint8_t>& actions) { return tag(12, actions); }

inline std::vector<uint8_t> sprite(uint16_t id, const std::vector<std::vector<uint8_t>>& tags, uint16_t frames) {
    BitWriter s;
    s.u16(id);
    s.u16(frames);
    for (const auto& t : tags) s.raw(t);
    s.raw(tag(0, {}));
    return tag(39, s.bytes);
}

} // namespace tesmar::test
