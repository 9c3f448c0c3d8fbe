#pragma once
// Quadratic curves as polylines. The number of chords comes from mapping
// the curve onto a segment of the parabola y = x² and integrating an
// approximation of the square root of its curvature, and the chords are
// spread evenly over that integral, so each strays about equally far from
// the curve. A curve that stays within the tolerance of its chord is that
// chord.
#include <vector>
#include "player/geom/Geometry.h"

namespace tesmar::render {

// Appends the points that follow `from` on the way to `to` (to included),
// each chord straying at most about `tolerance` from the curve and no more
// than maxChords of them.
void flattenQuadratic(Point from, Point control, Point to, double tolerance, int maxChords, std::vector<Point>& out);

} // namespace tesmar::render
