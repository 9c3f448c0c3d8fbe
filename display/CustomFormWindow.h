#pragma once
// What the two custom movie windows share: a borderless window over the
// whole screen, registered under the form's class name, whose background is
// one colour (black until the load step sets the user's), made topmost
// without moving, and shown modally.
#include <windows.h>

#include <cstdint>

#include "display/PlayerControl.h"
#include "display/portable/ScreenLayout.h"

namespace tesmar {

// The window's background: erases the window, and through the transparent
// controls the parts of them nothing covers.
class FormBackground {
public:
    FormBackground();
    ~FormBackground();
    FormBackground(const FormBackground&) = delete;
    FormBackground& operator=(const FormBackground&) = delete;

    // A colour value: 0x00BBGGRR, or with the top bit set a system colour
    // (its low byte the index). Repaints the window.
    void setColour(HWND window, int32_t colour);

    // Fills the window's client area; the answer to WM_ERASEBKGND.
    LRESULT erase(HWND window, HDC dc) const;

private:
    HBRUSH brush_;
};

// Registers the class (on first use) and creates the window, hidden, over
// the whole primary screen: no caption, no border, no taskbar entry.
HWND CreateFullScreenForm(const char* className, WNDPROC windowProc, HCURSOR cursor);

// Puts the window in front of every window that is not topmost; its place
// and size stay as they are. The result is not looked at.
void MakeTopmost(HWND window);

// Gives the player the custom size, gMovieWidth x gMovieHeight pixels
// centred on the screen: Left, Top, Height and Width in this order.
void PlaceAtCustomSize(PlayerControl& player, const ScreenMetrics& screen);

// Shows the window and runs the message loop until it is destroyed.
void ShowModally(HWND window);

} // namespace tesmar
