#include "player/render/ColorFilters.h"
#include <algorithm>
#include <cmath>
#include "player/render/PixelOps.h"

namespace tesmar::render {
namespace {

uint8_t channel(double v) {
    return std::isfinite(v) ? uint8_t(std::clamp(std::lround(v), 0L, 255L)) : (v > 0 ? 255 : 0);
}

// A convolution matrix larger than this is cut down: each output pixel
// costs one step per entry.
constexpr int kMostMatrixSide = 15;

} // namespace

void applyColorMatrix(Image& image, const Filter& f) {
    const auto& m = f.colorMatrix;
    for (uint32_t& pixel : image.pixels) {
        const Rgba c = straight(pixel);
        const double in[4] = {double(c.r), double(c.g), double(c.b), double(c.a)};
        uint8_t out[4];
        for (int row = 0; row < 4; ++row) {
            const double* r = &m[size_t(row) * 5];
            out[row] = channel(r[0] * in[0] + r[1] * in[1] + r[2] * in[2] + r[3] * in[3] + r[4]);
        }
        pixel = premultiplied(Rgba{out[0], out[1], out[2], out[3]});
    }
}

void applyConvolution(Image& image, const Filter& f) {
    const int sideX = std::min(f.matrixX, kMostMatrixSide), sideY = std::min(f.matrixY, kMostMatrixSide);
    if (sideX <= 0 || sideY <= 0 || f.kernel.size() < size_t(f.matrixX) * size_t(f.matrixY)) return;
    const double divisor = f.divisor != 0 && std::isfinite(f.divisor) ? f.divisor : 1;
    const Rgba outside{uint8_t(f.color >> 16), uint8_t(f.color >> 8), uint8_t(f.color), f.alpha};
    const Image source = image;
    auto at = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < source.width && y < source.height) return straight(source.row(y)[x]);
        if (!f.clamp) return outside;
        return straight(source.row(std::clamp(y, 0, source.height - 1))[std::clamp(x, 0, source.width - 1)]);
    };
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < sideY; ++j)
                for (int i = 0; i < sideX; ++i) {
                    const double k = f.kernel[size_t(j) * size_t(f.matrixX) + size_t(i)];
                    const Rgba c = at(x + i - sideX / 2, y + j - sideY / 2);
                    sum[0] += k * c.r;
                    sum[1] += k * c.g;
                    sum[2] += k * c.b;
                    sum[3] += k * c.a;
                }
            const Rgba self = straight(source.row(y)[x]);
            const uint8_t alpha = f.preserveAlpha ? self.a : channel(sum[3] / divisor + f.bias);
            image.row(y)[x] = premultiplied(Rgba{channel(sum[0] / divisor + f.bias), channel(sum[1] / divisor + f.bias),
                                                 channel(sum[2] / divisor + f.bias), alpha});
        }
}

} // namespace tesmar::render
