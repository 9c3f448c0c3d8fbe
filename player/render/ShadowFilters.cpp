#include "player/render/ShadowFilters.h"
#include <algorithm>
#include <array>
#include <cmath>
#include "player/render/Blur.h"
#include "player/render/Filters.h"
#include "player/render/PixelOps.h"

namespace tesmar::render {
namespace {

// Premultiplied colours for every intensity 0-255 a filter paints.
using Palette = std::array<uint32_t, 256>;

uint32_t withAlpha(uint32_t rgb, uint32_t alpha) {
    return premultiplied(Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), uint8_t(alpha)});
}

// One colour, its alpha scaled by the intensity.
Palette plainPalette(uint32_t rgb, uint8_t alpha) {
    Palette p;
    for (uint32_t v = 0; v < 256; ++v) p[v] = withAlpha(rgb, (v * alpha + 127) / 255);
    return p;
}

// The filter's gradient, the intensity picking a place along it.
Palette gradientPalette(const Filter& f) {
    Palette p{};
    const int count = std::clamp(f.count, 0, Filter::kMaxGradient);
    if (count == 0) return p;
    for (int v = 0; v < 256; ++v) {
        int next = 0;
        while (next < count && f.ratios[size_t(next)] < v) ++next;
        if (next == 0 || next == count) {
            const size_t i = size_t(next == 0 ? 0 : count - 1);
            p[size_t(v)] = withAlpha(f.colors[i], f.alphas[i]);
            continue;
        }
        const size_t a = size_t(next - 1), b = size_t(next);
        const int span = std::max(1, f.ratios[b] - f.ratios[a]);
        const int t = (v - f.ratios[a]) * 256 / span;
        auto mix = [t](uint32_t from, uint32_t to) { return uint8_t((int(from) * (256 - t) + int(to) * t) >> 8); };
        const uint32_t ca = f.colors[a], cb = f.colors[b];
        const Rgba c{mix(ca >> 16 & 0xFF, cb >> 16 & 0xFF), mix(ca >> 8 & 0xFF, cb >> 8 & 0xFF), mix(ca & 0xFF, cb & 0xFF),
                     mix(f.alphas[a], f.alphas[b])};
        p[size_t(v)] = premultiplied(c);
    }
    return p;
}

// The image's alpha moved by (dx, dy), inverted for inner filters; pixels
// that come from outside the image are transparent.
AlphaPlane shiftedAlpha(const Image& image, int dx, int dy, bool inverted) {
    AlphaPlane plane{image.width, image.height, {}};
    plane.values.assign(size_t(image.width) * size_t(image.height), inverted ? 255 : 0);
    for (int y = 0; y < image.height; ++y) {
        const int from = y - dy;
        if (from < 0 || from >= image.height) continue;
        const uint32_t* src = image.row(from);
        uint8_t* out = plane.row(y);
        for (int x = std::max(0, dx); x < std::min(image.width, image.width + dx); ++x) {
            const uint8_t a = uint8_t(src[x - dx] >> 24);
            out[x] = inverted ? uint8_t(255 - a) : a;
        }
    }
    return plane;
}

uint8_t strengthened(uint32_t v, double strength) {
    return uint8_t(std::clamp(std::lround(v * strength), 0L, 255L));
}

// Puts the painted colour (`paint`) and the object together as the flags say.
uint32_t compose(uint32_t object, uint32_t paint, const Filter& f) {
    const uint32_t objectAlpha = object >> 24;
    if (f.inner) {
        const uint32_t inside = scalePixel(paint, objectAlpha);
        if (f.knockout || f.hideObject) return inside;
        return inside + scalePixel(object, 255 - (inside >> 24));
    }
    if (f.knockout) return scalePixel(paint, 255 - objectAlpha);
    if (f.hideObject) return paint;
    return over(paint, object);
}

} // namespace

void applyShadow(Image& image, const Filter& f, double scale) {
    const ScaledBlur blur = scaledBlur(f, scale);
    const PixelOffset offset = f.kind == FilterKind::DropShadow ? scaledOffset(f, scale) : PixelOffset{};
    AlphaPlane plane = shiftedAlpha(image, offset.x, offset.y, f.inner);
    blurAlpha(plane, blur.x, blur.y, blur.passes);
    const Palette palette = f.kind == FilterKind::GradientGlow ? gradientPalette(f) : plainPalette(f.color, f.alpha);
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = image.row(y);
        const uint8_t* shadow = plane.row(y);
        for (int x = 0; x < image.width; ++x) row[x] = compose(row[x], palette[strengthened(shadow[x], f.strength)], f);
    }
}

void applyBevel(Image& image, const Filter& f, double scale) {
    const ScaledBlur blur = scaledBlur(f, scale);
    const PixelOffset offset = scaledOffset(f, scale);
    // The shadow falls where the object lies towards the light and not away
    // from it; the highlight the other way round.
    AlphaPlane lit = shiftedAlpha(image, -offset.x, -offset.y, false);
    AlphaPlane shaded = shiftedAlpha(image, offset.x, offset.y, false);
    blurAlpha(lit, blur.x, blur.y, blur.passes);
    blurAlpha(shaded, blur.x, blur.y, blur.passes);
    const bool gradient = f.kind == FilterKind::GradientBevel;
    const Palette highlight = gradient ? gradientPalette(f) : plainPalette(f.highlightColor, f.highlightAlpha);
    const Palette shadow = plainPalette(f.color, f.alpha);
    Filter placing = f;
    placing.inner = f.inner && !f.onTop;
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = image.row(y);
        const uint8_t* l = lit.row(y);
        const uint8_t* s = shaded.row(y);
        for (int x = 0; x < image.width; ++x) {
            const int difference = int(s[x]) - int(l[x]);
            uint32_t paint;
            if (gradient) {
                // The middle of the gradient is flat; its ends the two sides.
                const int v = std::clamp(int(std::lround(128 + difference * f.strength / 2)), 0, 255);
                paint = highlight[size_t(255 - v)];
            } else {
                paint = difference > 0 ? shadow[strengthened(uint32_t(difference), f.strength)]
                                       : highlight[strengthened(uint32_t(-difference), f.strength)];
            }
            if (f.onTop) row[x] = f.knockout ? paint : over(row[x], paint);
            else row[x] = compose(row[x], paint, placing);
        }
    }
}

} // namespace tesmar::render
