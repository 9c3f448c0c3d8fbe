#include "display/portable/ScreenLayout.h"

#include "display/portable/Twips.h"

namespace tesmar {

TwipsBox FullScreenBox(const ScreenMetrics& screen)
{
    return {0, 0, screen.widthTwips, screen.heightTwips};
}

TwipsBox CentredMovieBox(int16_t movieWidthPixels, int16_t movieHeightPixels, const ScreenMetrics& screen)
{
    const float width = float(movieWidthPixels) * screen.twipsPerPixelX;
    const float height = float(movieHeightPixels) * screen.twipsPerPixelY;
    return {(screen.widthTwips - width) / 2.0f, (screen.heightTwips - height) / 2.0f, width, height};
}

PixelBox ToPixels(const TwipsBox& box, const ScreenMetrics& screen)
{
    return {twipsToPixels(box.left, screen.twipsPerPixelX), twipsToPixels(box.top, screen.twipsPerPixelY),
            twipsToPixels(box.width, screen.twipsPerPixelX), twipsToPixels(box.height, screen.twipsPerPixelY)};
}

} // namespace tesmar
