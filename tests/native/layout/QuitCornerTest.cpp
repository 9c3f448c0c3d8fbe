// The quit button in each corner of the screen, and values naming no corner.
#include "display/portable/QuitCorner.h"

#include <gtest/gtest.h>

namespace tesmar {
namespace {

constexpr ScreenMetrics Screen1024{15360, 11520, 15, 15};
constexpr TwipsBox DesignButton{0, 0, 525, 240};  // 35 x 16 pixels

struct Corner {
    int16_t quitPosition;
    float left, top;
    PixelBox pixels;
};

TEST(QuitButtonInCorner, TouchesTheEdgesOfTheChosenCorner)
{
    const Corner corners[] = {
        {0, 0, 0, {0, 0, 35, 16}},
        {1, 14835, 0, {989, 0, 35, 16}},
        {2, 0, 11280, {0, 752, 35, 16}},
        {3, 14835, 11280, {989, 752, 35, 16}},
    };
    for (const Corner& corner : corners) {
        const TwipsBox placed = QuitButtonInCorner(corner.quitPosition, DesignButton, Screen1024);
        EXPECT_FLOAT_EQ(placed.left, corner.left) << corner.quitPosition;
        EXPECT_FLOAT_EQ(placed.top, corner.top) << corner.quitPosition;
        EXPECT_EQ(ToPixels(placed, Screen1024), corner.pixels) << corner.quitPosition;
    }
}

TEST(QuitButtonInCorner, OtherValuesLeaveTheButtonWhereItIs)
{
    const TwipsBox elsewhere{300, 450, 525, 240};
    for (int16_t value : {int16_t(4), int16_t(-1), int16_t(32767), int16_t(-32768)}) {
        const TwipsBox placed = QuitButtonInCorner(value, elsewhere, Screen1024);
        EXPECT_FLOAT_EQ(placed.left, 300) << value;
        EXPECT_FLOAT_EQ(placed.top, 450) << value;
    }
}

TEST(QuitButtonInCorner, AScreenOfAnotherResolutionKeepsTheButtonInItsCorner)
{
    // 800 x 600 at 120 dots per inch: the button's 525 x 240 twips are
    // 43.75 x 20 pixels; the corner is the screen's edge minus that.
    const ScreenMetrics screen{800 * 12, 600 * 12, 12, 12};
    const TwipsBox placed = QuitButtonInCorner(3, DesignButton, screen);
    EXPECT_FLOAT_EQ(placed.left, 9075);
    EXPECT_FLOAT_EQ(placed.top, 6960);
    // 756.25 and 580 pixels, 43.75 wide: its right edge ends at 800.
    EXPECT_EQ(ToPixels(placed, screen), (PixelBox{756, 580, 44, 20}));
}

} // namespace
} // namespace tesmar
