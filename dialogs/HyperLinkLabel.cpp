#include "dialogs/HyperLinkLabel.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "dialogs/FormControls.h"
#include "dialogs/portable/WindowLayout.h"
#include "resources/ResourceIds.h"

namespace tesmar {
namespace {

constexpr const char* kClassName = "HyperLinkLabel";
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

// The window's font made underlined, once per window font.
HFONT UnderlinedFont(HWND window) {
  static HFONT underlined = nullptr;
  if (underlined == nullptr) {
    LOGFONTA font{};
    HFONT parentFont = reinterpret_cast<HFONT>(SendMessageA(GetParent(window), WM_GETFONT, 0, 0));
    GetObjectA(parentFont != nullptr ? parentFont : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = -static_cast<LONG>(8.25f * 1440.0f / 72.0f / TwipsPerPixelY() + 0.5f);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = TRUE;
    lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    underlined = CreateFontIndirectA(&font);
  }
  return underlined;
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  char caption[256] = {};
  GetWindowTextA(window, caption, sizeof caption);
  HGDIOBJ previous = SelectObject(dc, UnderlinedFont(window));
  SetTextColor(dc, kLinkColour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, caption, -1, &client, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  EndPaint(window, &paint);
}

// Opens the home page in the registered browser without waiting for it. A
// failure to start the browser is reported, and the program ends.
void OpenHomePage(HWND window) {
  const INT_PTR result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", kMakerHomePage, nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    ReportFailureAndEnd(GetParent(window), std::string("The web page ") + kMakerHomePage +
                                               " could not be opened (error " + std::to_string(result) + ").");
  }
}

LRESULT CALLBACK LinkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_SETCURSOR: {
      static HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_POINTER));
      SetCursor(hand);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      SetPropA(window, "Pressed", reinterpret_cast<HANDLE>(1));
      return 0;
    case WM_LBUTTONUP:
      // A click is a press and a release on the label.
      if (RemovePropA(window, "Pressed") != nullptr) OpenHomePage(window);
      return 0;
    case WM_DESTROY:
      RemovePropA(window, "Pressed");
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void RegisterHyperLinkLabelClass() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = LinkWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = nullptr;  // set on every WM_SETCURSOR
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
}

} // namespace tesmar
