#include "player/render/Stroker.h"
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tesmar::render {
namespace {

// Largest distance between an arc and the polygon standing for it, in pixels.
constexpr double kArcTolerance = 0.1;

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
Point operator*(Point a, double s) { return {a.x * s, a.y * s}; }
double dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
double length(Point a) { return std::sqrt(dot(a, a)); }
Point normalFor(Point direction) { return {-direction.y, direction.x}; }

Point unit(Point from, Point to) {
    Point d = to - from;
    double len = length(d);
    return len > 0 ? d * (1 / len) : Point{1, 0};
}

} // namespace

void Stroker::stroke(const std::vector<Point>& points, bool closed, const StrokeStyle& style, EdgeList& out) {
    style_ = style;
    if (!std::isfinite(style_.halfWidth) || style_.halfWidth <= 0) return;
    points_.clear();
    for (const Point& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        if (points_.empty() || length(p - points_.back()) > 1e-9) points_.push_back(p);
    }
    if (closed && points_.size() > 1 && length(points_.front() - points_.back()) <= 1e-9) points_.pop_back();
    if (points_.empty()) return;

    if (points_.size() == 1) {
        // A dot: what the caps would draw around a point.
        addCap(points_[0], {1, 0}, style_.endCap, out);
        addCap(points_[0], {-1, 0}, style_.startCap, out);
        return;
    }
    size_t n = points_.size();
    if (n == 2) closed = false;   // there and back along one line needs caps, not joins
    size_t segments = closed ? n : n - 1;
    for (size_t i = 0; i < segments; ++i) addSegment(points_[i], points_[(i + 1) % n], out);
    for (size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i) {
        const Point& before = points_[(i + n - 1) % n];
        addJoin(points_[i], unit(before, points_[i]), unit(points_[i], points_[(i + 1) % n]), out);
    }
    if (!closed) {
        addCap(points_[0], unit(points_[1], points_[0]), style_.startCap, out);
        addCap(points_[n - 1], unit(points_[n - 2], points_[n - 1]), style_.endCap, out);
    }
}

void Stroker::addSegment(Point a, Point b, EdgeList& out) {
    Point side = normalFor(unit(a, b)) * style_.halfWidth;
    Point quad[4] = {a + side, b + side, b - side, a - side};
    out.addConvexPiece(quad, 4);
}

void Stroker::addJoin(Point at, Point dirIn, Point dirOut, EdgeList& out) {
    double turn = cross(dirIn, dirOut);
    if (std::fabs(turn) < 1e-12 && dot(dirIn, dirOut) > 0) return;   // straight on
    // The side away from the turn is where the segments leave a gap.
    double outside = turn > 0 ? -1.0 : 1.0;
    Point outIn = normalFor(dirIn) * outside, outOut = normalFor(dirOut) * outside;
    double r = style_.halfWidth;
    Point a = at + outIn * r, b = at + outOut * r;

    if (style_.join == LineStyle::Join::Round) {
        double from = std::atan2(outIn.y, outIn.x);
        double sweep = std::atan2(cross(outIn, outOut), dot(outIn, outOut));
        addArc(at, from, sweep, true, out);
        return;
    }
    Point bevel[3] = {at, a, b};
    if (style_.join == LineStyle::Join::Bevel) {
        out.addConvexPiece(bevel, 3);
        return;
    }
    // Miter: the outer edges meet at the tip, unless that lies further than
    // the limit allows, where the miter is cut square to its bisector.
    Point bisector = outIn + outOut;
    double bisectorLength = length(bisector);
    if (bisectorLength < 1e-12) {
        out.addConvexPiece(bevel, 3);
        return;
    }
    bisector = bisector * (1 / bisectorLength);
    double cosHalf = dot(bisector, outIn);
    double cutDistance = std::max(1.0, style_.miterLimit) * 2 * r;
    if (cosHalf > 1e-9 && r / cosHalf <= cutDistance) {
        Point miter[4] = {at, a, at + bisector * (r / cosHalf), b};
        out.addConvexPiece(miter, 4);
        return;
    }
    double alongIn = dot(dirIn, bisector), alongOut = dot(dirOut, bisector);
    if (alongIn < 1e-12 || -alongOut < 1e-12) {
        out.addConvexPiece(bevel, 3);
        return;
    }
    Point cutA = a + dirIn * ((cutDistance - dot(a - at, bisector)) / alongIn);
    Point cutB = b - dirOut * ((cutDistance - dot(b - at, bisector)) / -alongOut);
    Point cut[5] = {at, a, cutA, cutB, b};
    out.addConvexPiece(cut, 5);
}

void Stroker::addCap(Point at, Point outward, LineStyle::Cap cap, EdgeList& out) {
    double r = style_.halfWidth;
    if (cap == LineStyle::Cap::Round) {
        addArc(at, 0, 2 * std::numbers::pi, false, out);
    } else if (cap == LineStyle::Cap::Square) {
        Point side = normalFor(outward) * r, ahead = outward * r;
        Point square[4] = {at + side, at + side + ahead, at - side + ahead, at - side};
        out.addConvexPiece(square, 4);
    }
}

// A polygon along an arc of radius halfWidth around centre; with the centre
// as a corner it is a pie slice.
void Stroker::addArc(Point centre, double fromAngle, double sweep, bool withCentre, EdgeList& out) {
    double r = style_.halfWidth;
    double step = 2 * std::acos(std::max(-1.0, 1 - kArcTolerance / r));
    int steps = int(std::clamp(std::ceil(std::fabs(sweep) / std::max(step, 1e-3)), 1.0, 256.0));
    if (!withCentre) steps = std::max(steps, 8);
    piece_.clear();
    if (withCentre) piece_.push_back(centre);
    for (int i = 0; i <= steps; ++i) {
        double angle = fromAngle + sweep * i / steps;
        piece_.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
    }
    out.addConvexPiece(piece_.data(), piece_.size());
}

} // namespace tesmar::render
