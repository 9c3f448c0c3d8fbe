#pragma once
// Child windows with a transparent background: they paint nothing of their
// own, so their parent's background shows wherever nothing else covers
// them, and the mouse passes through them to the window beneath.
#include <windows.h>

namespace tesmar {

// Creates a visible transparent child window of the named class (registered
// on first use), at (0, 0) with no size until it is placed.
HWND CreateTransparentControl(HWND parent, const char* className);

// The parent erases its background into this window's device context, moved
// so that the parent's coordinates line up with this window's place.
void EraseWithParentBackground(HWND window, HDC dc);

} // namespace tesmar
