// CustomNoInteractForm: the user's movie as a pure screen saver. The player
// sits in a disabled holder, so every key, click and mouse move reaches this
// window; the pointer is hidden while it runs, and any key, any mouse button
// or the third mouse-move notification ends the program. A "quit" from the
// movie is not listened to.
#include "display/CustomFormWindow.h"
#include "display/CustomHolder.h"
#include "display/portable/PointerCount.h"
#include "startup/Forms.h"
#include "startup/Settings.h"

#include <memory>

namespace tesmar {

namespace {

constexpr const char* ClassName = "CustomNoInteractForm";
constexpr TwipsBox HolderDesign{0, 0, 3495, 2655};
// The third notification ends the program, however small the movement.
constexpr int16_t MovesIgnored = 2;

struct NoInteractForm {
    HWND window = nullptr;
    std::unique_ptr<CustomHolder> holder;
    FormBackground background;
    int16_t savedCursorCount = 0;  // the pointer's display count before it was hidden
    int16_t moveCount = 0;         // mouse-move notifications so far; never reset
};

// The window's state, new for every showing.
std::unique_ptr<NoInteractForm> form;

int ShowPointer(bool show)
{
    return ShowCursor(show ? TRUE : FALSE);
}

void Load()
{
    const ScreenMetrics screen = ReadScreenMetrics();
    form->holder->setWidth(screen.widthTwips);
    form->holder->setHeight(screen.heightTwips);
    form->savedCursorCount = HidePointer(ShowPointer);
    form->background.setColour(form->window, gBackground);
    MakeTopmost(form->window);
}

// Runs only when the window is closed from outside; the exit rules end the
// process before any unloading.
void Unload()
{
    RestorePointer(ShowPointer, form->savedCursorCount);
}

LRESULT CALLBACK NoInteractFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return form->background.erase(window, reinterpret_cast<HDC>(wParam));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        EndProgram();
    case WM_MOUSEMOVE:
        if (++form->moveCount > MovesIgnored)
            EndProgram();
        return 0;
    case WM_CLOSE:
        Unload();
        DestroyWindow(window);
        return 0;
    case WM_NCDESTROY:
        // The last message, after every control is gone: nothing that the
        // controls do while they go can take the quit message away.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void ShowCustomNoInteractForm()
{
    form = std::make_unique<NoInteractForm>();
    form->window = CreateFullScreenForm(ClassName, NoInteractFormProc, LoadCursorA(nullptr, IDC_ARROW));
    if (!form->window)
        return;
    // Building the window creates its holder, which loads the movie.
    form->holder = std::make_unique<CustomHolder>(form->window, HolderDesign);
    Load();
    ShowModally(form->window);
}

} // namespace tesmar
