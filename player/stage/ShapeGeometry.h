#pragma once
// Geometry on vector shapes that the stage needs besides drawing: hit
// tests and blending the two ends of a morph.
#include "player/geom/Shape.h"
#include "player/swf/Characters.h"

namespace tesmar::stage {

// Whether point (shape space, twips) lies in a filled area or on a stroke.
bool shapeContains(const Shape& shape, Point point);

// The morph shape at ratio t (0 = start, 1 = end).
Shape morphAt(const swf::MorphShapeDef& morph, double t);

} // namespace tesmar::stage
