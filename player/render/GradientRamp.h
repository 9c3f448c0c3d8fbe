#pragma once
// The 256 colours of a gradient from position 0 to 255, after a colour
// transform, premultiplied: every pixel of a gradient fill is one lookup.
#include <array>
#include <cstdint>
#include "player/geom/Color.h"
#include "player/geom/Shape.h"

namespace tesmar::render {

struct GradientRamp {
    std::array<uint32_t, 256> colors{};
    bool opaque = false;   // every entry has alpha 255

    static GradientRamp build(const Gradient& gradient, const ColorTransform& cx);
};

} // namespace tesmar::render
