#pragma once
// Turns a stroked polyline into fill outlines: one convex piece per segment,
// join and cap, all wound the same way so that together they fill as their
// union under the non-zero rule (overlaps are not drawn twice).
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
    void addSegment(Point a, Point b, EdgeList& out);
    void addJoin(Point at, Point dirIn, Point dirOut, EdgeList& out);
    void addCap(Point at, Point outward, LineStyle::Cap cap, EdgeList& out);
    void addArc(Point centre, double fromAngle, double sweep, bool withCentre, EdgeList& out);

    StrokeStyle style_;
    std::vector<Point> points_;   // the input without repeated points
    std::vector<Point> piece_;
};

} // namespace tesmar::render
