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
// The left of a direction (with y growing downwards, the side a clockwise
// quarter turn would face).
Point leftOf(Point direction) { return {-direction.y, direction.x}; }

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
    outline_.clear();
    double r = style_.halfWidth;

    if (points_.size() == 1) {
        // A dot: what the two caps would draw around a point.
        Point at = points_[0], side = leftOf({1, 0}) * r;
        outline_.push_back(at + side);
        addCap(at, {1, 0}, style_.endCap);
        outline_.push_back(at - side);
        addCap(at, {-1, 0}, style_.startCap);
        emit(out);
        return;
    }
    size_t n = points_.size();
    if (n == 2) closed = false;   // there and back along one line needs caps, not joins
    if (closed) {
        addSide(false, true);
        emit(out);
        addSide(true, true);
        emit(out);
        return;
    }
    addSide(false, false);
    addCap(points_[n - 1], unit(points_[n - 2], points_[n - 1]), style_.endCap);
    addSide(true, false);
    addCap(points_[0], unit(points_[1], points_[0]), style_.startCap);
    emit(out);
}

void Stroker::addSide(bool reversed, bool closed) {
    size_t n = points_.size();
    auto at = [&](size_t i) { return points_[reversed ? n - 1 - i % n : i % n]; };
    double r = style_.halfWidth;
    Point first = unit(at(0), at(1));
    if (!closed) outline_.push_back(at(0) + leftOf(first) * r);
    size_t corners = closed ? n : n - 1;
    for (size_t i = 1; i <= corners; ++i) {
        Point dirIn = unit(at(i - 1), at(i));
        if (!closed && i == n - 1) {
            outline_.push_back(at(i) + leftOf(dirIn) * r);
            break;
        }
        addJoin(at(i), dirIn, unit(at(i), at(i + 1)));
    }
}

void Stroker::addJoin(Point at, Point dirIn, Point dirOut) {
    double r = style_.halfWidth;
    Point sideIn = leftOf(dirIn), sideOut = leftOf(dirOut);
    Point a = at + sideIn * r, b = at + sideOut * r;
    outline_.push_back(a);
    double turn = cross(dirIn, dirOut);
    if (std::fabs(turn) < 1e-12 && dot(dirIn, dirOut) > 0) return;   // straight on: b is a
    if (turn > 0) {
        // The left is the inside of the turn.
        outline_.push_back(at);
        outline_.push_back(b);
        return;
    }
    // The left is the outside: the join fills the gap between a and b.
    if (style_.join == LineStyle::Join::Round) {
        addArc(at, std::atan2(sideIn.y, sideIn.x), std::atan2(std::fabs(turn), dot(sideIn, sideOut)));
    } else if (style_.join == LineStyle::Join::Miter) {
        // The outer edges meet at the tip, unless that lies further than the
        // limit allows, where the miter is cut square to its bisector.
        Point bisector = sideIn + sideOut;
        double bisectorLength = length(bisector);
        if (bisectorLength >= 1e-12) {
            bisector = bisector * (1 / bisectorLength);
            double cosHalf = dot(bisector, sideIn);
            double cutDistance = std::max(1.0, style_.miterLimit) * 2 * r;
            double alongIn = dot(dirIn, bisector), alongOut = dot(dirOut, bisector);
            if (cosHalf > 1e-9 && r / cosHalf <= cutDistance) {
                outline_.push_back(at + bisector * (r / cosHalf));
            } else if (alongIn >= 1e-12 && -alongOut >= 1e-12) {
                outline_.push_back(a + dirIn * ((cutDistance - dot(a - at, bisector)) / alongIn));
                outline_.push_back(b - dirOut * ((cutDistance - dot(b - at, bisector)) / -alongOut));
            }
        }
    }
    outline_.push_back(b);
}

void Stroker::addCap(Point at, Point dir, LineStyle::Cap cap) {
    double r = style_.halfWidth;
    Point side = leftOf(dir) * r;
    if (cap == LineStyle::Cap::Round) {
        addArc(at, std::atan2(side.y, side.x), std::numbers::pi);
    } else if (cap == LineStyle::Cap::Square) {
        outline_.push_back(at + side + dir * r);
        outline_.push_back(at - side + dir * r);
    }
}

void Stroker::addArc(Point centre, double from, double sweep) {
    double r = style_.halfWidth;
    double step = 2 * std::acos(std::max(-1.0, 1 - kArcTolerance / r));
    int steps = int(std::clamp(std::ceil(sweep / std::max(step, 1e-3)), 1.0, 256.0));
    for (int i = 1; i < steps; ++i) {
        double angle = from - sweep * i / steps;
        outline_.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
    }
}

void Stroker::emit(EdgeList& out) {
    for (size_t i = 0; i < outline_.size(); ++i) out.addLine(outline_[i], outline_[(i + 1) % outline_.size()]);
    outline_.clear();
}

} // namespace tesmar::render
