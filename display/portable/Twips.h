#pragma once
// Layout is computed in twips, in single precision; whole pixels appear
// only where a window is placed. Every conversion rounds the same way: to
// the nearest pixel, a half going up (towards +infinity), so that a
// centred rectangle never moves left of where its twips put it.
#include <cmath>

namespace tesmar {

inline int twipsToPixels(float twips, float twipsPerPixel)
{
    return int(std::floor(twips / twipsPerPixel + 0.5f));
}

} // namespace tesmar
