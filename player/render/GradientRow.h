#pragma once
// The per-pixel work of gradient fills along one row: where each pixel lies
// on the gradient, then its ramp colour. These are the renderer's hottest
// loops (a full-screen gradient runs them for every pixel), so they work on
// four pixels at a time where the processor allows.
#include <cstdint>
#include "player/geom/Shape.h"

namespace tesmar::render {

enum class GradientShape : uint8_t { Linear, Radial, Focal };

// The row's pixels in gradient space (radius 1 = the gradient square's
// edge): the first at (u, v), each next one (du, dv) further.
struct GradientRowStart {
    float u, v, du, dv;
};

// Writes the colours of count pixels of a row: each pixel's position on the
// gradient (0 = first stop, 1 = last) through the spread mode into a
// 256-entry ramp. focal is the focal point's position on the x axis, inside (-1, 1).
void gradientColors(GradientShape shape, const GradientRowStart& row, float focal, Gradient::Spread spread,
                    const uint32_t* ramp, int count, uint32_t* out);

} // namespace tesmar::render
