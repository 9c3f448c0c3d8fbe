#include "player/render/CurveFlattening.h"
#include <algorithm>
#include <cmath>

namespace tesmar::render {
namespace {

// Close approximations of the integral of (1 + 4x²)^-1/4 and of its inverse.
double parabolaIntegral(double x) {
    constexpr double d = 0.67;
    return x / (1 - d + std::sqrt(std::sqrt(d * d * d * d + 0.25 * x * x)));
}

double parabolaIntegralInverse(double x) {
    constexpr double b = 0.39;
    return x * (1 - b + std::sqrt(b * b + 0.25 * x * x));
}

Point at(Point from, Point control, Point to, double t) {
    double s = 1 - t;
    return {s * s * from.x + 2 * s * t * control.x + t * t * to.x, s * s * from.y + 2 * s * t * control.y + t * t * to.y};
}

} // namespace

void flattenQuadratic(Point from, Point control, Point to, double tolerance, int maxChords, std::vector<Point>& out) {
    // Twice the curve's deviation from a straight line, and the chord.
    double ddx = 2 * control.x - from.x - to.x, ddy = 2 * control.y - from.y - to.y;
    double chordX = to.x - from.x, chordY = to.y - from.y;
    double cross = chordX * ddy - chordY * ddx;
    double chord = std::hypot(chordX, chordY);
    // With the control point beside the chord, not beyond its ends, the
    // curve strays at most a quarter of dd's part across the chord.
    double along = (control.x - from.x) * chordX + (control.y - from.y) * chordY;
    bool beside = along >= 0 && along <= chord * chord;
    bool straight = chord > 0 && beside && std::fabs(cross) / chord / 4 <= tolerance;
    if (chord == 0 && maxChords > 1) {
        // Out and back along one line: its far end is halfway.
        out.push_back(at(from, control, to, 0.5));
    } else if (!straight && maxChords > 1) {
        double x0 = ((control.x - from.x) * ddx + (control.y - from.y) * ddy) / cross;
        double x2 = ((to.x - control.x) * ddx + (to.y - control.y) * ddy) / cross;
        double scale = std::fabs(cross) / (std::hypot(ddx, ddy) * std::fabs(x2 - x0));
        double a0 = parabolaIntegral(x0), a2 = parabolaIntegral(x2);
        double count = std::ceil(0.5 * std::fabs(a2 - a0) * std::sqrt(scale / tolerance));
        if (std::isfinite(count) && count > 1) {
            int n = int(std::min(count, double(maxChords)));
            double u0 = parabolaIntegralInverse(a0), u2 = parabolaIntegralInverse(a2);
            for (int i = 1; i < n; ++i) {
                double u = parabolaIntegralInverse(a0 + (a2 - a0) * i / n);
                out.push_back(at(from, control, to, (u - u0) / (u2 - u0)));
            }
        }
    }
    out.push_back(to);
}

} // namespace tesmar::render
