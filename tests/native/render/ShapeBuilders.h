#pragma once
// Small shapes for the renderer's tests, in pixels (the builders convert to
// twips, and kTwipsToPixels maps them back).
#include <vector>
#include "player/geom/Shape.h"

namespace tesmar::render::testing {

inline const Matrix kTwipsToPixels{1.0 / 20, 0, 0, 1.0 / 20, 0, 0};

inline FillStyle solidFill(Rgba color) {
    FillStyle f;
    f.color = color;
    return f;
}

// A closed polygon path (pixel coordinates) with fill1 = fill, fill0 = other.
inline ShapePath polygonPath(const std::vector<Point>& pixels, uint32_t fill1, uint32_t fill0 = 0, uint32_t line = 0) {
    ShapePath path;
    path.fill1 = fill1;
    path.fill0 = fill0;
    path.line = line;
    path.start = {pixels[0].x * 20, pixels[0].y * 20};
    for (size_t i = 1; i <= pixels.size(); ++i) {
        const Point& p = pixels[i % pixels.size()];
        path.segments.push_back({false, {}, {p.x * 20, p.y * 20}});
    }
    return path;
}

inline ShapePath rectPath(double x0, double y0, double x1, double y1, uint32_t fill1, uint32_t fill0 = 0) {
    return polygonPath({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, fill1, fill0);
}

// One filled rectangle.
inline Shape rectShape(double x0, double y0, double x1, double y1, const FillStyle& fill) {
    Shape s;
    s.groups.push_back({{fill}, {}});
    s.paths.push_back(rectPath(x0, y0, x1, y1, 1));
    return s;
}

inline Shape rectShape(double x0, double y0, double x1, double y1, Rgba color) {
    return rectShape(x0, y0, x1, y1, solidFill(color));
}

inline uint32_t alphaOf(uint32_t pixel) { return pixel >> 24; }
inline uint32_t redOf(uint32_t pixel) { return pixel >> 16 & 0xFF; }
inline uint32_t greenOf(uint32_t pixel) { return pixel >> 8 & 0xFF; }
inline uint32_t blueOf(uint32_t pixel) { return pixel & 0xFF; }

} // namespace tesmar::render::testing
