// GIF 87a/89a decoding: the first image of the file, placed on its logical
// screen, with the transparent colour of its graphic control block.
#include <array>
#include "host/ImageCodecs.h"

namespace tesmar::host {

namespace {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
    bool has(size_t n) const { return data_.size() - at_ >= n; }
    uint8_t u8() { return has(1) ? data_[at_++] : (failed_ = true, 0); }
    uint16_t u16() {
        const uint16_t low = u8();
        return uint16_t(low | u8() << 8);
    }
    void skip(size_t n) {
        if (has(n)) at_ += n;
        else failed_ = true, at_ = data_.size();
    }
    bool failed() const { return failed_; }
    // The data sub-blocks that follow, joined; their end marker is consumed.
    std::vector<uint8_t> subBlocks() {
        std::vector<uint8_t> out;
        for (uint8_t size = u8(); size != 0 && !failed_; size = u8()) {
            if (!has(size)) { failed_ = true; break; }
            out.insert(out.end(), data_.begin() + long(at_), data_.begin() + long(at_ + size));
            at_ += size;
        }
        return out;
    }

private:
    std::span<const uint8_t> data_;
    size_t at_ = 0;
    bool failed_ = false;
};

using Palette = std::array<uint32_t, 256>;

Palette readPalette(ByteReader& in, int entries) {
    Palette palette{};
    for (int i = 0; i < entries; ++i) {
        const uint32_t r = in.u8(), g = in.u8(), b = in.u8();
        palette[size_t(i)] = 0xFF000000u | r << 16 | g << 8 | b;
    }
    return palette;
}

// Variable-width LZW codes into colour indices; stops at the end code, when
// the data runs out, or once `count` indices are out.
std::vector<uint8_t> decompress(const std::vector<uint8_t>& data, int minCodeSize, size_t count) {
    std::vector<uint8_t> out;
    if (minCodeSize < 2 || minCodeSize > 8) return out;
    out.reserve(count);
    const int clear = 1 << minCodeSize, end = clear + 1;
    std::vector<uint16_t> prefix(4096);
    std::vector<uint8_t> suffix(4096), stack;
    stack.reserve(4096);
    for (int i = 0; i < clear; ++i) suffix[size_t(i)] = uint8_t(i);
    int codeSize = minCodeSize + 1, next = end + 1, previous = -1;
    uint8_t first = 0;
    uint32_t bits = 0;
    int bitCount = 0;
    size_t at = 0;
    while (out.size() < count) {
        while (bitCount < codeSize && at < data.size()) {
            bits |= uint32_t(data[at++]) << bitCount;
            bitCount += 8;
        }
        if (bitCount < codeSize) break;
        const int code = int(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) break;
        if (previous < 0) {
            if (code >= clear) break;   // the first code must be a colour
            out.push_back(uint8_t(code));
            previous = code;
            first = uint8_t(code);
            continue;
        }
        int walk = code;
        if (code >= next) {
            if (code > next) break;     // a code not yet defined: corrupt data
            stack.push_back(first);
            walk = previous;
        }
        while (walk >= clear) {
            stack.push_back(suffix[size_t(walk)]);
            walk = prefix[size_t(walk)];
        }
        first = uint8_t(walk);
        stack.push_back(first);
        while (!stack.empty() && out.size() < count) {
            out.push_back(stack.back());
            stack.pop_back();
        }
        stack.clear();
        if (next < 4096) {
            prefix[size_t(next)] = uint16_t(previous);
            suffix[size_t(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = code;
    }
    return out;
}

// The rows of an interlaced image in the order they are stored.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass]) rows.push_back(y);
    return rows;
}

} // namespace

std::optional<Image> decodeGif(std::span<const uint8_t> data) {
    ByteReader in(data);
    if (!in.has(13) || in.u8() != 'G' || in.u8() != 'I' || in.u8() != 'F') return std::nullopt;
    in.skip(3);   // "87a" or "89a"
    const int screenWidth = in.u16(), screenHeight = in.u16();
    const uint8_t flags = in.u8();
    in.skip(2);   // background colour index, aspect ratio
    if (screenWidth <= 0 || screenHeight <= 0 || screenWidth > kMaxImageSide || screenHeight > kMaxImageSide ||
        int64_t(screenWidth) * screenHeight > kMaxImagePixels)
        return std::nullopt;
    Palette global{};
    if (flags & 0x80) global = readPalette(in, 2 << (flags & 7));
    int transparent = -1;
    while (!in.failed()) {
        const uint8_t block = in.u8();
        if (block == 0x21) {                       // extension
            const uint8_t label = in.u8();
            const std::vector<uint8_t> body = in.subBlocks();
            if (label == 0xF9 && body.size() >= 4 && (body[0] & 1)) transparent = body[3];
            continue;
        }
        if (block != 0x2C) return std::nullopt;    // the trailer before any image, or junk
        const int left = in.u16(), top = in.u16(), width = in.u16(), height = in.u16();
        const uint8_t imageFlags = in.u8();
        Palette palette = global;
        if (imageFlags & 0x80) palette = readPalette(in, 2 << (imageFlags & 7));
        if (transparent >= 0) palette[size_t(transparent)] = 0;
        const int minCodeSize = in.u8();
        const std::vector<uint8_t> compressed = in.subBlocks();
        if (in.failed()) return std::nullopt;
        const std::vector<uint8_t> indices = decompress(compressed, minCodeSize, size_t(width) * size_t(height));
        Image image;
        image.width = screenWidth;
        image.height = screenHeight;
        image.pixels.assign(size_t(screenWidth) * size_t(screenHeight), 0);
        const std::vector<int> rows = rowOrder(height, imageFlags & 0x40);
        for (size_t i = 0; i < indices.size(); ++i) {
            const int x = left + int(i % size_t(width)), y = top + rows[i / size_t(width)];
            if (x < screenWidth && y < screenHeight) image.pixels[size_t(y) * size_t(screenWidth) + size_t(x)] = palette[indices[i]];
        }
        return image;
    }
    return std::nullopt;
}

} // namespace tesmar::host
