#include "player/render/Filter.h"
#include "player/swf/Reader.h"

namespace tesmar::render {
namespace {

uint32_t readRgba(swf::Reader& r, uint8_t& alpha)
{
    uint32_t red = r.u8(), green = r.u8(), blue = r.u8();
    alpha = r.u8();
    return red << 16 | green << 8 | blue;
}

// The blur, angle, distance, strength and flag byte that the shadow, glow
// and bevel records end with (a glow has no angle and distance).
void readShadowTail(swf::Reader& r, Filter& f, bool offset, bool bevelFlags)
{
    f.blurX = r.fixed16();
    f.blurY = r.fixed16();
    if (offset) {
        f.angle = r.fixed16();
        f.distance = r.fixed16();
    }
    f.strength = r.fixed8();
    const uint8_t flags = r.u8();
    f.inner = flags & 0x80;
    f.knockout = flags & 0x40;
    f.hideObject = !(flags & 0x20);
    f.quality = bevelFlags ? flags & 0x0F : flags & 0x1F;
    f.onTop = bevelFlags && (flags & 0x10);
}

bool readFilter(swf::Reader& r, Filter& f)
{
    const uint8_t id = r.u8();
    if (id > 7) return false;
    f.kind = FilterKind(id);
    switch (f.kind) {
    case FilterKind::DropShadow:
        f.color = readRgba(r, f.alpha);
        readShadowTail(r, f, true, false);
        break;
    case FilterKind::Blur:
        f.blurX = r.fixed16();
        f.blurY = r.fixed16();
        f.quality = r.u8() >> 3;
        break;
    case FilterKind::Glow:
        f.color = readRgba(r, f.alpha);
        readShadowTail(r, f, false, false);
        break;
    case FilterKind::Bevel:
        // The highlight comes first in the file.
        f.highlightColor = readRgba(r, f.highlightAlpha);
        f.color = readRgba(r, f.alpha);
        readShadowTail(r, f, true, true);
        break;
    case FilterKind::GradientGlow:
    case FilterKind::GradientBevel: {
        const int count = r.u8();
        if (count > Filter::kMaxGradient) return false;
        f.count = count;
        for (int i = 0; i < count; ++i) f.colors[size_t(i)] = readRgba(r, f.alphas[size_t(i)]);
        for (int i = 0; i < count; ++i) f.ratios[size_t(i)] = r.u8();
        readShadowTail(r, f, true, true);
        break;
    }
    case FilterKind::Convolution: {
        f.matrixX = r.u8();
        f.matrixY = r.u8();
        f.divisor = r.f32();
        f.bias = r.f32();
        const size_t size = size_t(f.matrixX) * size_t(f.matrixY);
        if (size * 4 > r.remaining()) return false;
        f.kernel.resize(size);
        for (double& k : f.kernel) k = r.f32();
        f.color = readRgba(r, f.alpha);
        const uint8_t flags = r.u8();
        f.clamp = flags & 0x02;
        f.preserveAlpha = flags & 0x01;
        break;
    }
    case FilterKind::ColorMatrix:
        for (double& m : f.colorMatrix) m = r.f32();
        break;
    case FilterKind::DisplacementMap:
    case FilterKind::Base:
        return false;   // not stored in files; the id check above keeps them out
    }
    return !r.failed();
}

} // namespace

std::vector<Filter> readFilterList(std::span<const uint8_t> bytes)
{
    std::vector<Filter> filters;
    swf::Reader r(bytes);
    const int count = r.u8();
    for (int i = 0; i < count && !r.failed(); ++i) {
        Filter f;
        if (!readFilter(r, f)) break;
        filters.push_back(std::move(f));
    }
    return filters;
}

} // namespace tesmar::render
