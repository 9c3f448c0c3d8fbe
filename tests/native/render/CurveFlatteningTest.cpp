#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>
#include "player/render/CurveFlattening.h"

namespace tesmar::render {
namespace {

double distanceToSegment(Point p, Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// How far the curve strays from the polyline, sampled finely.
double largestStray(Point from, Point control, Point to, const std::vector<Point>& polyline) {
    double worst = 0;
    for (int i = 0; i <= 1000; ++i) {
        double t = i / 1000.0, s = 1 - t;
        Point p{s * s * from.x + 2 * s * t * control.x + t * t * to.x, s * s * from.y + 2 * s * t * control.y + t * t * to.y};
        double best = std::numeric_limits<double>::max();
        Point a = from;
        for (const Point& b : polyline) {
            best = std::min(best, distanceToSegment(p, a, b));
            a = b;
        }
        worst = std::max(worst, best);
    }
    return worst;
}

TEST(CurveFlattening, ChordsStayNearTheCurveWithFewPoints) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(-300, 300), share(-0.5, 0.5);
    for (int round = 0; round < 300; ++round) {
        Point from{coordinate(random), coordinate(random)}, to{coordinate(random), coordinate(random)};
        // A control point beside the chord: the curves of drawn outlines. Far
        // off to one side, a curve turns back on itself in a sharp point that
        // chords cut off by more.
        bool smooth = round % 3 != 0;
        Point across{from.y - to.y, to.x - from.x};
        double side = smooth ? share(random) : 4 * share(random), ahead = 0.5 + share(random) * (smooth ? 0.6 : 4);
        Point control{from.x + (to.x - from.x) * ahead + across.x * side, from.y + (to.y - from.y) * ahead + across.y * side};
        std::vector<Point> out;
        flattenQuadratic(from, control, to, 0.1, 256, out);
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.back().x, to.x);
        EXPECT_LE(largestStray(from, control, to, out), smooth ? 0.11 : 1.0) << round;
        // Uniform steps in t would need about sqrt(|dd| / (4 tolerance)) chords: never more than that.
        double bend = std::hypot(from.x - 2 * control.x + to.x, from.y - 2 * control.y + to.y);
        EXPECT_LE(double(out.size()), std::ceil(std::sqrt(bend / 0.4)) + 1) << round;
    }
}

TEST(CurveFlattening, NearlyStraightCurveIsItsChord) {
    std::vector<Point> out;
    flattenQuadratic({0, 0}, {50, 0.15}, {100, 0}, 0.1, 256, out);   // strays 0.075 from the chord
    ASSERT_EQ(out.size(), 1u);
}

TEST(CurveFlattening, DegenerateAndHostileCurvesStayBounded) {
    std::vector<Point> out;
    flattenQuadratic({10, 10}, {30, 10}, {10, 10}, 0.1, 256, out);   // out and back
    ASSERT_EQ(out.size(), 2u);
    EXPECT_DOUBLE_EQ(out[0].x, 20);

    out.clear();
    flattenQuadratic({0, 0}, {1e9, -1e9}, {1, 0}, 0.1, 256, out);
    EXPECT_LE(out.size(), 256u);

    out.clear();
    double nan = std::numeric_limits<double>::quiet_NaN();
    flattenQuadratic({0, 0}, {nan, 0}, {1, 0}, 0.1, 256, out);
    EXPECT_EQ(out.size(), 1u);
}

} // namespace
} // namespace tesmar::render
