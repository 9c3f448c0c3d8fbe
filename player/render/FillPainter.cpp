#include "player/render/FillPainter.h"
#include <algorithm>
#include <cmath>
#include "player/render/GradientRow.h"
#include "player/render/PixelOps.h"
#include "player/render/Renderer.h"

namespace tesmar::render {
namespace {

// Half the side of the gradient square, in its own units.
constexpr double kGradientRadius = 16384.0;

// Wraps or clamps a texel coordinate into 0..size-1.
inline int64_t texelIndex(int64_t v, int64_t size, bool repeat) {
    if (repeat) {
        v %= size;
        return v < 0 ? v + size : v;
    }
    return std::clamp<int64_t>(v, 0, size - 1);
}

// Keeps sampling positions where conversion to an integer is defined.
inline double boundedCoordinate(double v) {
    return std::isfinite(v) ? std::clamp(v, -1e9, 1e9) : 0.0;
}

} // namespace

bool FillPainter::prepareSolid(Rgba color, const ColorTransform& cx) {
    mode_ = Mode::Solid;
    solid_ = premultiplied(cx.apply(color));
    return solid_ != 0;
}

bool FillPainter::prepare(const FillStyle& fill, const Matrix& toPixels, const ColorTransform& cx,
                          const BitmapSource* bitmaps) {
    if (fill.kind == FillStyle::Kind::Solid) return prepareSolid(fill.color, cx);

    Matrix fillToPixels = toPixels * fill.matrix;
    double det = fillToPixels.determinant();
    bool singular = !std::isfinite(det) || std::fabs(det) < 1e-12;

    if (fill.kind == FillStyle::Kind::Bitmap) {
        bitmap_ = bitmaps ? bitmaps->bitmap(fill.bitmapId) : nullptr;
        if (!bitmap_ || bitmap_->empty() || singular ||
            bitmap_->pixels.size() < size_t(bitmap_->width) * size_t(bitmap_->height))
            return false;
        mode_ = Mode::Bitmap;
        toFill_ = fillToPixels.inverse();
        repeat_ = fill.bitmapRepeat;
        smooth_ = fill.bitmapSmooth;
        cx_ = cx;
        transformTexels_ = !cx.isIdentity();
        return true;
    }

    ramp_ = GradientRamp::build(fill.gradient, cx);
    if (singular) {
        // A gradient squeezed to nothing shows its last colour everywhere.
        return prepareSolid(straight(ramp_.colors[255]), ColorTransform{});
    }
    toFill_ = fillToPixels.inverse();
    spread_ = fill.gradient.spread;
    switch (fill.kind) {
    case FillStyle::Kind::LinearGradient: mode_ = Mode::Linear; break;
    case FillStyle::Kind::RadialGradient: mode_ = Mode::Radial; break;
    default:
        mode_ = Mode::Focal;
        // At +-1 the focal point touches the circle and the formula divides by zero.
        focal_ = float(std::clamp(std::isfinite(fill.gradient.focalPoint) ? fill.gradient.focalPoint : 0.0,
                                  -0.98, 0.98));
        break;
    }
    return true;
}

void FillPainter::paintRow(uint32_t* row, int y, int x0, int x1, const uint8_t* coverage, bool solid) {
    int count = x1 - x0;
    if (count <= 0) return;
    uint32_t* dst = row + x0;
    if (mode_ == Mode::Solid) {
        uint32_t color = solid_;
        bool opaque = (color >> 24) == 255;
        if (solid) {
            if (opaque) std::fill(dst, dst + count, color);
            else for (int i = 0; i < count; ++i) dst[i] = over(dst[i], color);
            return;
        }
        for (int i = 0; i < count; ++i) {
            uint32_t c = coverage[i];
            if (c == 255 && opaque) dst[i] = color;
            else if (c) dst[i] = blendCovered(dst[i], color, c);
        }
        return;
    }
    bool opaque = mode_ != Mode::Bitmap && ramp_.opaque;
    if (solid && opaque) {
        fillColors(y, x0, count, dst);   // straight into the target
        return;
    }
    if (colors_.size() < size_t(count)) colors_.resize(size_t(count));
    fillColors(y, x0, count, colors_.data());
    const uint32_t* src = colors_.data();
    for (int i = 0; i < count; ++i) {
        uint32_t c = solid ? 255 : coverage[i];
        if (c == 255) dst[i] = (src[i] >> 24) == 255 ? src[i] : over(dst[i], src[i]);
        else if (c) dst[i] = blendCovered(dst[i], src[i], c);
    }
}

void FillPainter::fillColors(int y, int x0, int count, uint32_t* out) {
    if (mode_ == Mode::Bitmap) bitmapColors(y, x0, count, out);
    else gradientColors(y, x0, count, out);
}

void FillPainter::gradientColors(int y, int x0, int count, uint32_t* out) {
    // Pixel centres mapped into the gradient square, normalised to radius 1.
    const Matrix& m = toFill_;
    double cx = x0 + 0.5, cy = y + 0.5;
    GradientRowStart row{float((m.a * cx + m.c * cy + m.tx) / kGradientRadius),
                         float((m.b * cx + m.d * cy + m.ty) / kGradientRadius), float(m.a / kGradientRadius),
                         float(m.b / kGradientRadius)};
    GradientShape shape = mode_ == Mode::Linear   ? GradientShape::Linear
                          : mode_ == Mode::Radial ? GradientShape::Radial
                                                  : GradientShape::Focal;
    render::gradientColors(shape, row, focal_, spread_, ramp_.colors.data(), count, out);
}

uint32_t FillPainter::texel(int64_t x, int64_t y) const {
    const Image& b = *bitmap_;
    uint32_t p = b.pixels[size_t(texelIndex(y, b.height, repeat_)) * size_t(b.width) +
                          size_t(texelIndex(x, b.width, repeat_))];
    return transformTexels_ ? transformPixel(p, cx_) : p;
}

void FillPainter::bitmapColors(int y, int x0, int count, uint32_t* out) {
    const Matrix& m = toFill_;
    double cy = y + 0.5;
    for (int i = 0; i < count; ++i) {
        double cx = x0 + i + 0.5;
        double u = boundedCoordinate(m.a * cx + m.c * cy + m.tx);
        double v = boundedCoordinate(m.b * cx + m.d * cy + m.ty);
        if (!smooth_) {
            out[i] = texel(int64_t(std::floor(u)), int64_t(std::floor(v)));
            continue;
        }
        // Bilinear between the four texels around the sample, weights in 1/256.
        double fu = u - 0.5, fv = v - 0.5;
        double bu = std::floor(fu), bv = std::floor(fv);
        uint32_t wx = uint32_t((fu - bu) * 256.0), wy = uint32_t((fv - bv) * 256.0);
        int64_t tx = int64_t(bu), ty = int64_t(bv);
        uint32_t p00 = texel(tx, ty), p10 = texel(tx + 1, ty), p01 = texel(tx, ty + 1), p11 = texel(tx + 1, ty + 1);
        auto lerp = [](uint32_t a, uint32_t b, uint32_t w) {
            uint32_t rb = ((a & 0x00FF00FFu) * (256 - w) + (b & 0x00FF00FFu) * w) >> 8 & 0x00FF00FFu;
            uint32_t ag = (((a >> 8) & 0x00FF00FFu) * (256 - w) + ((b >> 8) & 0x00FF00FFu) * w) & 0xFF00FF00u;
            return rb | ag;
        };
        out[i] = lerp(lerp(p00, p10, wx), lerp(p01, p11, wx), wy);
    }
}

} // namespace tesmar::render
