#pragma once
// Basic geometry shared by every part of the player. Coordinates are in
// twips (1/20 pixel) unless a name says otherwise.
#include <cstdint>
#include <algorithm>

namespace tesmar {

struct Point {
    double x = 0, y = 0;
};

// An axis-aligned rectangle; xMin > xMax marks an empty one.
struct Rect {
    double xMin = 0, yMin = 0, xMax = -1, yMax = -1;

    bool empty() const { return xMin > xMax || yMin > yMax; }
    double width() const { return empty() ? 0 : xMax - xMin; }
    double height() const { return empty() ? 0 : yMax - yMin; }
    void include(Point p) {
        if (empty()) { xMin = xMax = p.x; yMin = yMax = p.y; return; }
        xMin = std::min(xMin, p.x); xMax = std::max(xMax, p.x);
        yMin = std::min(yMin, p.y); yMax = std::max(yMax, p.y);
    }
    void include(const Rect& r) {
        if (r.empty()) return;
        include(Point{r.xMin, r.yMin});
        include(Point{r.xMax, r.yMax});
    }
    bool contains(Point p) const {
        return !empty() && p.x >= xMin && p.x <= xMax && p.y >= yMin && p.y <= yMax;
    }
};

// The SWF affine matrix: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
// (a, d) are the scales, (b, c) the rotate/skew terms of the file format.
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // Applies only the linear part (for vectors and sizes).
    Point applyVector(Point p) const { return {a * p.x + c * p.y, b * p.x + d * p.y}; }

    // (*this * m) maps through m first, then through *this.
    Matrix operator*(const Matrix& m) const {
        return {a * m.a + c * m.b, b * m.a + d * m.b,
                a * m.c + c * m.d, b * m.c + d * m.d,
                a * m.tx + c * m.ty + tx, b * m.tx + d * m.ty + ty};
    }
    double determinant() const { return a * d - b * c; }
    // The inverse, or the identity when the matrix is singular.
    Matrix inverse() const {
        double det = determinant();
        if (det == 0) return Matrix{};
        Matrix r{d / det, -b / det, -c / det, a / det, 0, 0};
        r.tx = -(r.a * tx + r.c * ty);
        r.ty = -(r.b * tx + r.d * ty);
        return r;
    }
    Rect transform(const Rect& r) const {
        Rect out;
        if (r.empty()) return out;
        out.include(apply({r.xMin, r.yMin}));
        out.include(apply({r.xMax, r.yMin}));
        out.include(apply({r.xMin, r.yMax}));
        out.include(apply({r.xMax, r.yMax}));
        return out;
    }
    bool operator==(const Matrix&) const = default;
};

} // namespace tesmar
