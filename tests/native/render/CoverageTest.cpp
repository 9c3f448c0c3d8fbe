// Coverage of filled shapes: exact area and 2x2-sample anti-aliasing, fill
// rules and the fill0/fill1 sides, centre sampling without anti-aliasing.
#include <gtest/gtest.h>
#include "player/render/Renderer.h"
#include "ShapeBuilders.h"

namespace tesmar::render {
namespace {

using namespace testing;
const Rgba kRed{255, 0, 0, 255};

int countAlpha(const Image& image, uint32_t alpha) {
    int n = 0;
    for (uint32_t p : image.pixels) n += alphaOf(p) == alpha;
    return n;
}

TEST(Coverage, PixelAlignedSquareFillsExactly) {
    Image image(8, 8);
    Renderer r(image);
    r.drawShape(rectShape(2, 3, 5, 7, kRed), kTwipsToPixels, {});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 5 && y >= 3 && y < 7;
            EXPECT_EQ(image.row(y)[x], inside ? 0xFFFF0000u : 0u) << x << "," << y;
        }
}

TEST(Coverage, PartlyCoveredPixelsGetTheirShareOfAlpha) {
    Image image(4, 4);
    Renderer r(image);
    r.setQuality(Quality::Best);
    // x from 1.5 to 3 (half of pixel 1), y from 0 to 1.25 (a quarter of row 1).
    r.drawShape(rectShape(1.5, 0, 3, 1.25, kRed), kTwipsToPixels, {});
    EXPECT_NEAR(int(alphaOf(image.row(0)[1])), 128, 1);
    EXPECT_EQ(alphaOf(image.row(0)[2]), 255u);
    EXPECT_NEAR(int(alphaOf(image.row(1)[2])), 64, 1);
    EXPECT_NEAR(int(alphaOf(image.row(1)[1])), 32, 1);
    EXPECT_EQ(alphaOf(image.row(0)[3]), 0u);
    // Premultiplied: the colour scales with the alpha.
    EXPECT_EQ(redOf(image.row(0)[1]), alphaOf(image.row(0)[1]));
}

TEST(Coverage, DiagonalEdgeCoversHalfOfEachPixelItCrosses) {
    // Exactly half; of the 2x2 samples, the one above the diagonal and the
    // two on it are in.
    for (auto [quality, alpha] : {std::pair{Quality::Best, 128}, std::pair{Quality::High, 191}}) {
        Image image(4, 4);
        Renderer r(image);
        r.setQuality(quality);
        Shape s;
        s.groups.push_back({{solidFill(kRed)}, {}});
        s.paths.push_back(polygonPath({{0, 0}, {4, 0}, {4, 4}}, 1));   // above the diagonal
        r.drawShape(s, kTwipsToPixels, {});
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(int(alphaOf(image.row(i)[i])), alpha, 1) << i;
        EXPECT_EQ(alphaOf(image.row(0)[3]), 255u);
        EXPECT_EQ(alphaOf(image.row(3)[0]), 0u);
    }
}

TEST(Coverage, HighQualityCountsTheSamplesOfATwoByTwoGrid) {
    Image image(4, 4);
    Renderer r(image);   // high quality by default
    // Edges between the samples: a column half in, a row a quarter in.
    r.drawShape(rectShape(1.4, 0, 3, 1.3, kRed), kTwipsToPixels, {});
    EXPECT_NEAR(int(alphaOf(image.row(0)[1])), 128, 1);
    EXPECT_EQ(alphaOf(image.row(0)[2]), 255u);
    EXPECT_NEAR(int(alphaOf(image.row(1)[2])), 128, 1);   // the sample row at 1.25 is in
    EXPECT_NEAR(int(alphaOf(image.row(1)[1])), 64, 1);
    EXPECT_EQ(alphaOf(image.row(0)[0]), 0u);
}

TEST(Coverage, FillZeroIsOnTheLeftOfTheEdges) {
    // The same outline with the fill on the other side, walked the other way round.
    Image right(6, 6), left(6, 6);
    Renderer(right).drawShape(rectShape(1, 1, 5, 5, kRed), kTwipsToPixels, {});
    Shape s;
    s.groups.push_back({{solidFill(kRed)}, {}});
    s.paths.push_back(polygonPath({{1, 1}, {1, 5}, {5, 5}, {5, 1}}, 0, 1));
    Renderer(left).drawShape(s, kTwipsToPixels, {});
    EXPECT_EQ(right.pixels, left.pixels);
    EXPECT_EQ(countAlpha(left, 255), 16);
}

TEST(Coverage, HoleBetweenTwoFillsIsNotPainted) {
    // An outer square filled with style 1 and an inner square whose edges
    // have style 1 outside (fill0) and nothing inside.
    // Under the non-zero rule this holds only when fill0 edges count reversed.
    Image image(10, 10);
    Shape s;
    s.nonZeroWinding = true;
    s.groups.push_back({{solidFill(kRed)}, {}});
    s.paths.push_back(rectPath(1, 1, 9, 9, 1));
    s.paths.push_back(rectPath(3, 3, 7, 7, 0, 1));
    Renderer(image).drawShape(s, kTwipsToPixels, {});
    EXPECT_EQ(alphaOf(image.row(5)[5]), 0u);
    EXPECT_EQ(alphaOf(image.row(2)[2]), 255u);
    EXPECT_EQ(countAlpha(image, 255), 64 - 16);
}

TEST(Coverage, OverlapIsEmptyUnderEvenOddAndFilledUnderNonZero) {
    Shape s;
    s.groups.push_back({{solidFill(kRed)}, {}});
    s.paths.push_back(rectPath(0, 0, 4, 4, 1));
    s.paths.push_back(rectPath(2, 2, 6, 6, 1));
    Image evenOdd(6, 6), nonZero(6, 6);
    Renderer(evenOdd).drawShape(s, kTwipsToPixels, {});
    s.nonZeroWinding = true;
    Renderer(nonZero).drawShape(s, kTwipsToPixels, {});
    EXPECT_EQ(alphaOf(evenOdd.row(3)[3]), 0u);
    EXPECT_EQ(alphaOf(nonZero.row(3)[3]), 255u);
    EXPECT_EQ(countAlpha(nonZero, 255), 28);
}

TEST(Coverage, WithoutAntialiasingAPixelIsInWhenItsCentreIs) {
    Image image(6, 1);
    Renderer r(image);
    r.setQuality(Quality::Low);
    // Left edge on pixel 1's centre (in), right edge on pixel 4's centre (out).
    r.drawShape(rectShape(1.5, 0, 4.5, 1, kRed), kTwipsToPixels, {});
    std::vector<uint32_t> alphas;
    for (uint32_t p : image.pixels) alphas.push_back(alphaOf(p));
    EXPECT_EQ(alphas, (std::vector<uint32_t>{0, 255, 255, 255, 0, 0}));
}

TEST(Coverage, TranslucentColourBlendsOverTheTarget) {
    Image image(2, 1);
    Renderer r(image);
    r.clear({0, 0, 255, 255});
    r.drawShape(rectShape(0, 0, 1, 1, Rgba{255, 0, 0, 128}), kTwipsToPixels, {});
    r.finish();
    uint32_t p = image.row(0)[0];
    EXPECT_EQ(alphaOf(p), 255u);
    EXPECT_NEAR(int(redOf(p)), 128, 1);
    EXPECT_NEAR(int(blueOf(p)), 127, 1);
    EXPECT_EQ(image.row(0)[1], 0xFF0000FFu);
}

TEST(Coverage, ShapesAreClippedToTheTarget) {
    Image image(4, 4);
    Renderer(image).drawShape(rectShape(-10, -10, 2, 50, kRed), kTwipsToPixels, {});
    EXPECT_EQ(countAlpha(image, 255), 8);
}

} // namespace
} // namespace tesmar::render
