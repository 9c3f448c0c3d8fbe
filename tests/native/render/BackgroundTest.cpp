// The background colour is laid row by row as drawing reaches it: after
// finish() the frame must look as if the whole target had been filled first.
#include <gtest/gtest.h>
#include "player/render/Renderer.h"
#include "ShapeBuilders.h"

namespace tesmar::render {
namespace {

using namespace testing;
const Rgba kBlue{0, 0, 255, 255};
const uint32_t kBluePixel = 0xFF0000FFu, kRedPixel = 0xFFFF0000u;

TEST(Background, LaidEverywhereNothingCovers) {
    Image image(10, 10);
    Renderer r(image);
    r.clear(kBlue);
    r.drawShape(rectShape(3, 2, 7, 5, Rgba{255, 0, 0, 255}), kTwipsToPixels, {});
    r.finish();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
            ASSERT_EQ(image.row(y)[x], inside ? kRedPixel : kBluePixel) << x << "," << y;
        }
}

TEST(Background, PartlyCoveredEdgesBlendWithIt) {
    Image image(4, 1);
    Renderer r(image);
    r.clear(kBlue);
    r.drawShape(rectShape(0.5, 0, 2.5, 1, Rgba{255, 0, 0, 255}), kTwipsToPixels, {});
    r.finish();
    for (int x : {0, 2}) {
        EXPECT_NEAR(int(redOf(image.row(0)[x])), 128, 1) << x;
        EXPECT_NEAR(int(blueOf(image.row(0)[x])), 127, 1) << x;
    }
    EXPECT_EQ(image.row(0)[1], kRedPixel);
    EXPECT_EQ(image.row(0)[3], kBluePixel);
}

TEST(Background, ShapesDrawnLeftOfEarlierOnesStillBlendWithIt) {
    Image image(10, 1);
    Renderer r(image);
    r.clear(kBlue);
    r.drawShape(rectShape(6, 0, 9, 1, Rgba{255, 0, 0, 255}), kTwipsToPixels, {});
    r.drawShape(rectShape(1, 0, 3, 1, Rgba{255, 0, 0, 128}), kTwipsToPixels, {});
    r.finish();
    EXPECT_NEAR(int(blueOf(image.row(0)[2])), 127, 1);
    EXPECT_EQ(image.row(0)[4], kBluePixel);
    EXPECT_EQ(image.row(0)[7], kRedPixel);
}

TEST(Background, SecondClearCoversEarlierDrawing) {
    Image image(4, 4);
    Renderer r(image);
    r.clear(Rgba{0, 255, 0, 255});
    r.drawShape(rectShape(0, 0, 4, 2, Rgba{255, 0, 0, 255}), kTwipsToPixels, {});
    r.clear(kBlue);
    r.drawShape(rectShape(0, 1, 1, 2, Rgba{255, 0, 0, 255}), kTwipsToPixels, {});
    r.finish();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(image.row(y)[x], x == 0 && y == 1 ? kRedPixel : kBluePixel);
}

TEST(Background, NextFrameAndDestructionFinishTheFrame) {
    Image first(3, 3), second(3, 3);
    {
        Renderer r(first);
        r.clear(kBlue);
        r.begin(second);
        r.clear(kBlue);
    }
    for (uint32_t p : first.pixels) EXPECT_EQ(p, kBluePixel);
    for (uint32_t p : second.pixels) EXPECT_EQ(p, kBluePixel);
}

TEST(Background, MaskedPaintingLaysItFirst) {
    Image image(6, 1);
    Renderer r(image);
    r.clear(kBlue);
    r.beginMask();
    r.drawShape(rectShape(1.5, 0, 4, 1, kBlue), kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(rectShape(0, 0, 6, 1, Rgba{255, 0, 0, 255}), kTwipsToPixels, {});
    r.popMask();
    r.finish();
    EXPECT_EQ(image.row(0)[0], kBluePixel);
    EXPECT_NEAR(int(redOf(image.row(0)[1])), 128, 1);
    EXPECT_NEAR(int(blueOf(image.row(0)[1])), 127, 1);
    EXPECT_EQ(image.row(0)[2], kRedPixel);
    EXPECT_EQ(image.row(0)[5], kBluePixel);
}

} // namespace
} // namespace tesmar::render
