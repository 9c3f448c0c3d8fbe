#pragma once
// Drives the custom movie windows of the real program from outside: stores
// the settings that choose them, finds their controls, reads the screen and
// sends real input through the window system.
#include "Harness.h"

#include <map>
#include <string>

namespace tesmar::test {

// The corpus movie the custom windows play: 200 x 200 pixels on a
// yellow-green background (RGB cc ff 00), as Wine names its path.
std::string CorpusMoviePath();
inline constexpr COLORREF CorpusMovieBackground = RGB(0xCC, 0xFF, 0x00);

// Writes a one-frame looping movie whose frame sends the given FSCommand
// (an orange stage); returns its path.
std::string WriteFsCommandMovie(const std::string& command);

// A complete store choosing the custom movie: the corpus movie at 550 x 400
// on blue, the quit button bottom right; overrides replace single keys.
void StoreCustomMovie(bool interaction, const std::map<std::string, std::string>& overrides = {});

// The display window's controls by class name, searched at every depth;
// null when there is none.
HWND FindControl(HWND form, const std::string& className);

// The player's window: the one child (at any depth) of a class that is not
// one of the program's own controls.
HWND FindPlayer(HWND form);

// A window's rectangle on the screen, right and bottom exclusive.
struct ScreenBox {
    int left, top, right, bottom;
    bool operator==(const ScreenBox&) const = default;
};
void PrintTo(const ScreenBox& box, std::ostream* out);
ScreenBox ScreenBoxOf(HWND window);

COLORREF ScreenPixel(int x, int y);

// Whether the mouse pointer is shown right now (for the foreground window's thread).
bool PointerShowing();

// Real input, as the user gives it: the pointer moved to a screen point,
// a button pressed and released where the pointer is, a key typed.
void MovePointerTo(int x, int y);
void ClickHere(DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);
void TypeKey(WORD virtualKey);

// The program started with /s, its display window shown and settled (its
// first paint and the notifications that come with showing it are over).
struct ShownWindow {
    ScreenSaver program;
    HWND window;
};
ShownWindow StartAndWaitFor(const std::string& className);

} // namespace tesmar::test
