// Masks as coverage runs: unions and intersections of overlapping runs give
// the same coverage as a plain per-pixel mask would, rows stay sorted and
// without overlaps, and the byte pool stays bounded however much is added.
#include <gtest/gtest.h>
#include <random>
#include "player/render/MaskStack.h"

namespace tesmar::render {
namespace {

constexpr int kWidth = 64, kHeight = 4;

// The coverage of every column of row y, zero where no run is.
std::vector<uint32_t> denseRow(const MaskLayer& layer, int y) {
    std::vector<uint32_t> out(kWidth, 0);
    int lastEnd = -1;
    for (const MaskRun& run : layer.runs(y)) {
        EXPECT_LT(run.x0, run.x1);
        EXPECT_GE(run.x0, lastEnd) << "runs overlap or are out of order";
        lastEnd = run.x1;
        for (int x = run.x0; x < run.x1; ++x) out[size_t(x)] = run.solid() ? 255 : layer.coverageOf(run)[x - run.x0];
    }
    return out;
}

// Adds the same random spans to a layer and to a plain per-pixel model.
struct Model {
    MaskLayer layer;
    std::vector<std::vector<uint32_t>> pixels = std::vector<std::vector<uint32_t>>(kHeight, std::vector<uint32_t>(kWidth, 0));

    Model() { layer.reset(kHeight); }
    void add(int y, int x0, int x1, const std::vector<uint8_t>& coverage, bool solid) {
        layer.addCoverage(y, x0, x1, coverage.data(), solid);
        for (int x = x0; x < x1; ++x) {
            uint32_t have = pixels[size_t(y)][size_t(x)], add = solid ? 255 : coverage[size_t(x - x0)];
            pixels[size_t(y)][size_t(x)] = have + add - multiplyCoverage(have, add);
        }
    }
    void addRandom(std::mt19937& random, int spans) {
        for (int i = 0; i < spans; ++i) {
            int y = int(random() % kHeight);
            int x0 = int(random() % kWidth);
            int x1 = x0 + 1 + int(random() % uint32_t(kWidth - x0));
            bool solid = random() % 3 == 0;
            std::vector<uint8_t> coverage(size_t(x1 - x0));
            for (uint8_t& c : coverage) c = uint8_t(1 + random() % 255);
            add(y, x0, x1, coverage, solid);
        }
    }
};

TEST(MaskLayer, UnionOfOverlappingRunsMatchesPerPixelCoverage) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        Model m;
        m.addRandom(random, 12);
        for (int y = 0; y < kHeight; ++y) ASSERT_EQ(denseRow(m.layer, y), m.pixels[size_t(y)]) << round << " row " << y;
    }
}

TEST(MaskLayer, IntersectionMatchesPerPixelProduct) {
    std::mt19937 random(11);
    for (int round = 0; round < 50; ++round) {
        Model outer, inner;
        outer.addRandom(random, 6);
        inner.addRandom(random, 6);
        inner.layer.intersect(outer.layer);
        for (int y = 0; y < kHeight; ++y) {
            std::vector<uint32_t> expected(kWidth);
            for (int x = 0; x < kWidth; ++x)
                expected[size_t(x)] = multiplyCoverage(inner.pixels[size_t(y)][size_t(x)], outer.pixels[size_t(y)][size_t(x)]);
            std::vector<uint32_t> got = denseRow(inner.layer, y);
            // Pieces that end up at zero may stay as runs; they hide all the same.
            ASSERT_EQ(got, expected) << round << " row " << y;
        }
    }
}

TEST(MaskLayer, SolidRunsSideBySideBecomeOne) {
    MaskLayer layer;
    layer.reset(1);
    std::vector<uint8_t> none;
    layer.addCoverage(0, 0, 10, none.data(), true);
    layer.addCoverage(0, 10, 20, none.data(), true);
    layer.addCoverage(0, 5, 15, none.data(), true);
    ASSERT_EQ(layer.runs(0).size(), 1u);
    EXPECT_EQ(layer.runs(0)[0].x1, 20);
    EXPECT_EQ(layer.rowRange(0).x0, 0);
    EXPECT_EQ(layer.rowRange(0).x1, 20);
}

TEST(MaskLayer, BoundsFollowRowsAndShrinkOnIntersection) {
    MaskLayer outer, inner;
    outer.reset(10);
    inner.reset(10);
    std::vector<uint8_t> none;
    for (int y = 2; y < 5; ++y) outer.addCoverage(y, 0, 8, none.data(), true);
    for (int y = 4; y < 9; ++y) inner.addCoverage(y, 3, 12, none.data(), true);
    EXPECT_EQ(inner.bounds().y0, 4);
    EXPECT_EQ(inner.bounds().y1, 9);
    inner.intersect(outer);
    EXPECT_EQ(inner.bounds().y0, 4);
    EXPECT_EQ(inner.bounds().y1, 5);
    EXPECT_EQ(inner.bounds().x0, 3);
    EXPECT_EQ(inner.bounds().x1, 8);
    EXPECT_TRUE(inner.runs(6).empty());
}

TEST(MaskLayer, ResetEmptiesEveryRowItUsed) {
    MaskLayer layer;
    layer.reset(3);
    std::vector<uint8_t> half(4, 128);
    layer.addCoverage(1, 0, 4, half.data(), false);
    layer.reset(3);
    EXPECT_TRUE(layer.runs(1).empty());
    EXPECT_TRUE(layer.bounds().empty());
    EXPECT_TRUE(layer.rowRange(1).empty());
}

TEST(MaskLayer, PoolStaysBoundedUnderEndlessOverlappingCoverage) {
    MaskLayer layer;
    layer.reset(1);
    std::vector<uint8_t> faint(2000, 64);
    for (int i = 0; i < 3000; ++i) layer.addCoverage(0, 0, 2000, faint.data(), false);
    // 3000 partial layers of a quarter each: the union is full.
    EXPECT_GT(layer.coverageOf(layer.runs(0)[0])[1000], 250);
    EXPECT_LT(layer.poolBytes(), size_t(4) << 20);
}

} // namespace
} // namespace tesmar::render
