#pragma once
// Child windows placed the way the display windows lay out their controls:
// a box in twips whose four values are assigned one at a time, each
// assignment moving the window at once. Pixels come from twipsToPixels
// with the screen's twips per pixel, read afresh every time.
#include <windows.h>

#include "display/portable/ScreenLayout.h"

namespace tesmar {

// The primary screen's size in twips and its twips per pixel, now.
ScreenMetrics ReadScreenMetrics();

class TwipsPlacement {
public:
    // Takes over a child window (destroyed with this object) and puts it
    // at its design box.
    TwipsPlacement(HWND window, const TwipsBox& design);
    ~TwipsPlacement();
    TwipsPlacement(const TwipsPlacement&) = delete;
    TwipsPlacement& operator=(const TwipsPlacement&) = delete;

    HWND window() const { return window_; }
    const TwipsBox& box() const { return box_; }

    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);

private:
    void moveWindow() const;

    HWND window_;
    TwipsBox box_;
};

} // namespace tesmar
