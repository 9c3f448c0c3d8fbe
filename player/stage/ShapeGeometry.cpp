#include "player/stage/ShapeGeometry.h"
#include <cmath>
#include <map>

namespace tesmar::stage {

namespace {

// Calls visit(from, to) for each line of a path, curves split in pieces.
template <class Visit> void forEachLine(const ShapePath& path, Visit visit) {
    Point from = path.start;
    for (const PathSegment& s : path.segments) {
        if (!s.curved) {
            visit(from, s.to);
        } else {
            constexpr int kSteps = 8;
            Point prev = from;
            for (int i = 1; i <= kSteps; ++i) {
                double t = double(i) / kSteps, u = 1 - t;
                Point p{u * u * from.x + 2 * u * t * s.control.x + t * t * s.to.x,
                        u * u * from.y + 2 * u * t * s.control.y + t * t * s.to.y};
                visit(prev, p);
                prev = p;
            }
        }
        from = s.to;
    }
}

double distanceToSegment(Point p, Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

} // namespace

bool shapeContains(const Shape& shape, Point point) {
    if (!shape.bounds.contains(point)) return false;
    // Winding number per fill style: an edge crossing the ray to the right of
    // the point counts for the fill on each of its sides, with opposite signs.
    std::map<std::pair<uint32_t, uint32_t>, int> winding;
    for (const ShapePath& path : shape.paths) {
        if (path.line != 0 && path.styleGroup < shape.groups.size() &&
            path.line <= shape.groups[path.styleGroup].lines.size()) {
            double half = std::max(shape.groups[path.styleGroup].lines[path.line - 1].width / 2, 10.0);
            bool onStroke = false;
            forEachLine(path, [&](Point a, Point b) { onStroke |= distanceToSegment(point, a, b) <= half; });
            if (onStroke) return true;
        }
        if (path.fill0 == path.fill1) continue;
        forEachLine(path, [&](Point a, Point b) {
            if ((a.y <= point.y) == (b.y <= point.y)) return;
            double x = a.x + (point.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x <= point.x) return;
            int dir = b.y > a.y ? 1 : -1;
            if (path.fill0) winding[{path.styleGroup, path.fill0}] += dir;
            if (path.fill1) winding[{path.styleGroup, path.fill1}] -= dir;
        });
    }
    for (const auto& [style, count] : winding)
        if (count != 0) return true;
    return false;
}

namespace {

double mix(double a, double b, double t) { return a + (b - a) * t; }

Point mix(Point a, Point b, double t) { return {mix(a.x, b.x, t), mix(a.y, b.y, t)}; }

Rgba mix(Rgba a, Rgba b, double t) {
    auto c = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(mix(x, y, t))); };
    return {c(a.r, b.r), c(a.g, b.g), c(a.b, b.b), c(a.a, b.a)};
}

Matrix mix(const Matrix& a, const Matrix& b, double t) {
    return {mix(a.a, b.a, t), mix(a.b, b.b, t), mix(a.c, b.c, t),
            mix(a.d, b.d, t), mix(a.tx, b.tx, t), mix(a.ty, b.ty, t)};
}

Rect mix(const Rect& a, const Rect& b, double t) {
    if (a.empty() || b.empty()) return a;
    return {mix(a.xMin, b.xMin, t), mix(a.yMin, b.yMin, t), mix(a.xMax, b.xMax, t), mix(a.yMax, b.yMax, t)};
}

FillStyle mix(const FillStyle& a, const FillStyle& b, double t) {
    FillStyle f = a;
    f.color = mix(a.color, b.color, t);
    f.matrix = mix(a.matrix, b.matrix, t);
    for (size_t i = 0; i < f.gradient.stops.size() && i < b.gradient.stops.size(); ++i) {
        f.gradient.stops[i].ratio = uint8_t(std::lround(mix(a.gradient.stops[i].ratio, b.gradient.stops[i].ratio, t)));
        f.gradient.stops[i].color = mix(a.gradient.stops[i].color, b.gradient.stops[i].color, t);
    }
    f.gradient.focalPoint = mix(a.gradient.focalPoint, b.gradient.focalPoint, t);
    return f;
}

} // namespace

Shape morphAt(const swf::MorphShapeDef& morph, double t) {
    if (t <= 0) return morph.start;
    Shape shape = morph.start;
    shape.bounds = mix(morph.start.bounds, morph.end.bounds, t);
    shape.edgeBounds = mix(morph.start.edgeBounds, morph.end.edgeBounds, t);
    for (size_t g = 0; g < shape.groups.size() && g < morph.end.groups.size(); ++g) {
        StyleGroup& group = shape.groups[g];
        const StyleGroup& end = morph.end.groups[g];
        for (size_t i = 0; i < group.fills.size() && i < end.fills.size(); ++i)
            group.fills[i] = mix(group.fills[i], end.fills[i], t);
        for (size_t i = 0; i < group.lines.size() && i < end.lines.size(); ++i) {
            LineStyle& line = group.lines[i];
            line.width = mix(line.width, end.lines[i].width, t);
            line.color = mix(line.color, end.lines[i].color, t);
            if (line.hasFill) line.fill = mix(line.fill, end.lines[i].fill, t);
        }
    }
    for (size_t p = 0; p < shape.paths.size() && p < morph.end.paths.size(); ++p) {
        ShapePath& path = shape.paths[p];
        const ShapePath& end = morph.end.paths[p];
        path.start = mix(path.start, end.start, t);
        for (size_t i = 0; i < path.segments.size() && i < end.segments.size(); ++i) {
            path.segments[i].control = mix(path.segments[i].control, end.segments[i].control, t);
            path.segments[i].to = mix(path.segments[i].to, end.segments[i].to, t);
        }
    }
    return shape;
}

} // namespace tesmar::stage
