// BitmapData operations with exact pixel results and their error answers.

#include "GeomFixture.h"

namespace tesmar::bridge::testing {
namespace {

using script::Value;

class BitmapOps : public GeomScript {
protected:
    Value bitmap(int w, int h, bool transparent, double fill)
    {
        return make("display", "BitmapData", {Value(w), Value(h), Value(transparent), Value(fill)});
    }
    Value rect(int x, int y, int w, int h)
    {
        return make("geom", "Rectangle", {Value(x), Value(y), Value(w), Value(h)});
    }
    Value point(int x, int y) { return make("geom", "Point", {Value(x), Value(y)}); }
    uint32_t pixel(const Value& bmd, int x, int y)
    {
        return uint32_t(vm.toInt32(call(bmd, "getPixel32", {Value(x), Value(y)})));
    }
    // Pixels row by row as a text of hex words, for compact expectations.
    std::string dump(const Value& bmd)
    {
        std::string out;
        BitmapPixels* p = bitmapOf(bmd);
        for (int y = 0; y < p->height(); ++y) {
            for (int x = 0; x < p->width(); ++x) {
                char word[12];
                std::snprintf(word, sizeof word, "%08x ", pixel(bmd, x, y));
                out += word;
            }
            out += "/ ";
        }
        return out;
    }
};

TEST_F(BitmapOps, FloodFillStopsAtOtherColours)
{
    Value bmd = bitmap(4, 3, false, 0xFF000000);
    call(bmd, "fillRect", {rect(2, 0, 1, 3), Value(0xFFFFFF)});   // a wall
    EXPECT_EQ(text(call(bmd, "floodFill", {Value(0), Value(0), Value(0xFF0000)})), "1");
    EXPECT_EQ(dump(bmd), "ffff0000 ffff0000 ffffffff ff000000 / ffff0000 ffff0000 ffffffff ff000000 / "
                         "ffff0000 ffff0000 ffffffff ff000000 / ");
    // The same colour again, or a point outside, changes nothing.
    EXPECT_EQ(text(call(bmd, "floodFill", {Value(1), Value(1), Value(double(0xFFFF0000))})), "0");
    EXPECT_EQ(text(call(bmd, "floodFill", {Value(9), Value(1), Value(0)})), "0");
}

TEST_F(BitmapOps, ScrollLeavesUncoveredPixels)
{
    Value bmd = bitmap(3, 1, false, 0xFF000000);
    call(bmd, "setPixel", {Value(0), Value(0), Value(0x111111)});
    call(bmd, "setPixel", {Value(1), Value(0), Value(0x222222)});
    call(bmd, "scroll", {Value(1), Value(0)});
    EXPECT_EQ(dump(bmd), "ff111111 ff111111 ff222222 / ");
}

TEST_F(BitmapOps, CopyPixelsIntoOpaqueBlendsAndIntoTransparentReplaces)
{
    Value source = bitmap(2, 2, true, 0x12345678);
    Value opaque = bitmap(3, 3, false, 0xAABBCCDD);
    Value clear = bitmap(3, 3, true, 0xAABBCCDD);
    EXPECT_EQ(text(call(opaque, "copyPixels", {source, rect(0, 0, 2, 2), point(1, 1)})), "0");
    EXPECT_EQ(text(call(clear, "copyPixels", {source, rect(0, 0, 2, 2), point(1, 1)})), "0");
    EXPECT_EQ(pixel(opaque, 0, 0), 0xFFBBCCDDu);
    EXPECT_EQ(pixel(opaque, 1, 1) >> 24, 0xFFu);
    EXPECT_NE(pixel(opaque, 1, 1), 0xFFBBCCDDu);
    EXPECT_EQ(pixel(clear, 2, 2), 0x12395571u);
    EXPECT_EQ(pixel(clear, 0, 2), 0xAABBCCDCu);
}

TEST_F(BitmapOps, CopyingMethodsNameTheirBadArgument)
{
    Value target = bitmap(3, 3, true, 0);
    Value disposed = bitmap(3, 3, true, 0);
    call(disposed, "dispose");
    Value plain = Value(vm.newObject());
    EXPECT_EQ(text(call(target, "copyPixels", {plain, rect(0, 0, 1, 1), point(0, 0)})), "-2");
    EXPECT_EQ(text(call(target, "copyPixels", {disposed, rect(0, 0, 1, 1), point(0, 0)})), "-3");
    EXPECT_EQ(text(call(target, "copyPixels", {target, plain, point(0, 0)})), "-4");
    EXPECT_EQ(text(call(target, "copyPixels", {target, rect(0, 0, 1, 1)})), "-1");
}

TEST_F(BitmapOps, ColorTransformWorksOnStraightColours)
{
    Value bmd = bitmap(2, 1, true, 0xAABBCCDD);
    Value ct = make("geom", "ColorTransform", {Value(0), Value(0), Value(0), Value(1), Value(0), Value(0),
                                               Value(255), Value(0)});
    call(bmd, "colorTransform", {rect(0, 0, 1, 1), ct});
    EXPECT_EQ(pixel(bmd, 0, 0), 0xAA0000FFu);
    EXPECT_EQ(pixel(bmd, 1, 0), 0xAABBCCDCu);
    EXPECT_EQ(text(call(bmd, "colorTransform", {rect(0, 0, 1, 1), Value(vm.newObject())})), "-3");
}

TEST_F(BitmapOps, ThresholdCountsAndPaints)
{
    Value source = bitmap(2, 2, false, 0xFF000000);
    call(source, "setPixel", {Value(1), Value(1), Value(0x800000)});
    Value target = bitmap(2, 2, false, 0xFFFFFFFF);
    Value passed = call(target, "threshold", {source, rect(0, 0, 2, 2), point(0, 0), Value(">="),
                                              Value(double(0xFF400000)), Value(double(0xFF00FF00)), Value(double(0xFFFF0000))});
    EXPECT_EQ(text(passed), "1");
    EXPECT_EQ(dump(target), "ffffffff ffffffff / ffffffff ff00ff00 / ");
}

TEST_F(BitmapOps, CompareGivesDifferencesOrZero)
{
    Value a = bitmap(2, 1, true, 0xFFAACCCC);
    Value b = bitmap(2, 1, true, 0xFFAACCCC);
    EXPECT_EQ(text(call(a, "compare", {b})), "0");
    call(b, "setPixel32", {Value(0), Value(0), Value(double(0xFFDDFFFF))});
    call(b, "setPixel32", {Value(1), Value(0), Value(double(0xFEAACCCC))});
    Value diff = call(a, "compare", {b});
    EXPECT_EQ(pixel(diff, 0, 0), 0xFFCDCDCDu);   // red, green, blue differences
    EXPECT_EQ(pixel(diff, 1, 0), 0x01FFFFFFu);   // only alpha differs
    EXPECT_EQ(text(call(a, "compare", {bitmap(3, 1, true, 0)})), "-3");
    EXPECT_EQ(text(call(a, "compare", {bitmap(2, 2, true, 0)})), "-4");
}

TEST_F(BitmapOps, PaletteMapSumsTheTables)
{
    Value bmd = bitmap(1, 1, false, 0xFF102030);
    std::vector<Value> reds(256, Value(0)), blues(256, Value(0));
    reds[0x10] = Value(double(0x00AB0000));
    blues[0x30] = Value(double(0x000000CD));
    Value redArray = Value(static_cast<script::Object*>(vm.newArray(reds)));
    Value blueArray = Value(static_cast<script::Object*>(vm.newArray(blues)));
    call(bmd, "paletteMap", {bmd, rect(0, 0, 1, 1), point(0, 0), redArray, Value::null(), blueArray});
    // Green has no table and keeps its value; the others come from the tables.
    EXPECT_EQ(pixel(bmd, 0, 0), 0xFFAB20CDu);
}

TEST_F(BitmapOps, HitTestAgainstPointsRectanglesAndBitmaps)
{
    Value bmd = bitmap(4, 4, true, 0);
    call(bmd, "fillRect", {rect(2, 2, 2, 2), Value(double(0xFF000000))});
    EXPECT_EQ(text(call(bmd, "hitTest", {point(0, 0), Value(160), point(2, 2)})), "true");
    EXPECT_EQ(text(call(bmd, "hitTest", {point(0, 0), Value(160), point(1, 1)})), "false");
    EXPECT_EQ(text(call(bmd, "hitTest", {point(10, 10), Value(0), point(12, 12)})), "true");
    // A rectangle's far edges count: (0, 0, 2, 2) reaches pixel (2, 2).
    EXPECT_EQ(text(call(bmd, "hitTest", {point(0, 0), Value(0), rect(0, 0, 1, 1)})), "false");
    EXPECT_EQ(text(call(bmd, "hitTest", {point(0, 0), Value(0), rect(0, 0, 2, 2)})), "true");
    // Against itself: in place the opaque corners meet; moved by two pixels
    // either way, an opaque pixel always meets a transparent one.
    EXPECT_EQ(text(call(bmd, "hitTest", {point(0, 0), Value(1), bmd, point(0, 0), Value(1)})), "true");
    EXPECT_EQ(text(call(bmd, "hitTest", {point(0, 0), Value(1), bmd, point(2, 2), Value(1)})), "false");
    EXPECT_EQ(text(call(bmd, "hitTest", {point(0, 0), Value(1), bmd, point(-2, -2), Value(1)})), "false");
    EXPECT_EQ(text(call(bmd, "hitTest", {Value::null(), Value(0), point(0, 0)})), "-2");
}

TEST_F(BitmapOps, MergeWeighsSourceAgainstTarget)
{
    Value source = bitmap(1, 1, false, 0xFFFF0000);
    Value target = bitmap(1, 1, false, 0xFF0000FF);
    call(target, "merge", {source, rect(0, 0, 1, 1), point(0, 0), Value(128), Value(0), Value(128), Value(256)});
    // Red and blue half and half (rounded down), green none of the source.
    EXPECT_EQ(pixel(target, 0, 0), 0xFF7F007Fu);
}

} // namespace
} // namespace tesmar::bridge::testing
