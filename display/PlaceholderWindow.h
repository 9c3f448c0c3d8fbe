#pragma once
// A stand-in for a display window that is not built yet: a black window over
// the whole screen with the form's name in the middle, registered under the
// form's class name so that tests and tools see which window start-up chose.

namespace tesmar {

// Shows the window and returns when it closes; a key or a mouse button
// ends the program, as any screen saver does.
void ShowPlaceholderWindow(const char* formName);

} // namespace tesmar
