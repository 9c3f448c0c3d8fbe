#pragma once
// Scanline coverage of a set of straight edges in pixel space under the
// non-zero or the even-odd rule, measured one of three ways (see Coverage).
#include <cstdint>
#include <vector>
#include "player/geom/Geometry.h"

namespace tesmar::render {

// A pixel rectangle [x0, x1) x [y0, y1).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
    PixelRect intersect(const PixelRect& o) const {
        return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    }
};

// Columns [x0, x1) of one row.
struct ColumnRange {
    int x0 = 0, x1 = 0;
    bool empty() const { return x0 >= x1; }
};

// One directed edge; the direction gives its winding (+1 downwards).
// dxdy, the change of x per unit of y, saves a division per row.
struct Edge {
    double x0, y0, x1, y1, dxdy;
};

// Collects the edges of one fill. Coordinates are clamped to a range far
// beyond any target so that hostile values stay finite in all arithmetic.
class EdgeList {
public:
    void clear() { edges_.clear(); bounds_ = Rect{}; }
    void addLine(Point from, Point to);
    // Adds a closed polygon, turned if needed so that it winds positively:
    // pieces added this way form their union under the non-zero rule.
    void addConvexPiece(const Point* points, size_t count);
    const std::vector<Edge>& edges() const { return edges_; }
    const Rect& bounds() const { return bounds_; }
    bool empty() const { return edges_.empty(); }

private:
    std::vector<Edge> edges_;
    Rect bounds_;
};

// Receives coverage as spans of a row, left to right, never overlapping
// and never with zero coverage: coverage[i] (1-255) is the pixel at x0 + i.
// solid says that all of the span is 255, which most of a large shape is;
// the coverage bytes of a solid span are then not written and not to be read.
class CoverageSink {
public:
    virtual ~CoverageSink() = default;
    virtual void row(int y, int x0, int x1, const uint8_t* coverage, bool solid) = 0;
};

enum class FillRule : uint8_t { NonZero, EvenOdd };

// How much of a pixel a shape covers.
enum class Coverage : uint8_t {
    Centre,    // all or nothing, by the pixel's centre (no anti-aliasing)
    Samples4,  // the share of four samples on a 2x2 grid inside, as the reference player draws
    Area,      // the exact area inside (signed-area accumulation per row)
};

class Rasterizer {
public:
    // Calls sink for every row of clip that the edges touch, left to right
    // over the columns that have coverage. rowLimits, when given, narrows
    // each row y of the clip further to rowLimits[y].
    void fill(const EdgeList& edges, const PixelRect& clip, FillRule rule, Coverage coverage, CoverageSink& sink,
              const ColumnRange* rowLimits = nullptr);

private:
    void addAreaInRow(double xa, double ya, double xb, double yb, int winding);
    void addCell(double xa, double xb, double height);
    void addSample(double x, int winding);
    void addSubSample(double x, int winding);
    // Turns the half-columns of one sample row into coverage changes of the
    // pixel row: a quarter for every sample inside.
    void resolveSampleRow();
    void addSampleRun(int from, int to);
    void addQuarters(int column, int count, float amount);
    bool inside(float winding) const;
    void touch(int cell) {
        if (isTouched_[size_t(cell)]) return;
        isTouched_[size_t(cell)] = 1;
        touched_.push_back(cell);
    }
    // Turns the row's accumulated cells into coverage and hands it on; only
    // the touched cells cost work, the runs between them are filled whole.
    void emitRow(int y, CoverageSink& sink);
    void putRun(int y, int from, int to, uint8_t value, CoverageSink& sink);
    uint8_t coverageOf(float winding) const;

    std::vector<const Edge*> sorted_, active_;
    std::vector<float> cells_;        // per column: change of winding from the column before
    std::vector<uint8_t> isTouched_;  // per column: listed in touched_ this row
    std::vector<int> touched_;
    std::vector<int> samples_;        // per half-column of a sample row: change of winding
    std::vector<int> samplesTouched_;
    std::vector<uint8_t> coverage_;
    PixelRect clip_;
    FillRule rule_ = FillRule::NonZero;
    Coverage mode_ = Coverage::Area;
    int limitFrom_ = 0, limitTo_ = 0;  // this row's columns that may be emitted
    int spanStart_ = -1, spanEnd_ = 0; // the span being built, if spanStart_ >= 0
    bool spanSolid_ = true;           // the span has only full coverage so far
};

} // namespace tesmar::render
