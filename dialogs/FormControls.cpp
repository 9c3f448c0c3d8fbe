#include "dialogs/FormControls.h"

#include <cmath>
#include <map>
#include <string>

#include "resources/ResourceIds.h"
#include "startup/Forms.h"

namespace tesmar {
namespace {

constexpr const char* kFontName = "MS Sans Serif";

float TwipsPerPixel(int axis) {
  HDC screen = GetDC(nullptr);
  const int dotsPerInch = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return dotsPerInch > 0 ? 1440.0f / static_cast<float>(dotsPerInch) : 15.0f;
}

// One font per size for the whole run; the forms live until the program ends.
HFONT FontOfSize(float points) {
  static std::map<float, HFONT> fonts;
  HFONT& font = fonts[points];
  if (font == nullptr) {
    const int pixels = static_cast<int>(std::lround(points * 1440.0f / 72.0f / TwipsPerPixelY()));
    font = CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kFontName);
  }
  return font;
}

struct WindowKind {
  const char* className;
  DWORD style;
  DWORD extendedStyle;
};

WindowKind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::OptionButton: return {"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0};
    case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::TextBox: return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::Button: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::Frame: return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Label: return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Shape: return {"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::LinkLabel: return {"HyperLinkLabel", 0, 0};
  }
  return {"STATIC", 0, 0};
}

void CreateControl(HWND form, std::span<const ControlPlacement> layout, const ControlPlacement& control,
                   bool startsGroup) {
  const float scaleX = TwipsPerPixelX();
  const float scaleY = TwipsPerPixelY();
  const TwipRect place = PlaceOnWindow(layout, control);
  const WindowKind kind = KindOf(control.kind);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style | (startsGroup ? WS_GROUP : 0);
  HWND window = CreateWindowExA(kind.extendedStyle, kind.className, control.caption, style,
                                TwipsToPixels(place.left, scaleX), TwipsToPixels(place.top, scaleY),
                                TwipsToPixels(place.width, scaleX), TwipsToPixels(place.height, scaleY), form,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                GetModuleHandleA(nullptr), nullptr);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOfSize(control.fontPoints)), FALSE);
}

} // namespace

float TwipsPerPixelX() { return TwipsPerPixel(LOGPIXELSX); }
float TwipsPerPixelY() { return TwipsPerPixel(LOGPIXELSY); }

void RegisterFormClass(const char* className, WNDPROC windowProc) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON),
                                                    IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON),
                                                      IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);
}

HWND CreateForm(const char* className, const char* caption, int clientWidthTwips, int clientHeightTwips) {
  // Without WS_CLIPCHILDREN: frames draw only their outline and caption, so
  // the form paints the background inside them.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, TwipsToPixels(clientWidthTwips, TwipsPerPixelX()),
             TwipsToPixels(clientHeightTwips, TwipsPerPixelY())};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  return CreateWindowExA(0, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void CreateFormControls(HWND form, std::span<const ControlPlacement> layout) {
  // An option button starts a new group unless the control made just before
  // it is an option button of the same container; every other control
  // starts a group, so arrow keys move only among the options of one group.
  const ControlPlacement* previous = nullptr;
  for (const ControlPlacement& control : layout) {
    if (control.kind == ControlKind::Frame) continue;
    const bool continuesOptions = control.kind == ControlKind::OptionButton && previous != nullptr &&
                                  previous->kind == ControlKind::OptionButton &&
                                  previous->containerId == control.containerId;
    CreateControl(form, layout, control, !continuesOptions);
    previous = &control;
  }
  // Frames nested in other frames first, so that each lies above the frame
  // that holds it.
  for (int level = static_cast<int>(layout.size()); level >= 0; --level) {
    for (const ControlPlacement& control : layout) {
      if (control.kind == ControlKind::Frame && NestingDepth(layout, control) == level) {
        CreateControl(form, layout, control, true);
      }
    }
  }
}

void FocusFirstControl(HWND form) {
  HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
  if (first != nullptr) SetFocus(first);
}

bool HandleFormNavigation(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  constexpr const char* kFocusProperty = "FocusedControl";
  switch (message) {
    case WM_NEXTDLGCTL: {
      HWND next = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                      : GetNextDlgTabItem(form, GetFocus(), wParam != 0);
      if (next != nullptr) SetFocus(next);
      return true;
    }
    case WM_COMMAND: {
      const int command = LOWORD(wParam);
      if (lParam != 0 || (command != IDOK && command != IDCANCEL)) return false;
      HWND focus = GetFocus();
      if (command == IDOK && focus != nullptr && GetParent(focus) == form &&
          (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        SendMessageA(focus, BM_CLICK, 0, 0);
      }
      return true;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && GetParent(focus) == form) SetPropA(form, kFocusProperty, focus);
        return false;
      } else {
        HWND saved = static_cast<HWND>(GetPropA(form, kFocusProperty));
        if (saved == nullptr || !IsWindowEnabled(saved)) return false;
        SetFocus(saved);
        return true;
      }
    case WM_DESTROY:
      RemovePropA(form, kFocusProperty);
      return false;
  }
  return false;
}

void RunFormLoop(HWND form, const std::function<bool()>& keepRunning) {
  MSG message;
  while (keepRunning()) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) return;
    if (IsDialogMessageA(form, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ReportFailureAndEnd(HWND owner, const std::string& failure) {
  MessageBoxA(owner, failure.c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
  EndProgram();
}

} // namespace tesmar
