#include "player/render/Rasterizer.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace tesmar::render {
namespace {

// Far beyond any target, near enough that products of coordinates stay finite.
constexpr double kFar = 1e7;

// Edge ends lie on a grid of 1/256 pixel, as in hardware rasterizers:
// whether a pixel centre falls on one side of an edge or the other then
// never hangs on rounding noise, and aliased images match theirs exactly.
constexpr double kGrid = 256;

double gridCoordinate(double v) { return std::round(std::clamp(v, -kFar, kFar) * kGrid) / kGrid; }

double xAtY(const Edge& e, double y) {
    return e.x0 + (y - e.y0) * e.dxdy;
}

} // namespace

void EdgeList::addLine(Point from, Point to) {
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) || !std::isfinite(to.y)) return;
    Edge e{gridCoordinate(from.x), gridCoordinate(from.y), gridCoordinate(to.x), gridCoordinate(to.y), 0};
    if (e.y0 == e.y1) return;   // horizontal edges change no winding
    e.dxdy = (e.x1 - e.x0) / (e.y1 - e.y0);
    edges_.push_back(e);
    bounds_.include(Point{e.x0, e.y0});
    bounds_.include(Point{e.x1, e.y1});
}

void EdgeList::addConvexPiece(const Point* points, size_t count) {
    if (count < 3) return;
    double twiceArea = 0;
    for (size_t i = 0; i < count; ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % count];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    for (size_t i = 0; i < count; ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % count];
        if (twiceArea >= 0) addLine(a, b); else addLine(b, a);
    }
}

void Rasterizer::fill(const EdgeList& edges, const PixelRect& clip, FillRule rule, Coverage coverage,
                      CoverageSink& sink, const ColumnRange* rowLimits) {
    if (edges.empty()) return;
    rule_ = rule;
    mode_ = coverage;
    const Rect& b = edges.bounds();
    PixelRect shapeRect{int(std::floor(b.xMin)), int(std::floor(b.yMin)),
                        int(std::ceil(b.xMax)) + 1, int(std::ceil(b.yMax))};
    clip_ = clip.intersect(shapeRect);
    if (clip_.empty()) return;
    size_t width = size_t(clip_.x1 - clip_.x0);
    cells_.assign(width + 2, 0.0f);
    isTouched_.assign(width + 2, 0);
    coverage_.resize(width);
    if (mode_ == Coverage::Samples4) samples_.assign(2 * width + 1, 0);

    sorted_.clear();
    for (const Edge& e : edges.edges()) sorted_.push_back(&e);
    std::sort(sorted_.begin(), sorted_.end(), [](const Edge* l, const Edge* r) {
        return std::min(l->y0, l->y1) < std::min(r->y0, r->y1);
    });
    active_.clear();
    size_t next = 0;
    for (int y = clip_.y0; y < clip_.y1; ++y) {
        double top = y, bottom = y + 1.0;
        while (next < sorted_.size() && std::min(sorted_[next]->y0, sorted_[next]->y1) < bottom)
            active_.push_back(sorted_[next++]);
        active_.erase(std::remove_if(active_.begin(), active_.end(),
                                     [top](const Edge* e) { return std::max(e->y0, e->y1) <= top; }),
                      active_.end());
        // Calls add(x, winding) for every edge that crosses the line at height h.
        auto crossings = [this](double h, auto add) {
            for (const Edge* e : active_)
                if (std::min(e->y0, e->y1) <= h && h < std::max(e->y0, e->y1)) add(xAtY(*e, h), e->y1 > e->y0 ? 1 : -1);
        };
        switch (mode_) {
        case Coverage::Area:
            for (const Edge* e : active_) {
                double ya = std::max(std::min(e->y0, e->y1), top), yb = std::min(std::max(e->y0, e->y1), bottom);
                if (yb > ya) addAreaInRow(xAtY(*e, ya), ya, xAtY(*e, yb), yb, e->y1 > e->y0 ? 1 : -1);
            }
            break;
        case Coverage::Centre:
            crossings(y + 0.5, [this](double x, int w) { addSample(x, w); });
            break;
        case Coverage::Samples4:
            for (double h : {y + 0.25, y + 0.75}) {
                crossings(h, [this](double x, int w) { addSubSample(x, w); });
                resolveSampleRow();
            }
            break;
        }
        limitFrom_ = 0;
        limitTo_ = int(width);
        if (rowLimits) {
            limitFrom_ = std::max(limitFrom_, rowLimits[y].x0 - clip_.x0);
            limitTo_ = std::min(limitTo_, rowLimits[y].x1 - clip_.x0);
        }
        emitRow(y, sink);
    }
}

// Adds the area right of the part of an edge that lies in one row, as
// per-column winding changes; parts left or right of the clip count as if
// they ran down its border, which keeps the winding of the columns inside.
void Rasterizer::addAreaInRow(double xa, double ya, double xb, double yb, int winding) {
    double height = (yb - ya) * winding;
    double lo = std::min(xa, xb), hi = std::max(xa, xb);
    double left = clip_.x0, right = clip_.x1;
    if (hi - lo < 1e-12) {
        double x = std::clamp(lo, left, right);
        addCell(x, x, height);
        return;
    }
    double perUnit = height / (hi - lo);
    if (lo < left) addCell(left, left, perUnit * (std::min(hi, left) - lo));
    if (hi > right) addCell(right, right, perUnit * (hi - std::max(lo, right)));
    double innerLo = std::max(lo, left), innerHi = std::min(hi, right);
    if (innerHi > innerLo) addCell(innerLo, innerHi, perUnit * (innerHi - innerLo));
}

// Spreads height over the columns that [xa, xb] crosses: a column gets the
// part of each sub-segment's height times the fraction of it right of the
// sub-segment, the next column the rest.
void Rasterizer::addCell(double xa, double xb, double height) {
    auto add = [this](int column, double xMid, double h) {
        int i = column - clip_.x0;
        float rightPart = float(h * (column + 1 - xMid));
        cells_[size_t(i)] += rightPart;
        cells_[size_t(i) + 1] += float(h) - rightPart;
        touch(i);
        touch(i + 1);
    };
    int first = int(std::floor(xa));
    int last = std::max(first, int(std::ceil(xb)) - 1);
    if (first == last) {
        add(first, (xa + xb) * 0.5, height);
        return;
    }
    double perUnit = height / (xb - xa);
    add(first, (xa + first + 1) * 0.5, perUnit * (first + 1 - xa));
    for (int c = first + 1; c < last; ++c) add(c, c + 0.5, perUnit);
    add(last, (last + xb) * 0.5, perUnit * (xb - last));
}

// Without anti-aliasing: the columns whose centres lie on or right of x
// change winding (a centre on an edge belongs to the pixel right of it, as
// one on a row boundary belongs to the row below).
void Rasterizer::addSample(double x, int winding) {
    double firstInside = std::ceil(x - 0.5);
    int i = int(std::clamp(firstInside, double(clip_.x0), double(clip_.x1))) - clip_.x0;
    cells_[size_t(i)] += float(winding);
    touch(i);
}

// The same for one row of the 2x2 grid, in half-columns whose samples lie
// at a quarter and three quarters of each pixel.
void Rasterizer::addSubSample(double x, int winding) {
    double firstInside = std::ceil(2 * x - 0.5);
    int i = int(std::clamp(firstInside, 2.0 * clip_.x0, 2.0 * clip_.x1)) - 2 * clip_.x0;
    samples_[size_t(i)] += winding;
    samplesTouched_.push_back(i);
}

void Rasterizer::resolveSampleRow() {
    std::sort(samplesTouched_.begin(), samplesTouched_.end());
    int winding = 0, runStart = -1;
    for (int i : samplesTouched_) {
        winding += samples_[size_t(i)];
        samples_[size_t(i)] = 0;   // a repeated index adds nothing more
        bool in = inside(float(winding));
        if (in && runStart < 0) {
            runStart = i;
        } else if (!in && runStart >= 0) {
            addSampleRun(runStart, i);
            runStart = -1;
        }
    }
    if (runStart >= 0) addSampleRun(runStart, 2 * (clip_.x1 - clip_.x0));
    samplesTouched_.clear();
}

// Half-columns [from, to) are inside: a quarter for each, whole pixels at once.
void Rasterizer::addSampleRun(int from, int to) {
    if (from & 1) {
        addQuarters(from / 2, 1, 0.25f);
        ++from;
    }
    if (to > from && (to & 1)) {
        --to;
        addQuarters(to / 2, 1, 0.25f);
    }
    if (to > from) addQuarters(from / 2, (to - from) / 2, 0.5f);
}

// Raises the coverage of columns [column, column + count) by amount.
void Rasterizer::addQuarters(int column, int count, float amount) {
    if (count <= 0) return;
    cells_[size_t(column)] += amount;
    cells_[size_t(column + count)] -= amount;
    touch(column);
    touch(column + count);
}

bool Rasterizer::inside(float winding) const {
    return rule_ == FillRule::EvenOdd ? (int(winding) & 1) != 0 : winding != 0;
}

// Accumulated winding to coverage. Under even-odd a partly covered pixel's
// winding folds back from 1 towards 0 as a second layer covers it.
inline uint8_t Rasterizer::coverageOf(float winding) const {
    if (mode_ == Coverage::Samples4) return uint8_t(std::clamp(winding, 0.0f, 1.0f) * 255.0f + 0.5f);
    float amount = std::fabs(winding);
    if (rule_ == FillRule::EvenOdd) {
        amount -= 2.0f * float(int64_t(amount * 0.5f));   // amount >= 0: truncating is flooring
        if (amount > 1.0f) amount = 2.0f - amount;
    } else {
        amount = std::min(1.0f, amount);
    }
    if (mode_ == Coverage::Area) return uint8_t(amount * 255.0f + 0.5f);
    return amount >= 0.5f ? 255 : 0;
}

void Rasterizer::emitRow(int y, CoverageSink& sink) {
    if (touched_.empty()) return;
    std::sort(touched_.begin(), touched_.end());
    int width = clip_.x1 - clip_.x0;
    float winding = 0;
    uint8_t current = 0;   // coverage between touched cells
    int x = touched_.front();
    spanStart_ = -1;
    for (int cell : touched_) {
        if (cell >= width) break;
        putRun(y, x, cell, current, sink);
        winding += cells_[size_t(cell)];
        current = coverageOf(winding);
        putRun(y, cell, cell + 1, current, sink);
        x = cell + 1;
    }
    // Right of the last touched column the winding no longer changes.
    putRun(y, x, width, current, sink);
    putRun(y, width, width + 1, 0, sink);   // closes the last span
    for (int cell : touched_) {
        cells_[size_t(cell)] = 0;
        isTouched_[size_t(cell)] = 0;
    }
    touched_.clear();
}

// Sets columns [from, to) to value; a run of zero ends the span being built
// and hands it to the sink. A long full run goes out as a span of its own,
// so that the sink can fill it whole.
void Rasterizer::putRun(int y, int from, int to, uint8_t value, CoverageSink& sink) {
    constexpr int kLongRun = 8;
    from = std::max(from, limitFrom_);
    to = std::min(to, limitTo_);
    if (from >= to) value = 0;   // outside the row's limits: a gap
    bool alone = value == 255 && to - from >= kLongRun;
    if (value == 0 || alone) {
        if (spanStart_ >= 0)
            sink.row(y, clip_.x0 + spanStart_, clip_.x0 + spanEnd_, coverage_.data() + spanStart_, spanSolid_);
        spanStart_ = -1;
        if (alone) sink.row(y, clip_.x0 + from, clip_.x0 + to, coverage_.data() + from, true);
        return;
    }
    std::memset(coverage_.data() + from, value, size_t(to - from));
    if (spanStart_ < 0) {
        spanStart_ = from;
        spanSolid_ = true;
    }
    spanEnd_ = to;
    spanSolid_ = spanSolid_ && value == 255;
}

} // namespace tesmar::render
