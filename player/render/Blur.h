#pragma once
// Box blurs, repeated for quality: each pass spreads a pixel over a box
// blurX wide along the rows, then blurY high along the columns, costing the
// same whatever the box's size.
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

// Box sizes in target pixels; passes from 1 up.
void blurImage(Image& image, double blurX, double blurY, int passes);
void blurAlpha(AlphaPlane& plane, double blurX, double blurY, int passes);

} // namespace tesmar::render
