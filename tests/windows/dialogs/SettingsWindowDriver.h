#pragma once
// Drives the running program's settings and About windows from outside, by
// control identifier, the way a user would: clicks and keystrokes are posted
// so that a modal box they open never blocks the test.
#include "Harness.h"

#include <string>

#include "dialogs/portable/ControlIds.h"

namespace tesmar::test {

inline constexpr DWORD WindowWaitMs = 10000;

// The program started with "/c" on the given store, its settings window found.
class SettingsWindow {
public:
    explicit SettingsWindow(const std::map<std::string, std::string>& store);

    ScreenSaver& Program() { return program_; }
    HWND Window() const { return window_; }
    HWND Control(int id) const;

    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;
    std::string Text(int id) const;

    // Posts a click (BM_CLICK) to a button, option or check box.
    void Click(int id) const;
    // Posts the characters to a text box as typed keys; '\b' deletes one.
    void Type(int id, const std::string& characters) const;

    // Waits until the program has handled everything posted to it so far.
    void Settle() const;

    // The message box the program shows, or null when none appears in time.
    HWND WaitForMessageBox(DWORD timeoutMs) const;

private:
    ScreenSaver program_;
    HWND window_ = nullptr;
};

// The text of a window of any process.
std::string WindowText(HWND window);

// The texts of a window's static children (a message box's message).
std::string StaticTexts(HWND window);

// The colour on the screen at a point of a window's client area.
COLORREF ScreenColourAt(HWND window, int x, int y);

// Presses the OK button of a message box.
void DismissMessageBox(HWND box);

} // namespace tesmar::test
