#include "display/TwipsPlacement.h"

namespace tesmar {

namespace {

float TwipsPerPixel(HDC screen, int axis)
{
    const int dotsPerInch = GetDeviceCaps(screen, axis);
    return dotsPerInch > 0 ? 1440.0f / float(dotsPerInch) : 15.0f;
}

} // namespace

ScreenMetrics ReadScreenMetrics()
{
    HDC screen = GetDC(nullptr);
    ScreenMetrics metrics;
    metrics.twipsPerPixelX = TwipsPerPixel(screen, LOGPIXELSX);
    metrics.twipsPerPixelY = TwipsPerPixel(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    metrics.widthTwips = float(GetSystemMetrics(SM_CXSCREEN)) * metrics.twipsPerPixelX;
    metrics.heightTwips = float(GetSystemMetrics(SM_CYSCREEN)) * metrics.twipsPerPixelY;
    return metrics;
}

TwipsPlacement::TwipsPlacement(HWND window, const TwipsBox& design) : window_(window), box_(design)
{
    moveWindow();
}

TwipsPlacement::~TwipsPlacement()
{
    if (IsWindow(window_))
        DestroyWindow(window_);
}

void TwipsPlacement::setLeft(float twips)
{
    box_.left = twips;
    moveWindow();
}

void TwipsPlacement::setTop(float twips)
{
    box_.top = twips;
    moveWindow();
}

void TwipsPlacement::setWidth(float twips)
{
    box_.width = twips;
    moveWindow();
}

void TwipsPlacement::setHeight(float twips)
{
    box_.height = twips;
    moveWindow();
}

void TwipsPlacement::moveWindow() const
{
    // A negative size shows nothing, as a window cannot be less than empty.
    const PixelBox pixels = ToPixels(box_, ReadScreenMetrics());
    SetWindowPos(window_, nullptr, pixels.left, pixels.top, pixels.width > 0 ? pixels.width : 0,
                 pixels.height > 0 ? pixels.height : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace tesmar
