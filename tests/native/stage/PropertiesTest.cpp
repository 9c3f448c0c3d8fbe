#include <gtest/gtest.h>
#include <cmath>
#include "player/stage/Properties.h"
#include "tests/native/stage/TestMovies.h"

using namespace tesmar;
using namespace tesmar::test;

TEST(Properties, RoundTripThroughTheMatrix) {
    stage::Stage stage;
    stage::MovieClip& root = stage.setLevel(0, readTestMovie({rectangleShape(1, 200, 200, 0, 0, 0), place(1, 1),
                                                              showFrame()}), "a.swf");
    stage.tick();
    stage::DisplayObject& shape = *root.childAt(1);
    stage::setPlacement(shape, {10, 20, 200, 50, 90});
    stage::Placement p = stage::placementOf(shape);
    EXPECT_NEAR(p.x, 10, 1e-9);
    EXPECT_NEAR(p.y, 20, 1e-9);
    EXPECT_NEAR(p.xScale, 200, 1e-9);
    EXPECT_NEAR(p.yScale, 50, 1e-9);
    EXPECT_NEAR(p.rotation, 90, 1e-9);
    EXPECT_NEAR(shape.matrix().b, 2, 1e-9);   // x axis turned to point down

    stage::setPlacement(shape, {NAN, 0, INFINITY, 100, 0});
    EXPECT_EQ(shape.matrix().tx, 0);
    EXPECT_EQ(shape.matrix().a, 0);

    stage::setAlpha(shape, 50);
    EXPECT_EQ(shape.colorTransform().aMult, 128);
    EXPECT_DOUBLE_EQ(stage::alphaOf(shape), 50);
}
