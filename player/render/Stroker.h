#pragma once
// Turns a stroked polyline into one fill outline: the left side forward,
// the end cap, the right side backward, the start cap (a closed polyline
// gives one loop per side). On the outside of a turn the outline follows
// the join; on the inside it passes through the corner point itself. That
// makes the outline's winding the sum of one piece per segment, join and
// cap, all wound the same way, so under the non-zero rule it covers
// exactly their union, with a fraction of the edges that separate pieces
// would take.
#include <vector>
#include "player/geom/Geometry.h"
#include "player/geom/Shape.h"
#include "player/render/Rasterizer.h"

namespace tesmar::render {

struct StrokeStyle {
    double halfWidth = 0.5;   // pixels
    LineStyle::Cap startCap = LineStyle::Cap::Round, endCap = LineStyle::Cap::Round;
    LineStyle::Join join = LineStyle::Join::Round;
    double miterLimit = 3;    // how far a miter may reach, in line widths
};

class Stroker {
public:
    // Adds the outline of a stroke along points (pixel space) to out. A closed
    // polyline joins its last point to its first instead of taking caps.
    void stroke(const std::vector<Point>& points, bool closed, const StrokeStyle& style, EdgeList& out);

private:
    // Appends the left side of points_ walked forward (backward when
    // reversed), with the joins at its corners; around the whole loop when
    // closed.
    void addSide(bool reversed, bool closed);
    void addJoin(Point at, Point dirIn, Point dirOut);
    // The cap's points strictly between the left and the right side of the
    // end at `at`, the line arriving in direction dir.
    void addCap(Point at, Point dir, LineStyle::Cap cap);
    // Points of an arc of radius halfWidth, turning clockwise on screen by
    // sweep (radians, > 0) from angle from, both ends left out.
    void addArc(Point centre, double from, double sweep);
    // Closes outline_ into out and empties it.
    void emit(EdgeList& out);

    StrokeStyle style_;
    std::vector<Point> points_;   // the input without repeated points
    std::vector<Point> outline_;
};

} // namespace tesmar::render
