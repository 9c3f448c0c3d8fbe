#pragma once
// Where the display windows put their controls. Positions and sizes are
// twips in single precision, computed from the screen's metrics; whole
// pixels appear only when a box is handed to the window system, through
// the one rounding rule of Twips.h applied to each of the four values.
#include <cstdint>

namespace tesmar {

// The primary screen as the layout sees it, read afresh for every layout.
struct ScreenMetrics {
    float widthTwips = 0;
    float heightTwips = 0;
    float twipsPerPixelX = 15;
    float twipsPerPixelY = 15;
};

// A control's place in its container, in twips; fractions are kept.
struct TwipsBox {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// The same place in whole pixels.
struct PixelBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelBox&) const = default;
};

// The whole screen from its top-left corner.
TwipsBox FullScreenBox(const ScreenMetrics& screen);

// A movie of the given pixel size centred on the screen: it keeps its size
// in pixels whatever the screen's resolution, and a movie larger than the
// screen is cut off evenly on all sides.
TwipsBox CentredMovieBox(int16_t movieWidthPixels, int16_t movieHeightPixels, const ScreenMetrics& screen);

// Each of the four values converted on its own with twipsToPixels, so a
// left edge and a width that both end in half a pixel both round up.
PixelBox ToPixels(const TwipsBox& box, const ScreenMetrics& screen);

} // namespace tesmar
