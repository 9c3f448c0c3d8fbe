// Blend modes: the per-pixel formulas, and layers that cut into the layer
// beneath them (alpha, erase) only when there is one.
#include <gtest/gtest.h>
#include "player/render/Renderer.h"
#include "ShapeBuilders.h"

namespace tesmar::render {
namespace {

using namespace testing;

uint32_t blended(uint32_t dst, uint32_t src, BlendMode mode) {
    blendRow(&dst, &src, 1, mode);
    return dst;
}

TEST(BlendMode, SeparableModesOnOpaquePixels) {
    const uint32_t grey = 0xFF808080u, red = 0xFFFF0000u;
    EXPECT_EQ(blended(grey, red, BlendMode::Multiply), 0xFF800000u);
    EXPECT_EQ(blended(grey, red, BlendMode::Screen), 0xFFFF8080u);
    EXPECT_EQ(blended(grey, red, BlendMode::Lighten), 0xFFFF8080u);
    EXPECT_EQ(blended(grey, red, BlendMode::Darken), 0xFF800000u);
    EXPECT_EQ(blended(grey, grey, BlendMode::Difference), 0xFF000000u);
    EXPECT_EQ(blended(grey, red, BlendMode::Add), 0xFFFF8080u);
    EXPECT_EQ(blended(grey, red, BlendMode::Subtract), 0xFF008080u);
    EXPECT_EQ(blended(0xFF204060u, red, BlendMode::Invert), 0xFFDFBF9Fu);
}

TEST(BlendMode, TransparentSourceLeavesTheBackdrop) {
    for (BlendMode mode : {BlendMode::Multiply, BlendMode::Difference, BlendMode::Alpha, BlendMode::Erase})
        EXPECT_EQ(blended(0xFF123456u, 0, mode), 0xFF123456u) << int(mode);
}

TEST(BlendMode, HalfTransparentSourceOverTransparentBackdropKeepsItsColour) {
    EXPECT_EQ(blended(0, 0x80800000u, BlendMode::Multiply), 0x80800000u);
    EXPECT_EQ(blended(0, 0x80800000u, BlendMode::Difference), 0x80800000u);
}

// A 4x1 blue target; red over all of it, in a layer of its own when
// parentLayer; then a green object in mode over columns 0 and 1.
uint32_t columnAfter(int column, BlendMode mode, bool parentLayer) {
    Image image(4, 1);
    Renderer r(image);
    r.clear(Rgba{0, 0, 255, 255});
    if (parentLayer) {
        EXPECT_TRUE(r.beginLayer());
    }
    r.drawShape(rectShape(0, 0, 4, 1, Rgba{255, 0, 0, 255}), kTwipsToPixels, {});
    EXPECT_TRUE(r.beginLayer());
    r.drawShape(rectShape(0, 0, 2, 1, Rgba{0, 255, 0, 255}), kTwipsToPixels, {});
    r.endLayer(mode);
    if (parentLayer) r.endLayer(BlendMode::Layer);
    r.finish();
    return image.row(0)[column];
}

TEST(BlendMode, AlphaAndEraseCutIntoTheLayerBeneath) {
    EXPECT_EQ(columnAfter(0, BlendMode::Alpha, true), 0xFFFF0000u);   // kept where the object is opaque
    EXPECT_EQ(columnAfter(3, BlendMode::Alpha, true), 0xFFFF0000u);   // and where it drew nothing
    EXPECT_EQ(columnAfter(0, BlendMode::Erase, true), 0xFF0000FFu);   // erased down to the stage
    EXPECT_EQ(columnAfter(3, BlendMode::Erase, true), 0xFFFF0000u);
    // Without a layer beneath, such an object shows nothing.
    EXPECT_EQ(columnAfter(0, BlendMode::Erase, false), 0xFFFF0000u);
    EXPECT_EQ(columnAfter(0, BlendMode::Multiply, false), 0xFF000000u);
}

} // namespace
} // namespace tesmar::render
