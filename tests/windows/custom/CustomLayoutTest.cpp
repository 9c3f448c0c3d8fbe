// Where both custom movie windows put the player, on the 1024 x 768 test
// screen at 15 twips per pixel: full screen, or the movie's pixel size
// centred, halves of a pixel rounded up.
#include "CustomMovieDriver.h"

namespace tesmar::test {
namespace {

using CustomLayoutTest = ScreenSaverTest;

struct Layout {
    const char* fullScreen;
    const char* width;
    const char* height;
    ScreenBox player;
};

const Layout Layouts[] = {
    {"True", "550", "400", {0, 0, 1024, 768}},        // the size is ignored
    {"False", "550", "400", {237, 184, 787, 584}},    // 3555, 2760 twips
    {"False", "551", "401", {237, 184, 788, 585}},    // 3547.5, 2752.5 twips: 236.5, 183.5 pixels
    {"False", "1280", "1024", {-128, -128, 1152, 896}},
    {"False", "0", "0", {512, 384, 512, 384}},
};

void ExpectPlayerPlaces(bool interaction)
{
    const char* form = interaction ? "CustomInteractForm" : "CustomNoInteractForm";
    for (const Layout& layout : Layouts) {
        StoreCustomMovie(interaction, {{"gFullScreen", layout.fullScreen},
                                       {"gMovieWidth", layout.width},
                                       {"gMovieHeight", layout.height}});
        auto [program, window] = StartAndWaitFor(form);
        ASSERT_TRUE(window) << form;
        EXPECT_EQ(ScreenBoxOf(FindPlayer(window)), layout.player)
            << form << " " << layout.fullScreen << " " << layout.width << " x " << layout.height;
        program.Terminate();
    }
}

TEST_F(CustomLayoutTest, PlayerPlacesWithoutInteraction)
{
    ExpectPlayerPlaces(false);
}

TEST_F(CustomLayoutTest, PlayerPlacesWithInteraction)
{
    ExpectPlayerPlaces(true);
}

TEST_F(CustomLayoutTest, AZeroSizeMovieLeavesTheScreenInTheBackgroundColour)
{
    StoreCustomMovie(false, {{"gMovieWidth", "0"}, {"gMovieHeight", "0"}, {"gBackground", "255"}});
    auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
    ASSERT_TRUE(window);
    for (POINT point : {POINT{0, 0}, POINT{511, 383}, POINT{512, 384}, POINT{1023, 767}})
        EXPECT_EQ(ScreenPixel(point.x, point.y), RGB(255, 0, 0)) << point.x << ", " << point.y;
}

TEST_F(CustomLayoutTest, AMissingOrEmptyMovieShowsTheBackgroundAndTheExitRulesStillWork)
{
    for (const char* location : {"", "Z:\\no\\such\\movie.swf", "http://127.0.0.1:9/none.swf"}) {
        StoreCustomMovie(false, {{"gFilePath", location}, {"gBackground", "65280"}});
        auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
        ASSERT_TRUE(window) << location;
        EXPECT_EQ(ScreenPixel(100, 100), RGB(0, 255, 0)) << location;
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(program.WaitForExit(3000)) << location;
    }
}

} // namespace
} // namespace tesmar::test
