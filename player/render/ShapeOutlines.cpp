#include "player/render/ShapeOutlines.h"
#include <algorithm>
#include <cmath>
#include "player/render/CurveFlattening.h"

namespace tesmar::render {
namespace {

constexpr double kCurveTolerance = 0.1;   // pixels
// Past this many points curves are drawn as chords, so that a hostile shape
// cannot make flattening take unbounded memory.
constexpr size_t kPointBudget = size_t(1) << 22;

bool samePoint(Point a, Point b) {
    return std::fabs(a.x - b.x) < 1e-6 && std::fabs(a.y - b.y) < 1e-6;
}

// The stroke's width in pixels under the flags that keep it from scaling.
double strokeWidth(const LineStyle& line, const Matrix& m) {
    double horizontal = std::sqrt(m.a * m.a + m.b * m.b), vertical = std::sqrt(m.c * m.c + m.d * m.d);
    double scale;
    if (line.noHScale && line.noVScale) scale = 1.0 / 20;   // twips to pixels, unscaled
    else if (line.noHScale) scale = vertical;
    else if (line.noVScale) scale = horizontal;
    else scale = std::min(horizontal, vertical);   // squeezed or sheared, the thinner axis sets the width
    double width = line.width * scale;
    // Hairlines and anything thinner are one pixel wide.
    return std::isfinite(width) ? std::max(width, 1.0) : 1.0;
}

// A stroke one pixel wide or thinner (a dot aside), sampled 2x2: each
// segment covers one pixel across its minor axis, the way a line stepped
// along its major axis does, rather than a band one pixel wide measured
// square to the line. No caps or joins.
void addHairline(const std::vector<Point>& points, EdgeList& out) {
    for (size_t i = 1; i < points.size(); ++i) {
        Point a = points[i - 1], b = points[i];
        if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) continue;
        bool xMajor = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
        double acrossX = xMajor ? 0 : 0.5, acrossY = xMajor ? 0.5 : 0;
        Point quad[4] = {{a.x - acrossX, a.y - acrossY}, {b.x - acrossX, b.y - acrossY},
                         {b.x + acrossX, b.y + acrossY}, {a.x + acrossX, a.y + acrossY}};
        out.addConvexPiece(quad, 4);
    }
}

} // namespace

void ShapeOutlines::build(const Shape& shape, const Matrix& toPixels, bool withLines, bool steppedHairlines) {
    flatten(shape, toPixels);
    uses_.clear();
    for (size_t i = 0; i < shape.paths.size(); ++i) {
        const ShapePath& path = shape.paths[i];
        if (path.styleGroup >= shape.groups.size()) continue;
        const StyleGroup& group = shape.groups[path.styleGroup];
        if (path.fill0 >= 1 && path.fill0 <= group.fills.size()) uses_.push_back({path.styleGroup, false, path.fill0 - 1, i, true});
        if (path.fill1 >= 1 && path.fill1 <= group.fills.size()) uses_.push_back({path.styleGroup, false, path.fill1 - 1, i, false});
        if (withLines && path.line >= 1 && path.line <= group.lines.size()) uses_.push_back({path.styleGroup, true, path.line - 1, i, false});
    }
    auto order = [](const Use& l, const Use& r) {
        if (l.group != r.group) return l.group < r.group;
        if (l.isLine != r.isLine) return !l.isLine;
        if (l.style != r.style) return l.style < r.style;
        return l.path < r.path;
    };
    std::sort(uses_.begin(), uses_.end(), order);

    fills_.clear();
    listsUsed_ = 0;
    for (size_t first = 0; first < uses_.size();) {
        const Use& u = uses_[first];
        size_t last = first;
        while (last < uses_.size() && uses_[last].group == u.group && uses_[last].isLine == u.isLine &&
               uses_[last].style == u.style)
            ++last;
        const StyleGroup& group = shape.groups[u.group];
        size_t listIndex = listsUsed_;
        EdgeList& list = nextList();
        if (u.isLine) {
            addStrokes(&uses_[first], &uses_[last], group.lines[u.style], toPixels, steppedHairlines, list);
            fills_.push_back({nullptr, &group.lines[u.style], listIndex});
        } else {
            addFillEdges(&uses_[first], &uses_[last], list);
            fills_.push_back({&group.fills[u.style], nullptr, listIndex});
        }
        first = last;
    }
}

void ShapeOutlines::flatten(const Shape& shape, const Matrix& toPixels) {
    points_.clear();
    ranges_.clear();
    for (const ShapePath& path : shape.paths) {
        size_t begin = points_.size();
        Point at = toPixels.apply(path.start);
        points_.push_back(at);
        for (const PathSegment& segment : path.segments) {
            Point to = toPixels.apply(segment.to);
            if (segment.curved) {
                int most = points_.size() < kPointBudget ? 256 : 1;
                flattenQuadratic(at, toPixels.apply(segment.control), to, kCurveTolerance, most, points_);
            } else {
                points_.push_back(to);
            }
            at = to;
        }
        ranges_.push_back({begin, points_.size()});
    }
}

EdgeList& ShapeOutlines::nextList() {
    if (lists_.size() == listsUsed_) lists_.emplace_back();
    EdgeList& list = lists_[listsUsed_++];
    list.clear();
    return list;
}

void ShapeOutlines::addFillEdges(const Use* first, const Use* last, EdgeList& out) const {
    for (const Use* u = first; u != last; ++u) {
        auto [begin, end] = ranges_[u->path];
        for (size_t i = begin + 1; i < end; ++i) {
            if (u->reversed) out.addLine(points_[i], points_[i - 1]);
            else out.addLine(points_[i - 1], points_[i]);
        }
    }
}

// Consecutive paths of one line style that continue where the last one
// ended are one polyline, so that they meet with a join rather than caps.
void ShapeOutlines::addStrokes(const Use* first, const Use* last, const LineStyle& line, const Matrix& toPixels,
                               bool steppedHairlines,
                               EdgeList& out) {
    StrokeStyle style{strokeWidth(line, toPixels) / 2, line.startCap, line.endCap, line.join, line.miterLimit};
    bool hairline = steppedHairlines && style.halfWidth <= 0.5;
    auto finish = [&] {
        if (polyline_.empty()) return;
        // A dot (no length) keeps the stroker's caps even when thin.
        if (hairline && std::any_of(polyline_.begin(), polyline_.end(),
                                    [&](Point p) { return !samePoint(p, polyline_.front()); })) {
            addHairline(polyline_, out);
            polyline_.clear();
            return;
        }
        bool closed = !line.noClose && polyline_.size() > 2 && samePoint(polyline_.front(), polyline_.back());
        stroker_.stroke(polyline_, closed, style, out);
        polyline_.clear();
    };
    for (const Use* u = first; u != last; ++u) {
        auto [begin, end] = ranges_[u->path];
        if (end - begin < 2) continue;   // a move without edges draws nothing
        if (!polyline_.empty() && !samePoint(polyline_.back(), points_[begin])) finish();
        polyline_.insert(polyline_.end(), points_.begin() + ptrdiff_t(polyline_.empty() ? begin : begin + 1),
                         points_.begin() + ptrdiff_t(end));
    }
    finish();
}

} // namespace tesmar::render
