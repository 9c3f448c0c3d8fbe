// Pixel storage of BitmapData: premultiplied words and the colours that
// come back out of them, fills clipped to the bitmap, and the size limits.

#include "player/bridge/BitmapPixels.h"

#include <gtest/gtest.h>

namespace tesmar::bridge {
namespace {

TEST(BitmapPixels, PartialAlphaLosesPrecisionLikeTheReference)
{
    // Stored premultiplied, read back straight: channels drift by one.
    EXPECT_EQ(unpremultiply(premultiply(0xAABBCCDDu)), 0xAABBCCDCu);
    EXPECT_EQ(unpremultiply(premultiply(0x12345678u)), 0x12395571u);
    EXPECT_EQ(unpremultiply(premultiply(0x80BBBBBBu)), 0x80BBBBBBu);
    EXPECT_EQ(unpremultiply(premultiply(0x80FFFFFFu)), 0x80FFFFFFu);
    // Where the fixed-point reciprocal of alpha rounds below the exact
    // quotient: 207 * 255 / 247 is 213.7 but reads 213.
    EXPECT_EQ(unpremultiply(premultiply(0xF7D6D6D6u)), 0xF7D5D5D5u);
    EXPECT_EQ(unpremultiply(premultiply(0xA8AAAEA6u)), 0xA8AAAEA5u);
}

TEST(BitmapPixels, OpaqueAndClearPixelsAreExact)
{
    EXPECT_EQ(premultiply(0xFF123456u), 0xFF123456u);
    EXPECT_EQ(unpremultiply(0xFF123456u), 0xFF123456u);
    // No alpha, no colour.
    EXPECT_EQ(premultiply(0x00FFFFFFu), 0u);
    EXPECT_EQ(unpremultiply(0x00FFFFFFu), 0u);
}

TEST(BitmapPixels, OpaqueBitmapForcesAlpha)
{
    BitmapPixels opaque(2, 2, false, 0x12345678u);
    EXPECT_EQ(opaque.straight(1, 1), 0xFF345678u);
    opaque.setStraight(0, 0, 0x00ABCDEFu);
    EXPECT_EQ(opaque.straight(0, 0), 0xFFABCDEFu);
}

TEST(BitmapPixels, FillIsClippedToTheBitmap)
{
    BitmapPixels pixels(4, 3, true, 0);
    pixels.fill({-2, 1, 4, 10}, 0xFF00FF00u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            bool inside = x < 2 && y >= 1;
            EXPECT_EQ(pixels.straight(x, y), inside ? 0xFF00FF00u : 0u) << x << "," << y;
        }
    // Rectangles far outside, or of huge sizes, change nothing and do not overflow.
    pixels.fill({2000000000, 0, 2000000000, 1}, 0xFFFFFFFFu);
    pixels.fill({5, 5, -3, -3}, 0xFFFFFFFFu);
    EXPECT_EQ(pixels.straight(3, 0), 0u);
}

TEST(BitmapPixels, SizeLimitsDependOnTheMovieVersion)
{
    EXPECT_TRUE(BitmapPixels::sizeAllowed(9, 2880, 2880));
    EXPECT_FALSE(BitmapPixels::sizeAllowed(9, 2881, 1));
    EXPECT_FALSE(BitmapPixels::sizeAllowed(8, 1, 2881));
    EXPECT_TRUE(BitmapPixels::sizeAllowed(10, 8191, 1));
    EXPECT_FALSE(BitmapPixels::sizeAllowed(10, 8192, 1));
    EXPECT_TRUE(BitmapPixels::sizeAllowed(10, 4095, 4096));
    EXPECT_FALSE(BitmapPixels::sizeAllowed(10, 4096, 4096));
    EXPECT_FALSE(BitmapPixels::sizeAllowed(10, 0, 5));
    EXPECT_FALSE(BitmapPixels::sizeAllowed(10, -5, 5));
}

} // namespace
} // namespace tesmar::bridge
