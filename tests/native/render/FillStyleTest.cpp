// Gradient, bitmap and colour-transformed fills, checked at known points.
#include <gtest/gtest.h>
#include <map>
#include "player/render/Renderer.h"
#include "ShapeBuilders.h"

namespace tesmar::render {
namespace {

using namespace testing;

FillStyle blackToWhite(FillStyle::Kind kind, Gradient::Spread spread = Gradient::Spread::Pad) {
    FillStyle f;
    f.kind = kind;
    f.gradient.spread = spread;
    f.gradient.stops = {{0, {0, 0, 0, 255}}, {255, {255, 255, 255, 255}}};
    return f;
}

// The gradient square scaled to size pixels, centred on (cx, cy) pixels.
Matrix gradientBox(double size, double cx, double cy) {
    double s = size * 20 / 32768;
    return {s, 0, 0, s, cx * 20, cy * 20};
}

int grey(const Image& image, int x, int y) { return int(redOf(image.row(y)[x])); }

TEST(GradientFill, LinearRunsAcrossTheSquareAndPadsBeyondIt) {
    FillStyle f = blackToWhite(FillStyle::Kind::LinearGradient);
    f.matrix = gradientBox(256, 128, 0);
    Image image(300, 1);
    Renderer(image).drawShape(rectShape(0, 0, 300, 1, f), kTwipsToPixels, {});
    EXPECT_NEAR(grey(image, 0, 0), 0, 1);
    EXPECT_NEAR(grey(image, 128, 0), 128, 1);
    EXPECT_NEAR(grey(image, 255, 0), 255, 1);
    EXPECT_EQ(grey(image, 290, 0), 255);
}

TEST(GradientFill, RepeatAndReflectBeyondTheSquare) {
    for (auto spread : {Gradient::Spread::Repeat, Gradient::Spread::Reflect}) {
        FillStyle f = blackToWhite(FillStyle::Kind::LinearGradient, spread);
        f.matrix = gradientBox(256, 128, 0);
        Image image(300, 1);
        Renderer(image).drawShape(rectShape(0, 0, 300, 1, f), kTwipsToPixels, {});
        // Pixel 266 lies 10.5 pixels past the end of the square.
        int expected = spread == Gradient::Spread::Repeat ? 10 : 245;
        EXPECT_NEAR(grey(image, 266, 0), expected, 2) << int(spread);
    }
}

TEST(GradientFill, RadialGrowsWithDistanceFromTheCentre) {
    FillStyle f = blackToWhite(FillStyle::Kind::RadialGradient);
    f.matrix = gradientBox(80, 50, 50);   // radius 40
    Image image(100, 100);
    Renderer(image).drawShape(rectShape(0, 0, 100, 100, f), kTwipsToPixels, {});
    EXPECT_LE(grey(image, 50, 50), 6);   // the pixel centre is 0.7 pixels off the centre
    EXPECT_NEAR(grey(image, 70, 49), 128, 4);    // 20 pixels out: halfway
    EXPECT_NEAR(grey(image, 49, 70), 128, 4);
    EXPECT_EQ(grey(image, 95, 95), 255);
}

TEST(GradientFill, FocalStartsAtTheFocalPoint) {
    FillStyle f = blackToWhite(FillStyle::Kind::FocalGradient);
    f.gradient.focalPoint = 0.5;
    f.matrix = gradientBox(80, 50, 50);
    Image image(100, 100);
    Renderer(image).drawShape(rectShape(0, 0, 100, 100, f), kTwipsToPixels, {});
    EXPECT_LE(grey(image, 70, 50), 10);          // at the focal point, 20 pixels right of the centre
    EXPECT_NEAR(grey(image, 39, 50), 129, 4);    // halfway from the focus to the circle's left side
    EXPECT_NEAR(grey(image, 79, 50), 129, 8);    // halfway to its right side, much nearer
    EXPECT_EQ(grey(image, 95, 50), 255);         // beyond the circle
    EXPECT_EQ(grey(image, 5, 50), 255);
}

TEST(GradientFill, LinearRgbInterpolationIsLighterInTheMiddle) {
    FillStyle f = blackToWhite(FillStyle::Kind::LinearGradient);
    f.matrix = gradientBox(256, 128, 0);
    f.gradient.interpolation = Gradient::Interpolation::LinearRgb;
    Image image(256, 1);
    Renderer(image).drawShape(rectShape(0, 0, 256, 1, f), kTwipsToPixels, {});
    EXPECT_NEAR(grey(image, 128, 0), 188, 3);   // linear 0.5 is sRGB 188
}

TEST(GradientFill, StopsSharingARatioEachTakeAPosition) {
    FillStyle f;
    f.kind = FillStyle::Kind::LinearGradient;
    f.matrix = gradientBox(256, 128, 0);
    f.gradient.stops = {{100, {255, 0, 0, 255}}, {100, {0, 255, 0, 255}}, {100, {0, 0, 255, 255}}};
    Image image(256, 1);
    Renderer(image).drawShape(rectShape(0, 0, 256, 1, f), kTwipsToPixels, {});
    EXPECT_EQ(image.row(0)[50], 0xFFFF0000u);
    EXPECT_EQ(image.row(0)[101], 0xFF00FF00u);
    EXPECT_EQ(image.row(0)[200], 0xFF0000FFu);
}

TEST(ColorTransform, MultipliesAddsAndClampsEveryChannel) {
    ColorTransform cx;
    cx.rMult = 512;      // 200 * 2 clamps to 255
    cx.gAdd = -150;      // 100 - 150 clamps to 0
    cx.aMult = 128;      // alpha 255 * 128 / 256 = 127
    Image image(1, 1);
    Renderer(image).drawShape(rectShape(0, 0, 1, 1, Rgba{200, 100, 50, 255}), kTwipsToPixels, cx);
    uint32_t p = image.row(0)[0];
    EXPECT_EQ(alphaOf(p), 127u);
    EXPECT_EQ(redOf(p), 127u);   // premultiplied 255 at alpha 127
    EXPECT_EQ(greenOf(p), 0u);
    EXPECT_EQ(blueOf(p), 25u);
}

TEST(ColorTransform, AppliesToGradientColours) {
    FillStyle f = blackToWhite(FillStyle::Kind::LinearGradient);
    f.matrix = gradientBox(256, 128, 0);
    ColorTransform cx;
    cx.rAdd = 255;
    Image image(256, 1);
    Renderer(image).drawShape(rectShape(0, 0, 256, 1, f), kTwipsToPixels, cx);
    EXPECT_EQ(image.row(0)[0], 0xFFFF0000u);
}

class Bitmaps : public BitmapSource {
public:
    const Image* bitmap(uint16_t id) const override {
        auto it = images.find(id);
        return it == images.end() ? nullptr : &it->second;
    }
    std::map<uint16_t, Image> images;
};

// A 2x2 bitmap drawn two pixels per texel.
struct BitmapFixture {
    BitmapFixture() {
        Image checker(2, 2);
        checker.pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
        bitmaps.images[7] = checker;
        fill.kind = FillStyle::Kind::Bitmap;
        fill.bitmapId = 7;
        fill.bitmapSmooth = false;
        fill.matrix = {40, 0, 0, 40, 0, 0};
    }
    Image draw(int width, int height) {
        Image image(width, height);
        Renderer(image).drawShape(rectShape(0, 0, width, height, fill), kTwipsToPixels, {}, &bitmaps);
        return image;
    }
    Bitmaps bitmaps;
    FillStyle fill;
};

TEST(BitmapFill, NearestTexelsRepeat) {
    BitmapFixture b;
    Image image = b.draw(8, 4);
    EXPECT_EQ(image.row(0)[1], 0xFFFF0000u);
    EXPECT_EQ(image.row(1)[2], 0xFF00FF00u);
    EXPECT_EQ(image.row(3)[0], 0xFF0000FFu);
    EXPECT_EQ(image.row(3)[3], 0xFFFFFFFFu);
    EXPECT_EQ(image.row(0)[4], 0xFFFF0000u);   // the next repeat
}

TEST(BitmapFill, ClippedBitmapsExtendTheirEdges) {
    BitmapFixture b;
    b.fill.bitmapRepeat = false;
    Image image = b.draw(8, 4);
    EXPECT_EQ(image.row(0)[6], 0xFF00FF00u);
    EXPECT_EQ(image.row(3)[7], 0xFFFFFFFFu);
}

TEST(BitmapFill, SmoothingBlendsNeighbouringTexels) {
    BitmapFixture b;
    b.fill.bitmapSmooth = true;
    Image image = b.draw(4, 4);
    uint32_t between = image.row(0)[2];   // halfway from the red texel to the green one
    EXPECT_GT(redOf(between), 40u);
    EXPECT_GT(greenOf(between), 40u);
}

TEST(BitmapFill, UnknownBitmapsDrawNothing) {
    BitmapFixture b;
    b.fill.bitmapId = 8;
    Image image = b.draw(4, 4);
    for (uint32_t p : image.pixels) EXPECT_EQ(p, 0u);
}

TEST(BitmapFill, ColourTransformAppliesToTexels) {
    BitmapFixture b;
    Image image(2, 2);
    ColorTransform cx;
    cx.bAdd = 255;
    Renderer(image).drawShape(rectShape(0, 0, 2, 2, b.fill), kTwipsToPixels, cx, &b.bitmaps);
    EXPECT_EQ(image.row(0)[0], 0xFFFF00FFu);
}

} // namespace
} // namespace tesmar::render
