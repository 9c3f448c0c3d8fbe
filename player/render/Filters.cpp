#include "player/render/Filters.h"
#include <algorithm>
#include <cmath>
#include "player/render/Blur.h"
#include "player/render/ColorFilters.h"
#include "player/render/ShadowFilters.h"

namespace tesmar::render {

ScaledBlur scaledBlur(const Filter& f, double scale) {
    // A blur of 1 leaves the image alone; each stage pixel more widens the
    // box by a stage pixel, spread over the target pixels it covers.
    auto size = [scale](double v) {
        return std::isfinite(v) ? std::min((std::clamp(v, 1.0, kMostBlur) - 1) * scale / 2, kMostBoxReach) : 0.0;
    };
    return {size(f.blurX), size(f.blurY), std::clamp(f.quality, 0, kMostPasses)};
}

PixelOffset scaledOffset(const Filter& f, double scale) {
    // Further than any blur can reach is as far as it matters.
    const double limit = 4 * kMostBlur * kMostPasses;
    auto pixels = [&](double v) { return std::isfinite(v) ? int(std::lround(std::clamp(v * scale, -limit, limit))) : 0; };
    return {pixels(std::cos(f.angle) * f.distance), pixels(std::sin(f.angle) * f.distance)};
}

FilterReach filterReach(std::span<const Filter> filters, double scale) {
    FilterReach total;
    for (const Filter& f : appliedFilters(filters)) {
        FilterReach r;
        if (f.kind == FilterKind::Convolution) {
            r = {f.matrixX / 2, f.matrixY / 2, f.matrixX / 2, f.matrixY / 2};
        } else if (f.kind <= FilterKind::GradientBevel && f.kind != FilterKind::ColorMatrix) {
            const ScaledBlur blur = scaledBlur(f, scale);
            const int spreadX = int(std::ceil(blur.x * blur.passes)) + 1;
            const int spreadY = int(std::ceil(blur.y * blur.passes)) + 1;
            r = {spreadX, spreadY, spreadX, spreadY};
            if (f.kind != FilterKind::Blur && f.kind != FilterKind::Glow) {
                // A bevel lights both sides; a shadow falls on one.
                const PixelOffset o = scaledOffset(f, scale);
                const int ox = std::abs(o.x), oy = std::abs(o.y);
                r.left += ox;
                r.right += ox;
                r.top += oy;
                r.bottom += oy;
            }
        }
        // Each filter works on the output of the one before.
        total = {total.left + r.left, total.top + r.top, total.right + r.right, total.bottom + r.bottom};
    }
    return total;
}

void applyFilters(Image& image, std::span<const Filter> filters, double scale) {
    for (const Filter& f : appliedFilters(filters)) {
        switch (f.kind) {
        case FilterKind::Blur: {
            const ScaledBlur blur = scaledBlur(f, scale);
            blurImage(image, blur.x, blur.y, blur.passes);
            break;
        }
        case FilterKind::DropShadow:
        case FilterKind::Glow:
            applyShadow(image, f, scale);
            break;
        case FilterKind::Bevel:
        case FilterKind::GradientGlow:
        case FilterKind::GradientBevel:
            applyBevel(image, f, scale);
            break;
        case FilterKind::ColorMatrix:
            applyColorMatrix(image, f);
            break;
        case FilterKind::Convolution:
            applyConvolution(image, f);
            break;
        case FilterKind::DisplacementMap:
        case FilterKind::Base:
            break;
        }
    }
}

} // namespace tesmar::render
