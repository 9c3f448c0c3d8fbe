#include "display/portable/QuitCorner.h"

namespace tesmar {

TwipsBox QuitButtonInCorner(int16_t quitPosition, const TwipsBox& button, const ScreenMetrics& screen)
{
    const float right = screen.widthTwips - button.width;
    const float bottom = screen.heightTwips - button.height;
    TwipsBox placed = button;
    switch (quitPosition) {
    case 0:
        placed.left = 0;
        placed.top = 0;
        break;
    case 1:
        placed.left = right;
        placed.top = 0;
        break;
    case 2:
        placed.left = 0;
        placed.top = bottom;
        break;
    case 3:
        placed.left = right;
        placed.top = bottom;
        break;
    default:
        break;  // no corner: the design place stays
    }
    return placed;
}

} // namespace tesmar
