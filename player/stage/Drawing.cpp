#include "player/stage/Drawing.h"
#include <algorithm>
#include "player/stage/ShapeGeometry.h"

namespace tesmar::stage {

namespace {

bool samePoint(Point a, Point b) { return a.x == b.x && a.y == b.y; }

} // namespace

void Drawing::clear() {
    auto attached = std::move(bitmaps_);
    *this = Drawing{};
    bitmaps_ = std::move(attached);
}

void Drawing::lineStyle(std::optional<LineStyle> style) {
    lineStyle_ = std::move(style);
    pathOpen_ = false;
    closedValid_ = false;
    if (!lineStyle_) {
        line_ = 0;
        return;
    }
    if (shape_.groups.empty()) shape_.groups.emplace_back();
    group().lines.push_back(*lineStyle_);
    line_ = uint32_t(group().lines.size());
}

void Drawing::lineFill(const FillStyle& fill) {
    if (!lineStyle_) return;
    LineStyle style = *lineStyle_;
    style.hasFill = true;
    style.fill = fill;
    lineStyle(style);
}

void Drawing::beginFill(const FillStyle& fill) {
    if (filling_) closeFill();
    // Each fill is a group of its own, drawn over what came before it, with
    // the lines drawn while it is open on top.
    StyleGroup next;
    next.fills.push_back(fill);
    if (lineStyle_) next.lines.push_back(*lineStyle_);
    shape_.groups.push_back(std::move(next));
    line_ = lineStyle_ ? 1 : 0;
    filling_ = true;
    fillStart_ = pen_;
    pathOpen_ = false;
    closedValid_ = false;
}

void Drawing::endFill() {
    if (!filling_) return;
    closeFill();
    filling_ = false;
    pathOpen_ = false;
    closedValid_ = false;
}

void Drawing::moveTo(Point to) {
    // A fill's contour ends where the pen leaves it: it closes itself.
    if (filling_) closeFill();
    pen_ = to;
    fillStart_ = to;
    pathOpen_ = false;
}

void Drawing::lineTo(Point to) { addSegment({false, {}, to}); }

void Drawing::curveTo(Point control, Point to) { addSegment({true, control, to}); }

void Drawing::addSegment(const PathSegment& segment) {
    if (!filling_ && line_ == 0) {
        pen_ = segment.to;   // nothing to draw: the pen only moves
        return;
    }
    if (!pathOpen_) startPath();
    shape_.paths.back().segments.push_back(segment);
    pen_ = segment.to;
    closedValid_ = false;
}

void Drawing::startPath() {
    ShapePath path;
    path.styleGroup = uint32_t(shape_.groups.size() - 1);
    path.fill0 = filling_ ? 1 : 0;
    path.line = line_;
    path.start = pen_;
    shape_.paths.push_back(std::move(path));
    pathOpen_ = true;
}

// The edge from the pen back to where the fill began, drawn with the line
// style of the moment.
ShapePath Drawing::closingEdge() const {
    ShapePath path;
    path.styleGroup = uint32_t(shape_.groups.size() - 1);
    path.fill0 = 1;
    path.line = line_;
    path.start = pen_;
    path.segments.push_back({false, {}, fillStart_});
    return path;
}

void Drawing::closeFill() {
    if (samePoint(pen_, fillStart_)) return;
    shape_.paths.push_back(closingEdge());
    pen_ = fillStart_;
    pathOpen_ = false;
    closedValid_ = false;
}

const Shape& Drawing::shape() const {
    if (closedValid_) return closed_;
    closed_ = shape_;
    if (filling_ && !samePoint(pen_, fillStart_)) closed_.paths.push_back(closingEdge());
    // Bounds take in control points and half the widest line.
    Rect bounds;
    double halfWidth = 0;
    for (const ShapePath& path : closed_.paths) {
        bounds.include(path.start);
        for (const PathSegment& s : path.segments) {
            bounds.include(s.to);
            if (s.curved) bounds.include(s.control);
        }
        if (path.line && path.styleGroup < closed_.groups.size()) {
            const auto& lines = closed_.groups[path.styleGroup].lines;
            if (path.line <= lines.size()) halfWidth = std::max(halfWidth, std::max(lines[path.line - 1].width, 20.0) / 2);
        }
    }
    closed_.edgeBounds = bounds;
    if (!bounds.empty()) bounds = Rect{bounds.xMin - halfWidth, bounds.yMin - halfWidth, bounds.xMax + halfWidth, bounds.yMax + halfWidth};
    closed_.bounds = bounds;
    closedValid_ = true;
    return closed_;
}

void Drawing::draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx,
                   const render::BitmapSource* bitmaps) const {
    if (!empty()) r.drawShape(shape(), toPixels, cx, bitmaps);
    drawBitmaps(r, toPixels, cx);
}

bool Drawing::hitTest(Point local) const {
    if (!empty() && shapeContains(shape(), local)) return true;
    for (const auto& [depth, bitmap] : bitmaps_)
        if (local.x >= 0 && local.y >= 0 && local.x < bitmap.image->width * 20.0 && local.y < bitmap.image->height * 20.0)
            return true;
    return false;
}

} // namespace tesmar::stage
