#include "player/render/Blur.h"
#include <algorithm>
#include <cmath>

namespace tesmar::render {
namespace {

// One box: the whole pixels either side of the centre, and the weight of
// the pixel beyond them on each side, in 256ths.
struct Box {
    int radius = 0;
    uint32_t edgeWeight = 0;
    uint32_t divisor = 256;   // the box's whole weight

    explicit Box(double reach) {
        radius = int(std::max(reach, 0.0));
        edgeWeight = uint32_t(std::lround((std::max(reach, 0.0) - radius) * 256));
        if (edgeWeight == 256) {
            ++radius;
            edgeWeight = 0;
        }
        divisor = uint32_t(2 * radius + 1) * 256 + 2 * edgeWeight;
    }
    bool identity() const { return radius == 0 && edgeWeight == 0; }
};

// Blurs `count` pixels of `channels` interleaved bytes, `stride` bytes
// apart, in place; `line` is scratch room.
template <int channels>
void blurLine(uint8_t* pixels, int count, size_t stride, const Box& box, std::vector<uint8_t>& line) {
    // The line padded with transparency on both sides, one pixel beyond the box.
    const int pad = box.radius + 1;
    line.assign(size_t(count + 2 * pad) * channels, 0);
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c) line[size_t(i + pad) * channels + c] = pixels[size_t(i) * stride + c];
    uint32_t sums[channels] = {};
    // The window of whole pixels for output 0 covers padded [pad - radius, pad + radius].
    for (int i = pad - box.radius; i <= pad + box.radius; ++i)
        for (int c = 0; c < channels; ++c) sums[c] += line[size_t(i) * channels + c];
    const uint32_t rounding = box.divisor / 2;
    for (int i = 0; i < count; ++i) {
        const size_t left = size_t(i + pad - box.radius) * channels;
        const size_t right = size_t(i + pad + box.radius + 1) * channels;
        for (int c = 0; c < channels; ++c) {
            // The pixels just outside the window count by the edge weight.
            const uint32_t edges = (line[left - channels + c] + line[right + c]) * box.edgeWeight;
            pixels[size_t(i) * stride + c] = uint8_t(std::min<uint32_t>(255, (sums[c] * 256 + edges + rounding) / box.divisor));
            // Slide the window one pixel on.
            sums[c] += line[right + c];
            sums[c] -= line[left + c];
        }
    }
}

template <int channels>
void blurPlane(uint8_t* data, int width, int height, double blurX, double blurY, int passes) {
    const Box boxX(blurX), boxY(blurY);
    const size_t rowBytes = size_t(width) * channels;
    std::vector<uint8_t> line;
    for (int pass = 0; pass < passes; ++pass) {
        if (!boxX.identity())
            for (int y = 0; y < height; ++y) blurLine<channels>(data + size_t(y) * rowBytes, width, channels, boxX, line);
        if (!boxY.identity())
            for (int x = 0; x < width; ++x) blurLine<channels>(data + size_t(x) * channels, height, rowBytes, boxY, line);
    }
}

} // namespace

void blurImage(Image& image, double blurX, double blurY, int passes) {
    if (image.empty()) return;
    blurPlane<4>(reinterpret_cast<uint8_t*>(image.pixels.data()), image.width, image.height, blurX, blurY, passes);
}

void blurAlpha(AlphaPlane& plane, double blurX, double blurY, int passes) {
    if (plane.width <= 0 || plane.height <= 0) return;
    blurPlane<1>(plane.values.data(), plane.width, plane.height, blurX, blurY, passes);
}

} // namespace tesmar::render
