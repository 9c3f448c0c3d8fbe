// The gradient row loops work on eight, four or one pixel at a time
// depending on the processor and on where the row ends; every width must
// give each pixel the same colour.
#include <gtest/gtest.h>
#include <random>
#include "player/render/GradientRow.h"

namespace tesmar::render {
namespace {

TEST(GradientRow, WideAndSinglePixelLoopsAgree) {
    uint32_t ramp[256];
    for (uint32_t i = 0; i < 256; ++i) ramp[i] = 0xFF000000u | i << 16 | (255 - i);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> start(-3, 3), step(-0.05f, 0.05f), focalPoint(-0.9f, 0.9f);
    const GradientShape shapes[] = {GradientShape::Linear, GradientShape::Radial, GradientShape::Focal};
    const Gradient::Spread spreads[] = {Gradient::Spread::Pad, Gradient::Spread::Reflect, Gradient::Spread::Repeat};
    for (int round = 0; round < 90; ++round) {
        GradientShape shape = shapes[round % 3];
        Gradient::Spread spread = spreads[round / 3 % 3];
        GradientRowStart row{start(random), start(random), step(random), step(random)};
        float focal = focalPoint(random);
        uint32_t wide[61];
        gradientColors(shape, row, focal, spread, ramp, 61, wide);
        for (int i = 0; i < 61; ++i) {
            GradientRowStart one{row.u + row.du * float(i), row.v + row.dv * float(i), row.du, row.dv};
            uint32_t single = 0;
            gradientColors(shape, one, focal, spread, ramp, 1, &single);
            ASSERT_EQ(wide[i], single) << "round " << round << " pixel " << i;
        }
    }
}

} // namespace
} // namespace tesmar::render
