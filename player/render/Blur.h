#pragma once
// Box blurs, repeated for quality: each pass spreads a pixel over a box
// along the rows, then along the columns, costing the same whatever the
// box's size.
#include <cstddef>
#include <cstdint>
#include <vector>
#include "player/geom/Image.h"

namespace tesmar::render {

// A single channel of width x height values, rows top first.
struct AlphaPlane {
    int width = 0, height = 0;
    std::vector<uint8_t> values;
    uint8_t* row(int y) { return values.data() + size_t(y) * size_t(width); }
    const uint8_t* row(int y) const { return values.data() + size_t(y) * size_t(width); }
};

// reachX and reachY: how far the box reaches either side of a pixel's
// centre, in pixels; a fraction takes that part of the pixel beyond.
void blurImage(Image& image, double reachX, double reachY, int passes);
void blurAlpha(AlphaPlane& plane, double reachX, double reachY, int passes);

} // namespace tesmar::render
