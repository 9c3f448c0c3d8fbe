// The stroke outline must cover exactly the union of its pieces: one
// rectangle per segment, one wedge per join, one cap per end. The pieces
// are built here independently and filled the way separate pieces would
// be, and the two coverages compared over random polylines.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include "player/render/Stroker.h"

namespace tesmar::render {
namespace {

constexpr int kSize = 64;

class Collect : public CoverageSink {
public:
    std::vector<int> cells = std::vector<int>(kSize * kSize, 0);
    void row(int y, int x0, int x1, const uint8_t* coverage, bool solid) override {
        for (int x = x0; x < x1; ++x) cells[size_t(y * kSize + x)] = solid ? 255 : coverage[x - x0];
    }
};

std::vector<int> coverageOf(const EdgeList& edges) {
    Collect sink;
    Rasterizer().fill(edges, {0, 0, kSize, kSize}, FillRule::NonZero, Coverage::Area, sink);
    return sink.cells;
}

Point along(Point p, Point d, double s) { return {p.x + d.x * s, p.y + d.y * s}; }

// The slice of a disc around c from direction `from` to direction `to`
// (unit vectors), the short way round, fine enough to stand for the arc.
void addSlice(EdgeList& out, Point c, double r, Point from, Point to) {
    double a0 = std::atan2(from.y, from.x);
    double sweep = std::remainder(std::atan2(to.y, to.x) - a0, 2 * std::numbers::pi);
    std::vector<Point> slice{c};
    for (int i = 0; i <= 256; ++i) {
        double a = a0 + sweep * i / 256;
        slice.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    out.addConvexPiece(slice.data(), slice.size());
}

// The union of pieces for butt caps and round or bevel joins.
EdgeList pieces(const std::vector<Point>& pts, double r, bool roundJoins) {
    EdgeList out;
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        Point d{pts[i + 1].x - pts[i].x, pts[i + 1].y - pts[i].y};
        double len = std::hypot(d.x, d.y);
        Point n{-d.y / len * r, d.x / len * r};
        Point quad[4] = {along(pts[i], n, 1), along(pts[i + 1], n, 1), along(pts[i + 1], n, -1), along(pts[i], n, -1)};
        out.addConvexPiece(quad, 4);
        if (i == 0) continue;
        Point e{pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y};
        double elen = std::hypot(e.x, e.y);
        // The outside of the turn is opposite the side it turns to.
        double outside = (e.x * d.y - e.y * d.x) > 0 ? -1 : 1;
        Point m{-e.y / elen * r * outside, e.x / elen * r * outside}, k{n.x * outside, n.y * outside};
        if (roundJoins) {
            addSlice(out, pts[i], r, {m.x / r, m.y / r}, {k.x / r, k.y / r});
            continue;
        }
        Point wedge[3] = {pts[i], along(pts[i], m, 1), along(pts[i], k, 1)};
        out.addConvexPiece(wedge, 3);
    }
    return out;
}

int largestDifference(const std::vector<int>& a, const std::vector<int>& b) {
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

TEST(StrokeOutline, CoversTheUnionOfItsPieces) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(8, 56), halfWidth(0.4, 6);
    for (int round = 0; round < 200; ++round) {
        std::vector<Point> pts;
        int count = 2 + int(random() % 6);
        for (int i = 0; i < count; ++i) pts.push_back({coordinate(random), coordinate(random)});
        double r = halfWidth(random);
        bool roundJoins = round % 2 == 0;
        StrokeStyle style{r, LineStyle::Cap::None, LineStyle::Cap::None,
                          roundJoins ? LineStyle::Join::Round : LineStyle::Join::Bevel, 3};
        EdgeList outline;
        Stroker().stroke(pts, false, style, outline);
        // Round joins are polygons within 0.1 pixel of the arc: up to a tenth of
        // a pixel's coverage apart from this much finer one.
        EXPECT_LE(largestDifference(coverageOf(outline), coverageOf(pieces(pts, r, roundJoins))), roundJoins ? 28 : 1)
            << "round " << round;
    }
}

TEST(StrokeOutline, TurningBackCoversTheTurn) {
    // A line that doubles back on itself gets a round end at the turn.
    StrokeStyle style{4, LineStyle::Cap::None, LineStyle::Cap::None, LineStyle::Join::Round, 3};
    EdgeList outline;
    Stroker().stroke({{10, 32}, {40, 32}, {20, 32}}, false, style, outline);
    std::vector<int> cells = coverageOf(outline);
    EXPECT_EQ(cells[32 * kSize + 42], 255);   // inside the half disc beyond the turn
    EXPECT_EQ(cells[32 * kSize + 45], 0);
    EXPECT_EQ(cells[32 * kSize + 12], 255);   // the first stretch, under the way back
}

TEST(StrokeOutline, ClosedOutlineLeavesItsInsideEmpty) {
    StrokeStyle style{2, LineStyle::Cap::Round, LineStyle::Cap::Round, LineStyle::Join::Miter, 3};
    EdgeList outline;
    Stroker().stroke({{10, 10}, {50, 10}, {50, 50}, {10, 50}, {10, 10}}, true, style, outline);
    std::vector<int> cells = coverageOf(outline);
    EXPECT_EQ(cells[30 * kSize + 30], 0);
    EXPECT_EQ(cells[10 * kSize + 30], 255);
    EXPECT_EQ(cells[8 * kSize + 8], 255);   // the mitred corner is filled
}

} // namespace
} // namespace tesmar::render
