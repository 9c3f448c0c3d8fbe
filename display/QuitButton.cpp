#include "display/QuitButton.h"

#include "resources/ResourceIds.h"
#include "startup/Forms.h"

#include <commctrl.h>

namespace tesmar {

namespace {

constexpr const char* ClassName = "QuitButton";
constexpr float PictureWidthPixels = 35;
constexpr float PictureHeightPixels = 16;
constexpr float DesignTwipsPerPixel = 15;

// The picture on a black background, from the top-left corner: on a screen
// of other than 15 twips per pixel the button is a little larger or smaller
// than its picture, which keeps its own size.
void Paint(HWND window)
{
    static HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_QUIT_BUTTON), IMAGE_BITMAP, 0, 0, 0));
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (picture) {
        HDC pictureDc = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(pictureDc, picture);
        BitBlt(dc, 0, 0, int(PictureWidthPixels), int(PictureHeightPixels), pictureDc, 0, 0, SRCCOPY);
        SelectObject(pictureDc, previous);
        DeleteDC(pictureDc);
    }
    EndPaint(window, &paint);
}

bool PointIsInside(HWND window, LPARAM lParam)
{
    RECT client;
    GetClientRect(window, &client);
    const POINT point{short(LOWORD(lParam)), short(HIWORD(lParam))};
    return PtInRect(&client, point) != FALSE;
}

LRESULT CALLBACK QuitButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT
    case WM_SETCURSOR: {
        static HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_POINTER));
        SetCursor(hand);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP:
        // A click is a press on the button and a release still over it.
        if (GetCapture() == window) {
            ReleaseCapture();
            if (PointIsInside(window, lParam))
                EndProgram();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateButtonWindow(HWND parent)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(instance, ClassName, &windowClass)) {
        windowClass.lpfnWndProc = QuitButtonProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = ClassName;
        RegisterClassA(&windowClass);
    }
    return CreateWindowExA(0, ClassName, "Quit", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                           nullptr, instance, nullptr);
}

// A tooltip that shows "Quit" while the pointer rests on the button. It has
// no owner: a topmost window owned by the form would keep the form itself
// from being made topmost.
HWND CreateTooltip(HWND button)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (!tooltip)
        return nullptr;
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = button;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<char*>("Quit");
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return tooltip;
}

} // namespace

QuitButton::QuitButton(HWND parent)
    : TwipsPlacement(CreateButtonWindow(parent), {0, 0, PictureWidthPixels * DesignTwipsPerPixel,
                                                  PictureHeightPixels * DesignTwipsPerPixel}),
      tooltip_(CreateTooltip(window()))
{
}

QuitButton::~QuitButton()
{
    if (tooltip_)
        DestroyWindow(tooltip_);
}

} // namespace tesmar
