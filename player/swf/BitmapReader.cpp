#include "player/swf/BitmapReader.h"
#include <vector>
#include "player/swf/Inflate.h"

namespace tesmar::swf {

uint32_t premultiply(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    auto mul = [a](uint8_t c) { return uint32_t((c * a + 127) / 255); };
    return (uint32_t(a) << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

std::optional<Image> readLossless(Reader& r, int version) {
    const uint8_t format = r.u8();
    const uint16_t width = r.u16(), height = r.u16();
    if (r.failed() || width == 0 || height == 0) return std::nullopt;
    if (uint64_t(width) * height > kMaxBitmapPixels) return std::nullopt;
    const bool alpha = version == 2;

    size_t paletteSize = 0, rowBytes = 0;
    if (format == 3) {
        paletteSize = size_t(r.u8()) + 1;
        rowBytes = (size_t(width) + 3) & ~size_t(3);
    } else if (format == 4 && !alpha) {
        rowBytes = (size_t(width) * 2 + 3) & ~size_t(3);
    } else if (format == 5) {
        rowBytes = size_t(width) * 4;
    } else {
        return std::nullopt;
    }
    const size_t paletteBytes = paletteSize * (alpha ? 4 : 3);
    const size_t expected = paletteBytes + rowBytes * height;
    Inflated data = inflateCapped(r.rest(), expected);
    if (r.failed() || data.bytes.size() < expected) return std::nullopt;

    const uint8_t* p = data.bytes.data();
    std::vector<uint32_t> palette(paletteSize);
    for (size_t i = 0; i < paletteSize; ++i, p += alpha ? 4 : 3)
        palette[i] = premultiply(alpha ? p[3] : 255, p[0], p[1], p[2]);

    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = p + rowBytes * y;
        uint32_t* out = image.row(y);
        for (int x = 0; x < width; ++x) {
            if (format == 3) {
                uint8_t index = row[x];
                out[x] = index < paletteSize ? palette[index] : 0;
            } else if (format == 4) {
                uint16_t v = uint16_t((row[2 * x] << 8) | row[2 * x + 1]);
                auto expand = [](unsigned c) { return uint8_t((c << 3) | (c >> 2)); };
                out[x] = premultiply(255, expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
            } else {
                const uint8_t* px = row + 4 * x;
                if (alpha) {
                    // Stored premultiplied already; keep colour within alpha.
                    uint8_t a = px[0];
                    auto c = [a](uint8_t v) { return uint32_t(std::min(v, a)); };
                    out[x] = (uint32_t(a) << 24) | (c(px[1]) << 16) | (c(px[2]) << 8) | c(px[3]);
                } else {
                    out[x] = premultiply(255, px[1], px[2], px[3]);
                }
            }
        }
    }
    return image;
}

Bytes cleanJpeg(std::span<const uint8_t> data) {
    if (data.size() >= 4 && data[0] == 0xFF && data[1] == 0xD9 && data[2] == 0xFF && data[3] == 0xD8)
        data = data.subspan(4);
    return Bytes(data.begin(), data.end());
}

Bytes joinJpegTables(std::span<const uint8_t> tables, std::span<const uint8_t> image) {
    Bytes cleanTables = cleanJpeg(tables);
    Bytes cleanImage = cleanJpeg(image);
    if (cleanTables.size() < 4) return cleanImage;
    // tables: SOI ... EOI; image: SOI ... EOI. Keep one SOI and one EOI.
    Bytes joined(cleanTables.begin(), cleanTables.end() - 2);
    size_t skip = cleanImage.size() >= 2 && cleanImage[0] == 0xFF && cleanImage[1] == 0xD8 ? 2 : 0;
    joined.insert(joined.end(), cleanImage.begin() + long(skip), cleanImage.end());
    return joined;
}

bool applyAlphaPlane(Image& image, std::span<const uint8_t> compressedAlpha) {
    const size_t count = size_t(image.width) * size_t(image.height);
    Inflated alpha = inflateCapped(compressedAlpha, count);
    if (alpha.bytes.size() < count) return false;
    for (size_t i = 0; i < count; ++i) {
        uint32_t px = image.pixels[i];
        image.pixels[i] = premultiply(alpha.bytes[i], uint8_t(px >> 16), uint8_t(px >> 8), uint8_t(px));
    }
    return true;
}

} // namespace tesmar::swf
