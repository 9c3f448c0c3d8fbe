#pragma once
// The showcase window (DefaultForm) and the game collection window
// (GameForm) are twins: a borderless, topmost, black window over the whole
// screen, filled by a player that starts from the loader movie it carries,
// with BlankHolder1 beneath it. They differ only in the loader and in the
// tab settings of their two controls; their code is this class.
#include <windows.h>

#include <memory>
#include <string>

#include "display/BlankHolder.h"
#include "display/PlayerControl.h"

namespace tesmar {

struct WebFormDesign {
    const char* className;      // the form's name, also its window class
    int storedPlayerState;      // resource id of the player's stored state
    bool playerTabStop;
    bool holderTabStop;
};

class WebForm {
public:
    explicit WebForm(const WebFormDesign& design) : design_(design) {}
    WebForm(const WebForm&) = delete;
    WebForm& operator=(const WebForm&) = delete;

    // Creates the window and its controls and runs the load handler: the
    // controls cover the screen and the window becomes topmost. Done once.
    void load();
    // Shows the window maximized and returns when it closes.
    void showModal();

    HWND window() const { return window_; }
    PlayerControl& ShockwaveFlash1() { return *player_; }

    // The FSCommand handler: "quit", exactly, ends the program; any other
    // command, and the arguments always, are ignored.
    static void ShockwaveFlash1_FSCommand(const std::string& command, const std::string& args);

private:
    void Form_Load();
    void Form_Activate();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WebFormDesign design_;
    HWND window_ = nullptr;
    std::unique_ptr<BlankHolder> blankHolder1_;
    std::unique_ptr<PlayerControl> player_;
};

} // namespace tesmar
