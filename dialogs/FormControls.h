#pragma once
// What the settings window and the About window share: a top-level window
// with a fixed single border, a caption with a close box and the program's
// icon, its controls made from a twips layout, and keyboard navigation in
// which no button is the default or the cancel button.
#include <windows.h>

#include <functional>
#include <span>
#include <string>

#include "dialogs/portable/WindowLayout.h"

namespace tesmar {

// The program's title: the caption of the messages it shows.
inline constexpr const char* kProgramTitle = "Tesmar Flash Screen Saver";

// The primary screen's twips per pixel, read afresh at each call.
float TwipsPerPixelX();
float TwipsPerPixelY();

// Registers a form's window class: the program's icon, the button-face
// background and the normal arrow pointer.
void RegisterFormClass(const char* className, WNDPROC windowProc);

// Creates a hidden form whose client area has the given size in twips, at
// the place the window system chooses for new windows.
HWND CreateForm(const char* className, const char* caption, int clientWidthTwips, int clientHeightTwips);

// Creates the form's controls, each with its layout id, caption and font.
// Controls with a tab stop are created in tab order, so that Tab follows it;
// frames go beneath everything, inner frames above outer ones, so that no
// frame covers what it holds.
void CreateFormControls(HWND form, std::span<const ControlPlacement> layout);

// Gives the focus to the first enabled control with a tab stop.
void FocusFirstControl(HWND form);

// The form's part in keyboard navigation, for messages the dialog manager
// sends to a window that is not a dialog: Tab moves the focus (WM_NEXTDLGCTL);
// Enter (IDOK) presses the focused push button, if any, and Esc (IDCANCEL)
// nothing; and the focused control gets the focus back when the form is
// activated again. Returns true when the message was handled.
bool HandleFormNavigation(HWND form, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the thread's message loop with Tab, arrow, Enter and Esc keys handled
// for the form, for as long as keepRunning says. A quit message ends it and
// is posted again for the loop outside.
void RunFormLoop(HWND form, const std::function<bool()>& keepRunning);

// Shows a message naming a failure, then ends the program.
[[noreturn]] void ReportFailureAndEnd(HWND owner, const std::string& failure);

} // namespace tesmar
