#include <gtest/gtest.h>
#include "player/stage/ShapeGeometry.h"
#include "tests/native/stage/TestMovies.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

uint32_t pixel(const Image& image, int x, int y) { return image.pixels[size_t(y) * image.width + x]; }

} // namespace

TEST(Drawing, MaskClipsTheDepthsUpToItsClipDepth) {
    // A 20 x 20 pixel mask at (10, 10) clips depth 2 (a full red square) but
    // not depth 3 (a blue square at (40, 0)).
    stage::Stage stage;
    stage.setLevel(0, readTestMovie({rectangleShape(1, 400, 400, 0, 0, 0), rectangleShape(2, 1000, 1000, 255, 0, 0),
                                     rectangleShape(3, 200, 200, 0, 0, 255),
                                     place(1, 1, 200, 200, 2), place(2, 2), place(3, 3, 800, 0), showFrame()}),
                   "a.swf");
    stage.setViewSize(550, 400);
    stage.tick();
    Image image(550, 400);
    stage.render(image);
    EXPECT_EQ(pixel(image, 5, 5), 0xFFFFFFFFu);    // red is masked away here
    EXPECT_EQ(pixel(image, 15, 15), 0xFFFF0000u);  // inside the mask
    EXPECT_EQ(pixel(image, 45, 5), 0xFF0000FFu);   // above the clip depth: drawn
}

TEST(Drawing, InvisibleObjectsAreNotDrawn) {
    stage::Stage stage;
    stage::MovieClip& root = stage.setLevel(0, readTestMovie({rectangleShape(1, 400, 400, 0, 255, 0), place(1, 1),
                                                              showFrame()}), "a.swf");
    stage.setViewSize(550, 400);
    stage.tick();
    root.childAt(1)->setVisible(false);
    Image image(550, 400);
    stage.render(image);
    EXPECT_EQ(pixel(image, 5, 5), 0xFFFFFFFFu);
}

TEST(ShapeGeometry, HitTestFollowsFillsAndStrokes) {
    Shape shape;
    shape.bounds = {0, 0, 100, 100};
    StyleGroup group;
    group.fills.push_back(FillStyle{});
    LineStyle line;
    line.width = 40;
    group.lines.push_back(line);
    shape.groups.push_back(group);
    ShapePath square;
    square.fill1 = 1;
    square.start = {0, 0};
    for (Point p : {Point{80, 0}, Point{80, 80}, Point{0, 80}, Point{0, 0}}) square.segments.push_back({false, {}, p});
    shape.paths.push_back(square);
    ShapePath stroke;
    stroke.line = 1;
    stroke.start = {100, 0};
    stroke.segments.push_back({false, {}, {100, 100}});
    shape.paths.push_back(stroke);
    EXPECT_TRUE(stage::shapeContains(shape, {40, 40}));
    EXPECT_TRUE(stage::shapeContains(shape, {95, 50}));    // on the stroke
    EXPECT_FALSE(stage::shapeContains(shape, {-5, 40}));   // outside the bounds
    shape.bounds = {0, 0, 300, 300};
    EXPECT_FALSE(stage::shapeContains(shape, {200, 200}));
}

TEST(ShapeGeometry, MorphBlendsPointsColoursAndWidths) {
    swf::MorphShapeDef morph;
    StyleGroup a, b;
    FillStyle fa, fb;
    fa.color = {0, 0, 0, 255};
    fb.color = {200, 100, 0, 55};
    a.fills.push_back(fa);
    b.fills.push_back(fb);
    LineStyle la, lb;
    la.width = 20;
    lb.width = 60;
    a.lines.push_back(la);
    b.lines.push_back(lb);
    morph.start.groups.push_back(a);
    morph.end.groups.push_back(b);
    ShapePath pa, pb;
    pa.fill1 = pb.fill1 = 1;
    pa.start = {0, 0};
    pb.start = {100, 0};
    pa.segments.push_back({true, {10, 10}, {20, 0}});
    pb.segments.push_back({true, {30, 50}, {120, 40}});
    morph.start.paths.push_back(pa);
    morph.end.paths.push_back(pb);
    morph.start.bounds = {0, 0, 20, 10};
    morph.end.bounds = {100, 0, 120, 50};

    Shape half = stage::morphAt(morph, 0.5);
    EXPECT_DOUBLE_EQ(half.paths[0].start.x, 50);
    EXPECT_DOUBLE_EQ(half.paths[0].segments[0].control.y, 30);
    EXPECT_DOUBLE_EQ(half.paths[0].segments[0].to.x, 70);
    EXPECT_EQ(half.groups[0].fills[0].color, (Rgba{100, 50, 0, 155}));
    EXPECT_DOUBLE_EQ(half.groups[0].lines[0].width, 40);
    EXPECT_DOUBLE_EQ(half.bounds.xMin, 50);
    EXPECT_DOUBLE_EQ(stage::morphAt(morph, 1).paths[0].segments[0].to.y, 40);
}
