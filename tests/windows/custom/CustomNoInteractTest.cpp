// The user's movie as a pure screen saver, in the real program: where the
// movie sits, the pointer hidden, and what ends it.
#include "CustomMovieDriver.h"

namespace tesmar::test {
namespace {

using CustomNoInteractTest = ScreenSaverTest;

constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr DWORD EndWaitMs = 3000;
constexpr DWORD StillRunningMs = 1500;

// The pointer rests in a corner before the program starts, so that the only
// mouse-move notifications are the one of the window appearing under it and
// the ones a test makes.
void ParkPointer()
{
    MovePointerTo(1020, 4);
    Sleep(100);
}

TEST_F(CustomNoInteractTest, PlaysTheMovieCentredOnBlueWithThePointerHidden)
{
    ParkPointer();
    ASSERT_TRUE(PointerShowing());
    StoreCustomMovie(false);
    auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
    ASSERT_TRUE(window);

    EXPECT_EQ(ScreenBoxOf(window), (ScreenBox{0, 0, 1024, 768}));
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ScreenBoxOf(FindControl(window, "CustomHolder")), (ScreenBox{0, 0, 1024, 768}));
    EXPECT_FALSE(IsWindowEnabled(FindControl(window, "CustomHolder")));
    HWND player = FindPlayer(window);
    ASSERT_TRUE(player);
    EXPECT_EQ(ScreenBoxOf(player), (ScreenBox{237, 184, 787, 584}));

    // Blue right around the movie, the movie's own background inside it
    // once the first frame is drawn (a loaded machine may take a while).
    for (int tries = 0; tries < 50 && ScreenPixel(500, 300) != CorpusMovieBackground; ++tries) Sleep(100);
    for (POINT outside : {POINT{236, 300}, POINT{787, 300}, POINT{500, 183}, POINT{500, 584}, POINT{5, 5}})
        EXPECT_EQ(ScreenPixel(outside.x, outside.y), Blue) << outside.x << ", " << outside.y;
    for (POINT inside : {POINT{237, 300}, POINT{786, 300}})
        EXPECT_EQ(ScreenPixel(inside.x, inside.y), CorpusMovieBackground) << inside.x << ", " << inside.y;

    EXPECT_FALSE(PointerShowing());
    EXPECT_TRUE(program.IsRunning());
}

// Showing the window under the resting pointer brings the first mouse-move
// notification without any movement; it counts like a real one, so the
// user's second move is the third notification.
TEST_F(CustomNoInteractTest, TheThirdMouseMoveNotificationEndsTheProgram)
{
    ParkPointer();
    StoreCustomMovie(false);
    auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
    ASSERT_TRUE(window);
    ASSERT_TRUE(program.IsRunning()) << "the notification of the window appearing";
    MovePointerTo(1000, 10);
    Sleep(StillRunningMs);
    EXPECT_TRUE(program.IsRunning()) << "the second notification, a real move";
    MovePointerTo(1000, 11);
    EXPECT_TRUE(program.WaitForExit(EndWaitMs)) << "the third notification, a real move";
}

TEST_F(CustomNoInteractTest, NotificationsWithoutMovementCountLikeRealOnes)
{
    ParkPointer();
    StoreCustomMovie(false);
    auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
    ASSERT_TRUE(window);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(1020, 4));
    Sleep(StillRunningMs);
    EXPECT_TRUE(program.IsRunning());
    PostMessageA(window, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(1020, 4));
    EXPECT_TRUE(program.WaitForExit(EndWaitMs));
}

TEST_F(CustomNoInteractTest, AnyMouseButtonOverTheMovieOrBesideItEndsTheProgram)
{
    struct Button {
        DWORD down, up;
        POINT at;
    };
    const Button buttons[] = {
        {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, {512, 384}},      // over the movie
        {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, {512, 384}},    // where its menu would open
        {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, {100, 700}},  // on the background
    };
    for (const Button& button : buttons) {
        // The pointer is in place before the window shows: the one
        // notification of the window appearing does not end it.
        MovePointerTo(button.at.x, button.at.y);
        StoreCustomMovie(false);
        auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
        ASSERT_TRUE(window);
        ClickHere(button.down, button.up);
        EXPECT_TRUE(program.WaitForExit(EndWaitMs)) << button.down;
    }
}

TEST_F(CustomNoInteractTest, AnyKeyEndsTheProgram)
{
    for (WORD key : {WORD(VK_SPACE), WORD('A'), WORD(VK_SHIFT), WORD(VK_F1), WORD(VK_MENU)}) {
        ParkPointer();
        StoreCustomMovie(false);
        auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
        ASSERT_TRUE(window);
        TypeKey(key);
        EXPECT_TRUE(program.WaitForExit(EndWaitMs)) << key;
    }
}

TEST_F(CustomNoInteractTest, AQuitFromTheMovieIsIgnored)
{
    ParkPointer();
    StoreCustomMovie(false, {{"gFilePath", WriteFsCommandMovie("quit")}, {"gFullScreen", "True"}});
    auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
    ASSERT_TRUE(window);
    Sleep(StillRunningMs);
    EXPECT_TRUE(program.IsRunning());
}

TEST_F(CustomNoInteractTest, ClosingTheWindowFromOutsideEndsTheProgram)
{
    ParkPointer();
    StoreCustomMovie(false);
    auto [program, window] = StartAndWaitFor("CustomNoInteractForm");
    ASSERT_TRUE(window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(EndWaitMs));
    EXPECT_EQ(program.ExitCode(), 0u);
}

} // namespace
} // namespace tesmar::test
