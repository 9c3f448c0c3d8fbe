// What movies can hand the renderer: non-finite and huge coordinates, style
// indices that point nowhere, degenerate matrices, empty targets.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "player/render/Renderer.h"
#include "ShapeBuilders.h"

namespace tesmar::render {
namespace {

using namespace testing;
const Rgba kRed{255, 0, 0, 255};
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

Shape everyStyleShape(double lineWidth = 40) {
    Shape s;
    FillStyle linear;
    linear.kind = FillStyle::Kind::LinearGradient;
    linear.gradient.stops = {{0, kRed}, {255, {0, 0, 255, 255}}};
    FillStyle focal = linear;
    focal.kind = FillStyle::Kind::FocalGradient;
    focal.gradient.focalPoint = 1.0;
    LineStyle line;
    line.width = lineWidth;
    line.join = LineStyle::Join::Miter;
    s.groups.push_back({{solidFill(kRed), linear, focal}, {line}});
    for (uint32_t fill = 1; fill <= 3; ++fill) {
        ShapePath p = polygonPath({{1, 1}, {9, 2}, {5, 9}}, fill, 0, 1);
        p.segments[1].curved = true;
        p.segments[1].control = {200, 200};
        s.paths.push_back(p);
    }
    return s;
}

TEST(HostileInput, NonFiniteAndHugeCoordinatesDrawWithoutHarm) {
    for (double bad : {kNaN, kInf, -kInf, 1e300, -1e300, 1e12}) {
        Shape s = everyStyleShape();
        Shape thin = everyStyleShape(10);   // drawn as stepped hairlines
        thin.paths[0].segments[0].to = {bad, 40};
        s.paths[0].segments[0].to = {bad, 40};
        s.paths[1].start = {40, bad};
        s.paths[2].segments[1].control = {bad, bad};
        Image image(16, 16);
        Renderer r(image);
        r.drawShape(s, kTwipsToPixels, {});
        r.drawShape(thin, kTwipsToPixels, {});
        Matrix wild{bad, 0, 0, bad, bad, 0};
        Shape bounded = everyStyleShape();
        bounded.bounds = {0, 0, 200, 200};
        r.drawShape(bounded, wild, {});
        bounded.bounds = {bad, 0, 200, bad};
        r.drawShape(bounded, kTwipsToPixels, {});
        r.drawShape(rectShape(0, 0, 1e9, 1e9, kRed), kTwipsToPixels, {});
        EXPECT_EQ(image.row(15)[15], 0xFFFF0000u);
    }
}

TEST(HostileInput, SingularMatricesAndExtremeTransforms) {
    Shape s = everyStyleShape();
    s.groups[0].fills[1].matrix = Matrix{0, 0, 0, 0, 0, 0};
    s.groups[0].fills[2].matrix = Matrix{kNaN, 0, 0, 1, 0, 0};
    Image image(16, 16);
    Renderer r(image);
    r.drawShape(s, kTwipsToPixels, {});
    r.drawShape(s, Matrix{0, 0, 0, 0, 5, 5}, {});
    ColorTransform cx;
    cx.rMult = cx.aMult = 32767;
    cx.gAdd = -32768;
    r.drawShape(s, kTwipsToPixels, cx);
    SUCCEED();
}

TEST(HostileInput, StyleIndicesPointingNowhereAreIgnored) {
    Shape s = rectShape(0, 0, 4, 4, kRed);
    s.paths.push_back(rectPath(0, 0, 4, 4, 7, 9));
    s.paths.back().line = 3;
    s.paths.back().styleGroup = 5;
    s.paths.push_back(ShapePath{});   // no segments at all
    s.groups.push_back({});           // an empty style group
    Image image(4, 4);
    Renderer(image).drawShape(s, kTwipsToPixels, {});
    EXPECT_EQ(image.row(2)[2], 0xFFFF0000u);
}

TEST(HostileInput, EmptyShapesAndEmptyTargets) {
    Image none;
    Renderer(none).drawShape(everyStyleShape(), kTwipsToPixels, {});
    Image zeroWide(0, 10);
    Renderer r(zeroWide);
    r.clear(kRed);
    r.beginMask();
    r.drawShape(everyStyleShape(), kTwipsToPixels, {});
    r.endMaskDefinition();
    r.drawShape(everyStyleShape(), kTwipsToPixels, {});
    r.popMask();
    Image image(4, 4);
    Renderer(image).drawShape(Shape{}, kTwipsToPixels, {});
    EXPECT_EQ(image.row(0)[0], 0u);
}

TEST(HostileInput, GradientWithoutStopsOrWithManyDrawsNothingOrSomething) {
    FillStyle f;
    f.kind = FillStyle::Kind::RadialGradient;
    Image image(8, 8);
    Renderer(image).drawShape(rectShape(0, 0, 8, 8, f), kTwipsToPixels, {});
    EXPECT_EQ(image.row(4)[4], 0u);
    for (int i = 0; i < 300; ++i) f.gradient.stops.push_back({uint8_t(255 - i % 256), kRed});
    Renderer(image).drawShape(rectShape(0, 0, 8, 8, f), kTwipsToPixels, {});
    EXPECT_EQ(image.row(4)[4], 0xFFFF0000u);
}

TEST(HostileInput, TargetSmallerThanItsStatedSizeIsLeftAlone) {
    Image image(4, 4);
    image.pixels.resize(3);
    Renderer(image).drawShape(rectShape(0, 0, 4, 4, kRed), kTwipsToPixels, {});
    EXPECT_EQ(image.pixels[0], 0u);
}

} // namespace
} // namespace tesmar::render
