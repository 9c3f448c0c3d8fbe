// The user's movie with interaction, in the real program: the quit button in
// each corner, what ends the program and what does not.
#include "CustomMovieDriver.h"

#include <string>

namespace tesmar::test {
namespace {

using CustomInteractTest = ScreenSaverTest;

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr DWORD EndWaitMs = 3000;
constexpr DWORD StillRunningMs = 1500;

TEST_F(CustomInteractTest, TheQuitButtonSitsInTheChosenCorner)
{
    struct Corner {
        const char* quitPosition;
        ScreenBox button;
    };
    const Corner corners[] = {
        {"0", {0, 0, 35, 16}},     {"1", {989, 0, 1024, 16}},   {"2", {0, 752, 35, 768}},
        {"3", {989, 752, 1024, 768}}, {"4", {0, 0, 35, 16}},    {"-1", {0, 0, 35, 16}},
    };
    for (const Corner& corner : corners) {
        StoreCustomMovie(true, {{"gQuitPosition", corner.quitPosition}});
        auto [program, window] = StartAndWaitFor("CustomInteractForm");
        ASSERT_TRUE(window) << corner.quitPosition;
        HWND button = FindControl(window, "QuitButton");
        ASSERT_TRUE(button) << corner.quitPosition;
        EXPECT_EQ(ScreenBoxOf(button), corner.button) << "gQuitPosition " << corner.quitPosition;
        // The picture's white frame at the button's corners, black inside.
        const ScreenBox at = corner.button;
        EXPECT_EQ(ScreenPixel(at.left, at.top), White) << corner.quitPosition;
        EXPECT_EQ(ScreenPixel(at.right - 1, at.bottom - 1), White) << corner.quitPosition;
        EXPECT_EQ(ScreenPixel(at.left + 1, at.top + 1), Black) << corner.quitPosition;
        program.Terminate();
    }
}

TEST_F(CustomInteractTest, AClickOnTheQuitButtonEndsTheProgramButKeysAndClicksOnTheMovieDoNot)
{
    StoreCustomMovie(true);
    auto [program, window] = StartAndWaitFor("CustomInteractForm");
    ASSERT_TRUE(window);
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ScreenBoxOf(FindPlayer(window)), (ScreenBox{237, 184, 787, 584}));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread));
    EXPECT_EQ(thread.hwndFocus, FindPlayer(window)) << "keys go to the movie";
    EXPECT_EQ(ScreenPixel(989, 752), White);
    EXPECT_EQ(ScreenPixel(100, 100), RGB(0, 0, 255));

    MovePointerTo(512, 384);
    ClickHere();
    ClickHere(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    TypeKey(VK_ESCAPE);
    TypeKey('Q');
    MovePointerTo(100, 100);
    ClickHere();
    MovePointerTo(101, 102);
    MovePointerTo(103, 104);
    Sleep(StillRunningMs);
    ASSERT_TRUE(program.IsRunning());
    EXPECT_TRUE(PointerShowing());

    MovePointerTo(1000, 760);
    ClickHere();
    EXPECT_TRUE(program.WaitForExit(EndWaitMs));
}

TEST_F(CustomInteractTest, APressThatLeavesTheQuitButtonIsNoClick)
{
    StoreCustomMovie(true, {{"gQuitPosition", "0"}});
    auto [program, window] = StartAndWaitFor("CustomInteractForm");
    ASSERT_TRUE(window);
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    MovePointerTo(10, 8);
    SendInput(1, &press, sizeof press);
    MovePointerTo(200, 200);
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof press);
    Sleep(StillRunningMs);
    EXPECT_TRUE(program.IsRunning());
}

TEST_F(CustomInteractTest, OnlyTheExactCommandQuitFromTheMovieEndsTheProgram)
{
    for (const char* command : {"Quit", "quit ", "QUIT", "exit"}) {
        StoreCustomMovie(true, {{"gFilePath", WriteFsCommandMovie(command)}});
        auto [program, window] = StartAndWaitFor("CustomInteractForm");
        ASSERT_TRUE(window) << command;
        Sleep(StillRunningMs);
        EXPECT_TRUE(program.IsRunning()) << "\"" << command << "\"";
        program.Terminate();
    }
    StoreCustomMovie(true, {{"gFilePath", WriteFsCommandMovie("quit")}});
    ScreenSaver program = ScreenSaver::Start("/s");
    EXPECT_TRUE(program.WaitForExit(10000)) << "\"quit\"";
}

TEST_F(CustomInteractTest, WithoutAMovieTheQuitButtonStillWorks)
{
    StoreCustomMovie(true, {{"gFilePath", ""}, {"gQuitPosition", "1"}, {"gBackground", "255"}});
    auto [program, window] = StartAndWaitFor("CustomInteractForm");
    ASSERT_TRUE(window);
    EXPECT_EQ(ScreenPixel(500, 400), RGB(255, 0, 0));
    MovePointerTo(1005, 8);
    ClickHere();
    EXPECT_TRUE(program.WaitForExit(EndWaitMs));
}

TEST_F(CustomInteractTest, TheQuitButtonShowsATooltipWhenThePointerRestsOnIt)
{
    StoreCustomMovie(true);
    auto [program, window] = StartAndWaitFor("CustomInteractForm");
    ASSERT_TRUE(window);
    MovePointerTo(1000, 760);
    Sleep(1500);  // the tooltip waits for the pointer to rest

    // The tooltip window shows beside the pointer (its text is the tool's,
    // which another process cannot read).
    bool tooltipShown = false;
    for (const auto& [shown, className] : VisibleTopLevelWindows(program.ProcessId()))
        tooltipShown |= className == "tooltips_class32";
    EXPECT_TRUE(tooltipShown);
}

} // namespace
} // namespace tesmar::test
