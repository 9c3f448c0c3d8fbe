#include "player/render/GradientRamp.h"
#include <algorithm>
#include <cmath>
#include "player/render/PixelOps.h"

namespace tesmar::render {
namespace {

float toLinear(uint8_t v) {
    float c = v / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

uint8_t fromLinear(float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    float v = c <= 0.0031308f ? c * 12.92f : 1.055f * std::pow(c, 1 / 2.4f) - 0.055f;
    return uint8_t(v * 255.0f + 0.5f);
}

Rgba mix(Rgba a, Rgba b, float t, bool linearRgb) {
    auto lerp = [t](float x, float y) { return x + (y - x) * t; };
    auto channel = [&](uint8_t x, uint8_t y) {
        return linearRgb ? fromLinear(lerp(toLinear(x), toLinear(y))) : uint8_t(lerp(x, y) + 0.5f);
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), uint8_t(lerp(a.a, b.a) + 0.5f)};
}

} // namespace

GradientRamp GradientRamp::build(const Gradient& gradient, const ColorTransform& cx) {
    GradientRamp ramp;
    const auto& stops = gradient.stops;
    if (stops.empty()) return ramp;   // nothing to draw: all transparent
    bool linearRgb = gradient.interpolation == Gradient::Interpolation::LinearRgb;
    // A stop with the same ratio as the one before it lies one position
    // further on, so that each of a run of equal stops still shows.
    std::array<int, 256> positions{};
    size_t count = std::min<size_t>(stops.size(), positions.size());
    for (size_t k = 0; k < count; ++k) {
        bool repeated = k > 0 && stops[k].ratio == stops[k - 1].ratio;
        positions[k] = repeated ? std::min(255, positions[k - 1] + 1) : stops[k].ratio;
    }
    size_t segment = 0;   // stops[segment] is the first stop at or after the position
    for (int i = 0; i < 256; ++i) {
        while (segment < count && positions[segment] < i) ++segment;
        Rgba c;
        if (segment == 0) {
            c = stops.front().color;
        } else if (segment == count) {
            c = stops[count - 1].color;
        } else {
            float from = float(positions[segment - 1]), span = float(positions[segment]) - from;
            float t = span > 0 ? std::clamp((i - from) / span, 0.0f, 1.0f) : 1.0f;
            c = mix(stops[segment - 1].color, stops[segment].color, t, linearRgb);
        }
        ramp.colors[size_t(i)] = premultiplied(cx.apply(c));
    }
    ramp.opaque = true;
    for (uint32_t c : ramp.colors) ramp.opaque = ramp.opaque && (c >> 24) == 255;
    return ramp;
}

} // namespace tesmar::render
