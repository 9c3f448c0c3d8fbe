// The pointer's display count before, while and after the non-interactive
// window shows, read exactly: the window runs in this test program, shown by
// the program's own code, and is closed from outside by a timer.
#include "startup/Forms.h"
#include "startup/Settings.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace tesmar {

// In this test program an exit rule must never be reached: it ends the
// tests with a failing exit code instead of the program's.
void EndProgram()
{
    ExitProcess(3);
}

namespace {

int CurrentCount()
{
    ShowCursor(FALSE);
    return ShowCursor(TRUE);
}

void SetCount(int count)
{
    while (CurrentCount() < count)
        ShowCursor(TRUE);
    while (CurrentCount() > count)
        ShowCursor(FALSE);
}

int countWhileShown = 0;

VOID CALLBACK ReadCountAndClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    countWhileShown = CurrentCount();
    PostMessageA(FindWindowA("CustomNoInteractForm", nullptr), WM_CLOSE, 0, 0);
}

TEST(CustomNoInteractPointer, HiddenWhileShownAndRestoredWhenClosedFromOutside)
{
    struct Case {
        int before, whileShown;
    };
    for (const Case& c : {Case{0, -2}, Case{-1, -3}, Case{2, -1}}) {
        gFilePath.clear();
        gFullScreen = true;
        SetCount(c.before);
        SetTimer(nullptr, 0, 500, ReadCountAndClose);
        ShowCustomNoInteractForm();
        EXPECT_EQ(countWhileShown, c.whileShown) << "from " << c.before;
        EXPECT_EQ(CurrentCount(), c.before);
    }
}

} // namespace
} // namespace tesmar
