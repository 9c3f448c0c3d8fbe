// PNG reading and writing over zlib: chunks with CRCs, per-row filters,
// Adam7 interlacing, every colour type and bit depth the format allows.
#include "host/ImageCodecs.h"
#include <zlib.h>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

namespace tesmar::host {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t readBE32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void appendBE32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24)); out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8)); out.push_back(uint8_t(v));
}

uint32_t premultiply(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | mul(r) << 16 | mul(g) << 8 | mul(b);
}

struct Header {
    uint32_t width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    bool interlaced = false;

    int channels() const {
        switch (colorType) {
        case 0: return 1;   // grey
        case 2: return 3;   // RGB
        case 3: return 1;   // palette index
        case 4: return 2;   // grey + alpha
        case 6: return 4;   // RGBA
        default: return 0;
        }
    }
    bool valid() const {
        int d = bitDepth;
        bool depthOk = colorType == 0 ? (d == 1 || d == 2 || d == 4 || d == 8 || d == 16)
                     : colorType == 3 ? (d == 1 || d == 2 || d == 4 || d == 8)
                     : (d == 8 || d == 16);
        return channels() > 0 && depthOk && width > 0 && height > 0 && width <= uint32_t(kMaxImageSide) &&
               height <= uint32_t(kMaxImageSide) && int64_t(width) * height <= kMaxImagePixels;
    }
    size_t bitsPerPixel() const { return size_t(channels()) * bitDepth; }
    size_t rowBytes(uint32_t w) const { return (w * bitsPerPixel() + 7) / 8; }
};

// Undoes one row's filter in place; prev is the previous unfiltered row (zeros for the first).
bool unfilterRow(uint8_t type, uint8_t* row, const uint8_t* prev, size_t length, size_t bpp) {
    switch (type) {
    case 0: return true;
    case 1: for (size_t i = bpp; i < length; ++i) row[i] = uint8_t(row[i] + row[i - bpp]); return true;
    case 2: for (size_t i = 0; i < length; ++i) row[i] = uint8_t(row[i] + prev[i]); return true;
    case 3:
        for (size_t i = 0; i < length; ++i) {
            unsigned left = i >= bpp ? row[i - bpp] : 0;
            row[i] = uint8_t(row[i] + (left + prev[i]) / 2);
        }
        return true;
    case 4:
        for (size_t i = 0; i < length; ++i) {
            int a = i >= bpp ? row[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int predictor = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
            row[i] = uint8_t(row[i] + predictor);
        }
        return true;
    default: return false;
    }
}

class PngDecoder {
public:
    std::optional<Image> decode(std::span<const uint8_t> data) {
        if (data.size() < 8 || std::memcmp(data.data(), kSignature, 8) != 0) return std::nullopt;
        std::vector<uint8_t> compressed;
        size_t pos = 8;
        bool sawHeader = false;
        while (pos + 12 <= data.size()) {
            uint32_t length = readBE32(&data[pos]);
            if (length > data.size() - pos - 12) return std::nullopt;
            const uint8_t* type = &data[pos + 4];
            const uint8_t* body = &data[pos + 8];
            uint32_t crc = readBE32(body + length);
            if (crc32(crc32(0, nullptr, 0), type, length + 4) != crc) return std::nullopt;
            pos += size_t(length) + 12;
            if (std::memcmp(type, "IHDR", 4) == 0) {
                if (length < 13) return std::nullopt;
                header_ = {readBE32(body), readBE32(body + 4), body[8], body[9], body[12] == 1};
                if (!header_.valid() || body[10] != 0 || body[11] != 0 || body[12] > 1) return std::nullopt;
                sawHeader = true;
            } else if (std::memcmp(type, "PLTE", 4) == 0) {
                for (uint32_t i = 0; i + 2 < length && i / 3 < 256; i += 3)
                    palette_[i / 3] = premultiply(body[i], body[i + 1], body[i + 2], 255);
                paletteSize_ = std::min<uint32_t>(length / 3, 256);
            } else if (std::memcmp(type, "tRNS", 4) == 0) {
                readTransparency(body, length);
            } else if (std::memcmp(type, "IDAT", 4) == 0) {
                compressed.insert(compressed.end(), body, body + length);
            } else if (std::memcmp(type, "IEND", 4) == 0) {
                break;
            }
        }
        if (!sawHeader || (header_.colorType == 3 && paletteSize_ == 0)) return std::nullopt;
        return decodePixels(compressed);
    }

private:
    void readTransparency(const uint8_t* body, uint32_t length) {
        if (header_.colorType == 3) {
            for (uint32_t i = 0; i < length && i < paletteSize_; ++i) {
                uint32_t c = palette_[i], a = body[i];
                // The palette was premultiplied as opaque; redo it with this alpha.
                palette_[i] = premultiply(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF, a);
            }
        } else if (header_.colorType == 0 && length >= 2) {
            transparentKey_ = {int32_t(body[0] << 8 | body[1]), -1, -1};
        } else if (header_.colorType == 2 && length >= 6) {
            transparentKey_ = {int32_t(body[0] << 8 | body[1]), int32_t(body[2] << 8 | body[3]),
                               int32_t(body[4] << 8 | body[5])};
        }
    }

    std::optional<Image> decodePixels(const std::vector<uint8_t>& compressed) {
        // Seven passes when interlaced, one otherwise: origin and step per axis.
        static constexpr int kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        static constexpr int kSingle[1][4] = {{0, 0, 1, 1}};
        const auto* passes = header_.interlaced ? kAdam7 : kSingle;
        int passCount = header_.interlaced ? 7 : 1;

        size_t expected = 0;
        for (int p = 0; p < passCount; ++p) {
            auto [w, h] = passSize(passes[p]);
            if (w && h) expected += (header_.rowBytes(w) + 1) * h;
        }
        // Deflate cannot expand data more than about 1032 times: a header that
        // claims more than that is not believed.
        if (expected / 1032 > compressed.size()) return std::nullopt;
        std::vector<uint8_t> raw(expected);
        uLongf rawLength = uLongf(expected);
        int status = uncompress(raw.data(), &rawLength, compressed.data(), uLong(compressed.size()));
        if ((status != Z_OK && status != Z_BUF_ERROR) || rawLength != expected) return std::nullopt;

        Image image(int(header_.width), int(header_.height));
        size_t bpp = std::max<size_t>(1, header_.bitsPerPixel() / 8);
        uint8_t* cursor = raw.data();
        for (int p = 0; p < passCount; ++p) {
            auto [w, h] = passSize(passes[p]);
            if (!w || !h) continue;
            size_t rowBytes = header_.rowBytes(w);
            std::vector<uint8_t> zeros(rowBytes, 0);
            const uint8_t* prev = zeros.data();
            for (uint32_t y = 0; y < h; ++y) {
                uint8_t* row = cursor + 1;
                if (!unfilterRow(cursor[0], row, prev, rowBytes, bpp)) return std::nullopt;
                uint32_t* out = image.row(int(passes[p][1] + y * passes[p][3]));
                for (uint32_t x = 0; x < w; ++x) out[passes[p][0] + x * passes[p][2]] = pixel(row, x);
                prev = row;
                cursor += rowBytes + 1;
            }
        }
        return image;
    }

    std::pair<uint32_t, uint32_t> passSize(const int (&pass)[4]) const {
        auto count = [](uint32_t size, int origin, int step) {
            return size > uint32_t(origin) ? (size - origin + step - 1) / step : 0;
        };
        return {count(header_.width, pass[0], pass[2]), count(header_.height, pass[1], pass[3])};
    }

    // The sample at index i of a row, scaled to 0-255 (palette indices stay as they are).
    uint32_t sample(const uint8_t* row, size_t i) const {
        int d = header_.bitDepth;
        if (d == 8) return row[i];
        if (d == 16) return row[2 * i];
        size_t bit = i * d;
        uint32_t v = (row[bit / 8] >> (8 - d - bit % 8)) & ((1u << d) - 1);
        return header_.colorType == 3 ? v : v * 255 / ((1u << d) - 1);
    }
    // The raw sample (for matching the tRNS key, which is at the image's own depth).
    uint32_t rawSample(const uint8_t* row, size_t i) const {
        int d = header_.bitDepth;
        if (d == 16) return uint32_t(row[2 * i]) << 8 | row[2 * i + 1];
        if (d == 8) return row[i];
        size_t bit = i * d;
        return (row[bit / 8] >> (8 - d - bit % 8)) & ((1u << d) - 1);
    }

    uint32_t pixel(const uint8_t* row, uint32_t x) const {
        switch (header_.colorType) {
        case 0: {
            uint32_t g = sample(row, x);
            bool clear = transparentKey_[0] == int32_t(rawSample(row, x));
            return premultiply(g, g, g, clear ? 0 : 255);
        }
        case 2: {
            bool clear = transparentKey_[0] == int32_t(rawSample(row, 3 * x)) &&
                         transparentKey_[1] == int32_t(rawSample(row, 3 * x + 1)) &&
                         transparentKey_[2] == int32_t(rawSample(row, 3 * x + 2));
            return premultiply(sample(row, 3 * x), sample(row, 3 * x + 1), sample(row, 3 * x + 2),
                               clear ? 0 : 255);
        }
        case 3: {
            uint32_t index = sample(row, x);
            return index < paletteSize_ ? palette_[index] : 0xFF000000;
        }
        case 4: {
            uint32_t g = sample(row, 2 * x);
            return premultiply(g, g, g, sample(row, 2 * x + 1));
        }
        default:
            return premultiply(sample(row, 4 * x), sample(row, 4 * x + 1), sample(row, 4 * x + 2),
                               sample(row, 4 * x + 3));
        }
    }

    Header header_;
    std::array<uint32_t, 256> palette_{};
    uint32_t paletteSize_ = 0;
    std::array<int32_t, 3> transparentKey_{-1, -1, -1};
};

void appendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    appendBE32(out, uint32_t(body.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    appendBE32(out, uint32_t(crc32(crc32(0, nullptr, 0), &out[start], uInt(out.size() - start))));
}

} // namespace

std::optional<Image> readPng(std::span<const uint8_t> data) {
    return PngDecoder().decode(data);
}

std::optional<Image> readPngFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return readPng(bytes);
}

std::vector<uint8_t> writePng(const Image& image) {
    int w = std::max(image.width, 0), h = std::max(image.height, 0);
    if (image.pixels.size() < size_t(w) * size_t(h)) w = h = 0;
    // Each row: filter type 0, then straight RGBA.
    std::vector<uint8_t> raw;
    raw.reserve(size_t(h) * (size_t(w) * 4 + 1));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        const uint32_t* row = image.row(y);
        for (int x = 0; x < w; ++x) {
            uint32_t p = row[x], a = p >> 24;
            auto unmul = [a](uint32_t c) { return uint8_t(a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0); };
            raw.push_back(unmul(p >> 16 & 0xFF));
            raw.push_back(unmul(p >> 8 & 0xFF));
            raw.push_back(unmul(p & 0xFF));
            raw.push_back(uint8_t(a));
        }
    }
    std::vector<uint8_t> compressed(compressBound(uLong(raw.size())));
    uLongf compressedLength = uLongf(compressed.size());
    compress2(compressed.data(), &compressedLength, raw.data(), uLong(raw.size()), 6);
    compressed.resize(compressedLength);

    std::vector<uint8_t> out(kSignature, kSignature + 8);
    std::vector<uint8_t> header;
    appendBE32(header, uint32_t(w));
    appendBE32(header, uint32_t(h));
    header.insert(header.end(), {8, 6, 0, 0, 0});   // 8 bits, RGBA, deflate, no filter set, no interlace
    appendChunk(out, "IHDR", header);
    appendChunk(out, "IDAT", compressed);
    appendChunk(out, "IEND", {});
    return out;
}

bool writePngFile(const std::string& path, const Image& image) {
    std::vector<uint8_t> bytes = writePng(image);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace tesmar::host
