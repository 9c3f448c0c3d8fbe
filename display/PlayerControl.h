#pragma once
// The player control: a child window that shows one movie. It owns a
// Player, a DIB section the size of the window and a timer at the movie's
// frame rate; it redraws only when the stage changed, feeds the movie the
// mouse and keys it receives, fetches through WinINet on a worker thread
// and opens http:, https: and mailto: addresses in the browser.
//
// A window creates it from one of the stored player states carried in the
// program's resources (IDR_SHOWCASE_PLAYER, IDR_COLLECTION_PLAYER,
// IDR_CUSTOM_PLAYER): an embedded movie starts playing at once.
//
// Until a movie has arrived the window shows what lies beneath it: its
// parent's WM_ERASEBKGND paints into it. A disabled player window takes
// no input. The window class is "TesmarPlayer".
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

namespace tesmar {

class PlayerControl {
public:
    // Creates the child window at (0, 0) with the stored state's design
    // size. It is visible and, unless disabled, takes input.
    PlayerControl(HWND parent, int storedStateResource);
    ~PlayerControl();
    PlayerControl(const PlayerControl&) = delete;
    PlayerControl& operator=(const PlayerControl&) = delete;

    HWND window() const;

    // The Movie property: a local path or a URL, loaded unchanged. An
    // empty, missing or unreachable location leaves the window showing
    // the background.
    void setMovie(const std::string& location);

    // Placement in twips, converted to whole pixels with twipsToPixels
    // (display/portable/Twips.h) at the screen's twips per pixel.
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);

    // Gives the keyboard focus to the player's window.
    void setFocus();

    // Called on the window's thread for every FSCommand the movie sends,
    // after the frame that sent it, never from inside the movie's scripts.
    std::function<void(const std::string& command, const std::string& args)> onFsCommand;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tesmar
