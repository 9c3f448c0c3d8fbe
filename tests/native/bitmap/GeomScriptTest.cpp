// flash.geom and BitmapData called through the script machine as a movie
// would call them; a minimal host stands in for the stage.

#include "GeomFixture.h"

namespace tesmar::bridge::testing {
namespace {

using script::Value;

TEST_F(GeomScript, RectangleEdgesMoveOnlyTheirOwnSide)
{
    Value r = make("geom", "Rectangle", {Value(1), Value(3), Value(5), Value(7)});
    vm.set(r.object(), "left", Value(0));
    EXPECT_EQ(text(r), "(x=0, y=3, w=6, h=7)");
    vm.set(r.object(), "bottom", Value(20));
    EXPECT_EQ(text(r), "(x=0, y=3, w=6, h=17)");
    EXPECT_EQ(text(vm.getOf(r, "bottomRight")), "(x=6, y=20)");
}

TEST_F(GeomScript, RectangleContainmentWithNaNIsUndefined)
{
    Value r = make("geom", "Rectangle", {Value(1), Value(3), Value(5), Value(7)});
    EXPECT_TRUE(call(r, "contains", {Value(4), Value(NAN)}).isUndefined());
    EXPECT_TRUE(call(r, "contains", {Value(1), Value(3)}).boolean());
    EXPECT_FALSE(call(r, "contains", {Value(6), Value(10)}).boolean());
}

TEST_F(GeomScript, RectangleIntersectionAndUnion)
{
    Value a = make("geom", "Rectangle", {Value(1), Value(3), Value(5), Value(7)});
    Value b = make("geom", "Rectangle", {Value(-1), Value(-3), Value(5), Value(7)});
    EXPECT_EQ(text(call(a, "intersection", {b})), "(x=1, y=3, w=3, h=1)");
    EXPECT_EQ(text(call(a, "union", {b})), "(x=-1, y=-3, w=7, h=13)");
    Value far = make("geom", "Rectangle", {Value(30), Value(50), Value(1), Value(1)});
    EXPECT_EQ(text(call(a, "intersection", {far})), "(x=0, y=0, w=0, h=0)");
}

TEST_F(GeomScript, MatrixInvertAndConcat)
{
    Value m = make("geom", "Matrix", {Value(2), Value(3), Value(5), Value(7), Value(9), Value(11)});
    call(m, "invert");
    EXPECT_EQ(text(m), "(a=-7, b=3, c=5, d=-2, tx=8, ty=-5)");
    Value n = make("geom", "Matrix", {Value(2), Value(3), Value(5), Value(7), Value(9), Value(11)});
    call(m, "concat", {n});
    EXPECT_EQ(text(m), "(a=1, b=0, c=0, d=1, tx=0, ty=0)");
}

TEST_F(GeomScript, ColorTransformConcatAndRgb)
{
    Value a = make("geom", "ColorTransform", {Value(0.5), Value(0.5), Value(0.5), Value(0.5), Value(10),
                                              Value(20), Value(30), Value(40)});
    Value b = make("geom", "ColorTransform", {Value(0.5), Value(0.5), Value(0.5), Value(0.5), Value(50),
                                              Value(60), Value(70), Value(80)});
    call(a, "concat", {b});
    EXPECT_EQ(text(a), "(redMultiplier=0.25, greenMultiplier=0.25, blueMultiplier=0.25, alphaMultiplier=0.25, "
                       "redOffset=35, greenOffset=50, blueOffset=65, alphaOffset=80)");
    vm.set(a.object(), "rgb", Value(0xFF1900));
    EXPECT_EQ(text(vm.getOf(a, "rgb")), "16718080");
    EXPECT_EQ(text(vm.getOf(a, "redMultiplier")), "0");
}

TEST_F(GeomScript, BitmapDataRefusesBadSizesWithoutAnObject)
{
    EXPECT_TRUE(make("display", "BitmapData", {Value(5)}).isUndefined());
    EXPECT_TRUE(make("display", "BitmapData", {Value(2881), Value(1)}).isUndefined());
    EXPECT_TRUE(make("display", "BitmapData", {Value(1e9), Value(1e9)}).isUndefined());
    EXPECT_TRUE(make("display", "BitmapData", {Value(3), Value(4)}).isObject());
}

TEST_F(GeomScript, BitmapDataPixelsRoundTripThroughPremultiplication)
{
    Value bmd = make("display", "BitmapData", {Value(3), Value(3), Value(true), Value(2864434397.0)});
    EXPECT_EQ(text(call(bmd, "getPixel32", {Value(1), Value(2)})), "-1430532900");   // 0xAABBCCDC
    EXPECT_EQ(text(call(bmd, "getPixel", {Value(1), Value(2)})), "12307676");        // 0xBBCCDC
    call(bmd, "setPixel", {Value(0), Value(0), Value(0xBBBBBB)});
    EXPECT_EQ(text(call(bmd, "getPixel32", {Value(0), Value(0)})), "-1430537285");   // alpha kept
    EXPECT_EQ(text(call(bmd, "getPixel32", {Value(3), Value(0)})), "0");             // outside
    EXPECT_EQ(text(call(bmd, "getPixel32", {Value(1)})), "-1");                      // too few arguments
}

TEST_F(GeomScript, DisposedBitmapAnswersMinusOne)
{
    Value bmd = make("display", "BitmapData", {Value(3), Value(3)});
    call(bmd, "dispose");
    EXPECT_EQ(text(vm.getOf(bmd, "width")), "-1");
    EXPECT_EQ(text(call(bmd, "getPixel", {Value(0), Value(0)})), "-1");
    EXPECT_EQ(text(call(bmd, "fillRect", {vm.getOf(bmd, "rectangle"), Value(0)})), "-1");
}

} // namespace
} // namespace tesmar::bridge::testing
