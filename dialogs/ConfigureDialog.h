#pragma once
// The About window of the settings run.
#include <windows.h>

namespace tesmar {

// Shows the About window modally over the settings window (which takes no
// input meanwhile) and returns when it is hidden by its OK button or closed
// by its close box. The first showing, and the first after a close, centres
// it on the screen; a window that was only hidden keeps its place.
void ShowConfigureDialog(HWND settingsWindow);

} // namespace tesmar
