// The custom movie's place on the screen, in twips and in pixels.
#include "display/portable/ScreenLayout.h"

#include <gtest/gtest.h>

namespace tesmar {
namespace {

// 1024 x 768 pixels at 96 dots per inch.
constexpr ScreenMetrics Screen1024{15360, 11520, 15, 15};

void ExpectBox(const TwipsBox& box, float left, float top, float width, float height)
{
    EXPECT_FLOAT_EQ(box.left, left);
    EXPECT_FLOAT_EQ(box.top, top);
    EXPECT_FLOAT_EQ(box.width, width);
    EXPECT_FLOAT_EQ(box.height, height);
}

TEST(CentredMovieBox, KeepsThePixelSizeAndCentresIt)
{
    ExpectBox(CentredMovieBox(550, 400, Screen1024), 3555, 2760, 8250, 6000);
    EXPECT_EQ(ToPixels(CentredMovieBox(550, 400, Screen1024), Screen1024), (PixelBox{237, 184, 550, 400}));
}

TEST(CentredMovieBox, OddSizesKeepTheHalfTwipAndRoundHalfPixelsUp)
{
    const TwipsBox box = CentredMovieBox(551, 401, Screen1024);
    ExpectBox(box, 3547.5f, 2752.5f, 8265, 6015);
    // 236.5 and 183.5 pixels: both halves go up, and the size stays exact.
    EXPECT_EQ(ToPixels(box, Screen1024), (PixelBox{237, 184, 551, 401}));
}

TEST(CentredMovieBox, LargerThanTheScreenIsCutOffEvenly)
{
    const TwipsBox box = CentredMovieBox(1280, 1024, Screen1024);
    ExpectBox(box, -1920, -1920, 19200, 15360);
    EXPECT_EQ(ToPixels(box, Screen1024), (PixelBox{-128, -128, 1280, 1024}));
}

TEST(CentredMovieBox, ZeroSizeSitsAtTheCentre)
{
    ExpectBox(CentredMovieBox(0, 0, Screen1024), 7680, 5760, 0, 0);
    EXPECT_EQ(ToPixels(CentredMovieBox(0, 0, Screen1024), Screen1024), (PixelBox{512, 384, 0, 0}));
}

TEST(CentredMovieBox, NegativeSizesFromTheStoreGiveANegativeBoxAndNoCrash)
{
    const TwipsBox box = CentredMovieBox(-10, -32768, Screen1024);
    ExpectBox(box, 7755, 251520, -150, -491520);
}

TEST(CentredMovieBox, UsesEachAxisOwnTwipsPerPixel)
{
    // 120 dots per inch across, 96 down.
    const ScreenMetrics screen{1024 * 12, 768 * 15, 12, 15};
    ExpectBox(CentredMovieBox(100, 100, screen), 5544, 5010, 1200, 1500);
    EXPECT_EQ(ToPixels(CentredMovieBox(100, 100, screen), screen), (PixelBox{462, 334, 100, 100}));
}

TEST(FullScreenBox, CoversTheScreenFromItsTopLeftCorner)
{
    ExpectBox(FullScreenBox(Screen1024), 0, 0, 15360, 11520);
    EXPECT_EQ(ToPixels(FullScreenBox(Screen1024), Screen1024), (PixelBox{0, 0, 1024, 768}));
}

TEST(ToPixels, RoundsHalvesTowardsPositiveInfinityOnBothSidesOfZero)
{
    const ScreenMetrics screen{15360, 11520, 15, 15};
    EXPECT_EQ(ToPixels({-7.5f, 7.5f, 22.5f, -22.5f}, screen), (PixelBox{0, 1, 2, -1}));
    EXPECT_EQ(ToPixels({-7.4f, 7.4f, 22.6f, -22.6f}, screen), (PixelBox{0, 0, 2, -2}));
}

} // namespace
} // namespace tesmar
