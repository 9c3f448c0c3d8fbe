#include "dialogs/ConfigureDialog.h"

#include "dialogs/FormControls.h"
#include "dialogs/HyperLinkLabel.h"
#include "dialogs/portable/ControlIds.h"

namespace tesmar {
namespace {

constexpr const char* kClassName = "ConfigureDialog";
constexpr const char* kCaption = "About Tesmar Flash Screen Saver";

HWND aboutWindow = nullptr;
HWND blockedWindow = nullptr;  // the settings window while the About window is shown

// Centres the whole window (frame and title bar included) on the screen.
void CentreOnScreen(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  const float scaleX = TwipsPerPixelX();
  const float scaleY = TwipsPerPixelY();
  const float screenWidth = static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * scaleX;
  const float screenHeight = static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * scaleY;
  const float width = static_cast<float>(frame.right - frame.left) * scaleX;
  const float height = static_cast<float>(frame.bottom - frame.top) * scaleY;
  SetWindowPos(window, nullptr, TwipsToPixels((screenWidth - width) / 2, scaleX),
               TwipsToPixels((screenHeight - height) / 2, scaleY), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The settings window takes input again before the About window goes, so
// that activation returns to it.
void ReleaseSettingsWindow() {
  if (blockedWindow != nullptr) EnableWindow(blockedWindow, TRUE);
}

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleFormNavigation(window, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_OK && HIWORD(wParam) == BN_CLICKED) {
        ReleaseSettingsWindow();
        ShowWindow(window, SW_HIDE);
      }
      return 0;
    case WM_CLOSE:
      ReleaseSettingsWindow();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      aboutWindow = nullptr;
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND LoadAboutWindow() {
  static bool registered = false;
  if (!registered) {
    RegisterFormClass(kClassName, AboutWindowProc);
    RegisterHyperLinkLabelClass();
    registered = true;
  }
  HWND window = CreateForm(kClassName, kCaption, kAboutClientWidth, kAboutClientHeight);
  CreateFormControls(window, AboutWindowControls());
  CentreOnScreen(window);
  return window;
}

} // namespace

void ShowConfigureDialog(HWND settingsWindow) {
  if (aboutWindow == nullptr) aboutWindow = LoadAboutWindow();
  blockedWindow = settingsWindow;
  EnableWindow(settingsWindow, FALSE);
  ShowWindow(aboutWindow, SW_SHOWNORMAL);
  SetForegroundWindow(aboutWindow);
  SetFocus(GetDlgItem(aboutWindow, IDC_ABOUT_OK));
  RunFormLoop(aboutWindow, [] { return aboutWindow != nullptr && IsWindowVisible(aboutWindow); });
  ReleaseSettingsWindow();
  blockedWindow = nullptr;
  SetForegroundWindow(settingsWindow);
}

} // namespace tesmar
