// Filters: the flags that decide what of the object and its shadow shows,
// limits that keep hostile requests affordable, and a layer whose filter
// paints beyond what the object covered.
#include <gtest/gtest.h>
#include <cmath>
#include "player/render/Filters.h"
#include "player/render/Renderer.h"
#include "ShapeBuilders.h"

namespace tesmar::render {
namespace {

using namespace testing;

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// A 7x1 image with one opaque white pixel at column 2.
Image onePixel() {
    Image image(7, 1);
    image.pixels[2] = kWhite;
    return image;
}

// A red drop shadow 2 pixels to the right, not blurred.
Filter redShadow() {
    Filter f;
    f.kind = FilterKind::DropShadow;
    f.color = 0xFF0000;
    f.blurX = f.blurY = 1;
    f.angle = 0;
    f.distance = 2;
    return f;
}

TEST(Filter, ShadowFlagsChooseWhatShows) {
    Filter shadow = redShadow();
    Image plain = onePixel();
    applyFilters(plain, {&shadow, 1}, 1);
    EXPECT_EQ(plain.pixels[2], kWhite);
    EXPECT_EQ(plain.pixels[4], 0xFFFF0000u);

    shadow.knockout = true;
    Image knockedOut = onePixel();
    applyFilters(knockedOut, {&shadow, 1}, 1);
    EXPECT_EQ(knockedOut.pixels[2], 0u);
    EXPECT_EQ(knockedOut.pixels[4], 0xFFFF0000u);

    // An inner shadow falls inside the object, where the object is not
    // shifted onto itself: the one pixel is all shadow.
    shadow.knockout = false;
    shadow.inner = true;
    Image inner = onePixel();
    applyFilters(inner, {&shadow, 1}, 1);
    EXPECT_EQ(inner.pixels[2], 0xFFFF0000u);
    EXPECT_EQ(inner.pixels[4], 0u);
}

TEST(Filter, ColourMatrixWorksOnUnpremultipliedColour) {
    Filter swap;
    swap.kind = FilterKind::ColorMatrix;
    // Red from blue, blue from red, alpha kept.
    swap.colorMatrix = {0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    Image image(1, 1, 0x80800000u);   // half-transparent red
    applyFilters(image, {&swap, 1}, 1);
    EXPECT_EQ(image.pixels[0], 0x80000080u);
}

TEST(Filter, HugeOrBrokenRequestsStayBounded) {
    Filter blur;
    blur.kind = FilterKind::Blur;
    blur.blurX = blur.blurY = 1e12;
    blur.quality = 1000;
    const FilterReach reach = filterReach({&blur, 1}, 1e6);
    EXPECT_LE(reach.left, int(kMostBoxReach) * kMostPasses + 1);
    Image image(64, 64, kWhite);
    applyFilters(image, {&blur, 1}, 1e6);   // costs a few passes of a small image
    EXPECT_LT(image.pixels[0] >> 24, 255u);

    // However many filters a movie lists, only the first few are paid for.
    const std::vector<Filter> many(200, blur);
    EXPECT_EQ(filterReach(many, 1).left, filterReach({many.data(), kMostFilters}, 1).left);

    Filter broken = redShadow();
    broken.blurX = broken.blurY = broken.distance = std::nan("");
    EXPECT_EQ(filterReach({&broken, 1}, 1).right, 1);
    Image untouched = onePixel();
    broken.kind = FilterKind::Blur;
    applyFilters(untouched, {&broken, 1}, 1);
    EXPECT_EQ(untouched.pixels, onePixel().pixels);
}

TEST(Filter, CutShortListKeepsTheWholeFilters) {
    // Two filters announced; a blur whole, then a glow cut short.
    const std::vector<uint8_t> bytes = {2, 1, 0, 0, 4, 0, 0, 0, 4, 0, 0x08, 2, 0xFF, 0};
    const std::vector<Filter> filters = readFilterList(bytes);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].kind, FilterKind::Blur);
    EXPECT_EQ(filters[0].blurX, 4);
    EXPECT_EQ(filters[0].quality, 1);
}

TEST(Filter, LayerGlowPaintsBeyondTheObject) {
    Image target(12, 12, 0xFF000000u);
    Renderer renderer(target);
    renderer.setQuality(Quality::Low);
    ASSERT_TRUE(renderer.beginLayer());
    renderer.drawShape(rectShape(4, 4, 8, 8, solidFill({255, 255, 255, 255})), kTwipsToPixels, ColorTransform{});
    Filter glow;
    glow.kind = FilterKind::Glow;
    glow.color = 0x00FF00;
    glow.blurX = glow.blurY = 3;   // reaches one pixel either side
    glow.strength = 255;
    renderer.endLayer(BlendMode::Normal, {&glow, 1}, 1);
    renderer.finish();
    EXPECT_EQ(target.row(6)[6], kWhite);
    EXPECT_EQ(target.row(6)[3], 0xFF00FF00u);
    EXPECT_EQ(target.row(3)[6], 0xFF00FF00u);
    EXPECT_EQ(target.row(6)[2], 0xFF000000u);
}

} // namespace
} // namespace tesmar::render
