// Clip masks (union while defined, intersection when nested, strokes left
// out) and strokes turned into fills (widths, hairlines, caps).
#include <gtest/gtest.h>
#include "player/render/Renderer.h"
#include "ShapeBuilders.h"

namespace tesmar::render {
namespace {

using namespace testing;
const Rgba kRed{255, 0, 0, 255};

int countOpaque(const Image& image) {
    int n = 0;
    for (uint32_t p : image.pixels) n += alphaOf(p) == 255;
    return n;
}

TEST(Mask, ClipsDrawingUntilPopped) {
    Image image(10, 10);
    Renderer r(image);
    r.beginMask();
    r.drawShape(rectShape(0, 0, 5, 10, kRed), kTwipsToPixels, {});
    r.endMaskDefinition();
    EXPECT_EQ(countOpaque(image), 0);   // defining a mask paints nothing
    r.drawShape(rectShape(0, 0, 10, 10, Rgba{0, 0, 255, 255}), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 50);
    EXPECT_EQ(image.row(5)[7], 0u);
    r.popMask();
    r.drawShape(rectShape(8, 0, 10, 1, kRed), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 52);
}

TEST(Mask, ShapesDefiningOneMaskAddUp) {
    Image image(10, 10);
    Renderer r(image);
    r.beginMask();
    r.drawShape(rectShape(0, 0, 2, 10, kRed), kTwipsToPixels, {});
    r.drawShape(rectShape(8, 0, 10, 10, kRed), kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(rectShape(0, 0, 10, 10, kRed), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 40);
}

TEST(Mask, NestedMasksIntersect) {
    Image image(10, 10);
    Renderer r(image);
    r.beginMask();
    r.drawShape(rectShape(0, 0, 6, 10, kRed), kTwipsToPixels, {});
    r.endMaskDefinition();
    r.beginMask();
    r.drawShape(rectShape(4, 0, 10, 10, kRed), kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(rectShape(0, 0, 10, 10, kRed), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 20);   // columns 4 and 5
    r.popMask();
    r.drawShape(rectShape(0, 0, 10, 1, kRed), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 24);   // the outer mask again: columns 0 to 5 of row 0
}

TEST(Mask, PartialCoverageScalesWhatIsDrawn) {
    Image image(2, 1);
    Renderer r(image);
    r.beginMask();
    r.drawShape(rectShape(0, 0, 1.5, 1, kRed), kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(rectShape(0, 0, 2, 1, kRed), kTwipsToPixels, {});
    EXPECT_EQ(alphaOf(image.row(0)[0]), 255u);
    EXPECT_NEAR(int(alphaOf(image.row(0)[1])), 128, 1);
}

TEST(Mask, StrokesDoNotCount) {
    Shape s;
    LineStyle line;
    line.width = 200;   // 10 pixels
    s.groups.push_back({{}, {line}});
    s.paths.push_back(polygonPath({{2, 2}, {8, 2}}, 0, 0, 1));
    Image image(10, 10);
    Renderer r(image);
    r.beginMask();
    r.drawShape(s, kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(rectShape(0, 0, 10, 10, kRed), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 0);
}

TEST(Mask, UnbalancedCallsAreHarmless) {
    Image image(4, 4);
    Renderer r(image);
    r.popMask();
    r.endMaskDefinition();
    for (int i = 0; i < 40; ++i) r.beginMask();   // deeper than masks nest
    r.drawShape(rectShape(0, 0, 4, 4, kRed), kTwipsToPixels, {});
    for (int i = 0; i < 40; ++i) r.popMask();
    r.drawShape(rectShape(0, 0, 4, 4, kRed), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 16);
}

Shape lineShape(const std::vector<Point>& pixels, const LineStyle& line) {
    Shape s;
    s.groups.push_back({{}, {line}});
    ShapePath path;
    path.line = 1;
    path.start = {pixels[0].x * 20, pixels[0].y * 20};
    for (size_t i = 1; i < pixels.size(); ++i) path.segments.push_back({false, {}, {pixels[i].x * 20, pixels[i].y * 20}});
    s.paths.push_back(path);
    return s;
}

TEST(Stroke, WidthIsInTwipsThroughTheMatrix) {
    LineStyle line;
    line.width = 80;   // 4 pixels
    line.startCap = line.endCap = LineStyle::Cap::None;
    Image image(20, 20);
    Renderer(image).drawShape(lineShape({{2, 10}, {18, 10}}, line), kTwipsToPixels, {});
    EXPECT_EQ(countOpaque(image), 16 * 4);
    EXPECT_EQ(alphaOf(image.row(8)[10]), 255u);
    EXPECT_EQ(alphaOf(image.row(12)[10]), 0u);

    Image doubled(40, 40);
    Matrix twice{2.0 / 20, 0, 0, 2.0 / 20, 0, 0};
    Renderer(doubled).drawShape(lineShape({{2, 10}, {18, 10}}, line), twice, {});
    EXPECT_EQ(countOpaque(doubled), 32 * 8);
}

TEST(Stroke, NoScaleKeepsTheWidth) {
    LineStyle line;
    line.width = 80;
    line.startCap = line.endCap = LineStyle::Cap::None;
    line.noHScale = line.noVScale = true;
    Image image(40, 40);
    Renderer(image).drawShape(lineShape({{2, 10}, {18, 10}}, line), Matrix{0.1, 0, 0, 0.1, 0, 0}, {});
    EXPECT_EQ(countOpaque(image), 32 * 4);
}

TEST(Stroke, HairlinesAndThinLinesAreOnePixelWide) {
    for (double width : {0.0, 5.0}) {
        LineStyle line;
        line.width = width;
        line.startCap = line.endCap = LineStyle::Cap::None;
        Image image(10, 10);
        Renderer(image).drawShape(lineShape({{0, 5.5}, {10, 5.5}}, line), kTwipsToPixels, {});
        EXPECT_EQ(countOpaque(image), 10) << width;
    }
}

TEST(Stroke, ThinDiagonalsAreOnePixelThickAcrossTheirMinorAxis) {
    LineStyle line;
    line.width = 20;
    Image image(20, 20);
    Renderer(image).drawShape(lineShape({{2, 2}, {18, 18}}, line), kTwipsToPixels, {});
    for (int y = 5; y < 15; ++y) {
        uint32_t rowCoverage = 0;
        for (int x = 0; x < 20; ++x) rowCoverage += alphaOf(image.row(y)[x]);
        EXPECT_NEAR(rowCoverage, 255, 2) << y;   // a band one pixel wide square to the line would be 1.41
    }
}

TEST(Stroke, CapsExtendTheEnds) {
    auto opaqueWith = [](LineStyle::Cap cap) {
        LineStyle line;
        line.width = 80;
        line.startCap = line.endCap = cap;
        Image image(30, 20);
        Renderer(image).drawShape(lineShape({{10, 10}, {20, 10}}, line), kTwipsToPixels, {});
        return countOpaque(image);
    };
    EXPECT_EQ(opaqueWith(LineStyle::Cap::None), 40);
    EXPECT_EQ(opaqueWith(LineStyle::Cap::Square), 56);   // two more pixels each end
    int round = opaqueWith(LineStyle::Cap::Round);
    EXPECT_GT(round, 40);
    EXPECT_LT(round, 56);
}

TEST(Stroke, JoinsFillTheOutsideOfCorners) {
    auto opaqueWith = [](LineStyle::Join join) {
        LineStyle line;
        line.width = 80;
        line.join = join;
        line.startCap = line.endCap = LineStyle::Cap::None;
        Image image(30, 30);
        Renderer(image).drawShape(lineShape({{5, 10}, {20, 10}, {20, 25}}, line), kTwipsToPixels, {});
        return image.row(8)[21] >> 24;   // the outer corner of the turn
    };
    EXPECT_EQ(opaqueWith(LineStyle::Join::Miter), 255u);
    EXPECT_LT(opaqueWith(LineStyle::Join::Bevel), 255u);
}

TEST(Stroke, LineStyleWithAFillUsesIt) {
    LineStyle line;
    line.width = 80;
    line.hasFill = true;
    line.fill = solidFill({0, 255, 0, 255});
    Image image(20, 20);
    Renderer(image).drawShape(lineShape({{2, 10}, {18, 10}}, line), kTwipsToPixels, {});
    EXPECT_EQ(image.row(10)[10], 0xFF00FF00u);
}

// Draws a blue square through a mask made of `mask`, nested in a left-half
// mask when asked, into a fresh 10x10 frame of renderer r.
Image frameThrough(Renderer& r, const Shape& mask, bool nested) {
    Image image(10, 10);
    r.begin(image);
    if (nested) {
        r.beginMask();
        r.drawShape(rectShape(0, 0, 5, 10, kRed), kTwipsToPixels, {});
        r.endMaskDefinition();
    }
    r.beginMask();
    r.drawShape(mask, kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(rectShape(0, 0, 10, 10, Rgba{0, 0, 255, 255}), kTwipsToPixels, {});
    r.popMask();
    if (nested) r.popMask();
    r.finish();
    return image;
}

TEST(Mask, KeptMasksAreTakenBackOnlyWhenNothingChanged) {
    Renderer r;
    Shape mask = rectShape(0, 0, 10, 4, kRed);
    EXPECT_EQ(countOpaque(frameThrough(r, mask, false)), 40);
    EXPECT_EQ(countOpaque(frameThrough(r, mask, false)), 40);   // the same mask again
    mask = rectShape(0, 0, 10, 6, kRed);                         // same object, new outline
    EXPECT_EQ(countOpaque(frameThrough(r, mask, false)), 60);
    EXPECT_EQ(countOpaque(frameThrough(r, mask, true)), 30);     // inside another mask
    EXPECT_EQ(countOpaque(frameThrough(r, mask, false)), 60);
    // Masks defined from shapes that live only for the call.
    Image image(10, 10);
    r.begin(image);
    r.beginMask();
    r.drawShape(rectShape(0, 0, 2, 10, kRed), kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(rectShape(0, 0, 10, 10, Rgba{0, 0, 255, 255}), kTwipsToPixels, {});
    r.finish();
    EXPECT_EQ(countOpaque(image), 20);
}

} // namespace
} // namespace tesmar::render
