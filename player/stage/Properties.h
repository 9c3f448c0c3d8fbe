#pragma once
// The placement properties as scripts see them (_x, _y in pixels, scales
// and alpha in percent, rotation in degrees), read from and written to an
// object's matrix and colour transform.
#include "player/stage/DisplayObject.h"

namespace tesmar::stage {

struct Placement {
    double x = 0, y = 0;                 // pixels
    double xScale = 100, yScale = 100;   // percent
    double rotation = 0;                 // degrees, -180..180
};

Placement placementOf(const DisplayObject& object);
// Rebuilds the matrix from scales and rotation (skew is dropped, as the
// reference player does when a script sets one of them).
void setPlacement(DisplayObject& object, const Placement& placement);

double alphaOf(const DisplayObject& object);          // percent
void setAlpha(DisplayObject& object, double percent);

} // namespace tesmar::stage
