// CustomInteractForm: the user's movie with interaction. The movie takes the
// keys, clicks and mouse movement; the program ends on the quit button in
// the chosen corner of the screen or when the movie sends "quit".
#include "display/BlankHolder.h"
#include "display/CustomFormWindow.h"
#include "display/PlayerControl.h"
#include "display/QuitButton.h"
#include "display/portable/QuitCorner.h"
#include "resources/ResourceIds.h"
#include "startup/Forms.h"
#include "startup/Settings.h"

#include <memory>

namespace tesmar {

namespace {

constexpr const char* ClassName = "CustomInteractForm";
constexpr TwipsBox BlankHolderDesign{0, 0, 3495, 2655};

struct InteractForm {
    HWND window = nullptr;
    std::unique_ptr<QuitButton> quitButton;
    std::unique_ptr<PlayerControl> player;
    std::unique_ptr<BlankHolder> blankHolder;
    FormBackground background;
};

// The window's state, new for every showing.
std::unique_ptr<InteractForm> form;

void OnFsCommand(const std::string& command, const std::string&)
{
    if (command == "quit")
        EndProgram();
}

// The controls from the top down: the quit button above the player (whose
// window clips its siblings, so it never paints over the button), the blank
// holder beneath both.
void CreateControls()
{
    form->quitButton = std::make_unique<QuitButton>(form->window);
    form->player = std::make_unique<PlayerControl>(form->window, IDR_CUSTOM_PLAYER);
    form->player->onFsCommand = OnFsCommand;
    form->blankHolder = std::make_unique<BlankHolder>(form->window, BlankHolderDesign);
    SetWindowPos(form->quitButton->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Load()
{
    const ScreenMetrics screen = ReadScreenMetrics();
    form->blankHolder->setWidth(screen.widthTwips);
    form->blankHolder->setHeight(screen.heightTwips);

    PlayerControl& player = *form->player;
    player.setMovie(gFilePath);
    if (gFullScreen) {
        player.setWidth(screen.widthTwips);
        player.setHeight(screen.heightTwips);
    } else {
        PlaceAtCustomSize(player, screen);
    }

    form->background.setColour(form->window, gBackground);

    const TwipsBox corner = QuitButtonInCorner(gQuitPosition, form->quitButton->box(), ReadScreenMetrics());
    form->quitButton->setLeft(corner.left);
    form->quitButton->setTop(corner.top);

    MakeTopmost(form->window);
}

LRESULT CALLBACK InteractFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return form->background.erase(window, reinterpret_cast<HDC>(wParam));
    case WM_ACTIVATE:
        // Keys go to the movie: the player takes the focus on every activation.
        if (LOWORD(wParam) != WA_INACTIVE && form->player) {
            form->player->setFocus();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        // The last message, after every control is gone: nothing that the
        // controls do while they go can take the quit message away.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void ShowCustomInteractForm()
{
    form = std::make_unique<InteractForm>();
    form->window = CreateFullScreenForm(ClassName, InteractFormProc, LoadCursorA(nullptr, IDC_ARROW));
    if (!form->window)
        return;
    CreateControls();
    Load();
    ShowModally(form->window);
}

} // namespace tesmar
