#include "display/CustomFormWindow.h"

#include "startup/Settings.h"

namespace tesmar {

namespace {

COLORREF ColourOf(int32_t colour)
{
    const uint32_t value = uint32_t(colour);
    if (value & 0x80000000u)
        return GetSysColor(int(value & 0xFF));
    return value & 0x00FFFFFFu;
}

} // namespace

FormBackground::FormBackground() : brush_(CreateSolidBrush(RGB(0, 0, 0))) {}

FormBackground::~FormBackground()
{
    DeleteObject(brush_);
}

void FormBackground::setColour(HWND window, int32_t colour)
{
    DeleteObject(brush_);
    brush_ = CreateSolidBrush(ColourOf(colour));
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT FormBackground::erase(HWND window, HDC dc) const
{
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, brush_);
    return 1;
}

HWND CreateFullScreenForm(const char* className, WNDPROC windowProc, HCURSOR cursor)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(instance, className, &windowClass)) {
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = cursor;
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
    }
    // A tool window keeps it off the taskbar; WS_POPUP leaves it without
    // caption and border, so its client area is the screen.
    return CreateWindowExA(WS_EX_TOOLWINDOW, className, className, WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                           instance, nullptr);
}

void MakeTopmost(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void ShowModally(HWND window)
{
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void PlaceAtCustomSize(PlayerControl& player, const ScreenMetrics& screen)
{
    const TwipsBox movie = CentredMovieBox(gMovieWidth, gMovieHeight, screen);
    player.setLeft(movie.left);
    player.setTop(movie.top);
    player.setHeight(movie.height);
    player.setWidth(movie.width);
}

} // namespace tesmar
