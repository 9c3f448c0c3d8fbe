#pragma once
// The quit button's corner of the screen, chosen by the gQuitPosition
// setting: 0 top left, 1 top right, 2 bottom left, 3 bottom right. The
// button touches the screen's edges; any other value leaves it where it is.
#include <cstdint>

#include "display/portable/ScreenLayout.h"

namespace tesmar {

// The button's box moved to the corner (its width and height unchanged).
TwipsBox QuitButtonInCorner(int16_t quitPosition, const TwipsBox& button, const ScreenMetrics& screen);

} // namespace tesmar
