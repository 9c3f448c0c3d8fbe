#include "player/render/MaskStack.h"
#include <algorithm>
#include <cstring>
#include "player/render/CoverageRuns.h"

namespace tesmar::render {

void MaskLayer::reset(int width, int height) {
    size_t size = size_t(width) * size_t(height);
    if (width != width_ || height != height_ || coverage_.size() != size) {
        coverage_.assign(size, 0);
        rowRanges_.assign(size_t(height), ColumnRange{});
        width_ = width;
        height_ = height;
    } else {
        for (int y = bounds_.y0; y < bounds_.y1; ++y) {
            ColumnRange& r = rowRanges_[size_t(y)];
            if (!r.empty()) std::memset(row(y) + r.x0, 0, size_t(r.x1 - r.x0));
            r = ColumnRange{};
        }
    }
    bounds_ = PixelRect{};
}

void MaskLayer::addCoverage(int y, int x0, int x1, const uint8_t* coverage, bool solid) {
    uint8_t* out = row(y) + x0;
    if (solid) {
        std::memset(out, 255, size_t(x1 - x0));
    } else {
        for (int i = 0; i < x1 - x0; ++i) {
            uint32_t have = out[i], add = coverage[i];
            out[i] = uint8_t(have + add - multiplyCoverage(have, add));   // union of coverages
        }
    }
    ColumnRange& r = rowRanges_[size_t(y)];
    r = r.empty() ? ColumnRange{x0, x1} : ColumnRange{std::min(r.x0, x0), std::max(r.x1, x1)};
    if (bounds_.empty()) bounds_ = {x0, y, x1, y + 1};
    else bounds_ = {std::min(bounds_.x0, x0), std::min(bounds_.y0, y), std::max(bounds_.x1, x1),
                    std::max(bounds_.y1, y + 1)};
}

void MaskLayer::intersect(const MaskLayer& enclosing) {
    PixelRect kept{};
    for (int y = bounds_.y0; y < bounds_.y1; ++y) {
        ColumnRange& r = rowRanges_[size_t(y)];
        if (r.empty()) continue;
        bool enclosingHasRow = y >= enclosing.bounds_.y0 && y < enclosing.bounds_.y1;
        ColumnRange other = enclosingHasRow ? enclosing.rowRange(y) : ColumnRange{};
        ColumnRange both{std::max(r.x0, other.x0), std::min(r.x1, other.x1)};
        uint8_t* out = row(y);
        if (both.empty()) {
            std::memset(out + r.x0, 0, size_t(r.x1 - r.x0));
            r = ColumnRange{};
            continue;
        }
        std::memset(out + r.x0, 0, size_t(both.x0 - r.x0));
        std::memset(out + both.x1, 0, size_t(r.x1 - both.x1));
        r = both;
        const uint8_t* theirs = enclosing.row(y) + both.x0;
        uint8_t* mine = out + both.x0;
        forEachRun(theirs, both.x1 - both.x0, [&](int begin, int end, RunKind kind) {
            if (kind == RunKind::Zero) std::memset(mine + begin, 0, size_t(end - begin));
            else if (kind == RunKind::Mixed)
                for (int i = begin; i < end; ++i) mine[i] = multiplyCoverage(mine[i], theirs[i]);
        });
        kept = kept.empty() ? PixelRect{both.x0, y, both.x1, y + 1}
                            : PixelRect{std::min(kept.x0, both.x0), kept.y0, std::max(kept.x1, both.x1), y + 1};
    }
    bounds_ = kept;
}

void MaskStack::clear() {
    depth_ = 0;
    topDefining_ = false;
    overflow_.clear();
}

void MaskStack::begin(int width, int height) {
    if (!overflow_.empty() || depth_ == kMaxDepth || topDefining_) {
        overflow_.push_back(true);
        return;
    }
    if (layers_.size() == depth_) layers_.emplace_back();
    layers_[depth_++].reset(std::max(width, 0), std::max(height, 0));
    topDefining_ = true;
}

void MaskStack::endDefinition() {
    if (!overflow_.empty()) {
        overflow_.back() = false;
        return;
    }
    if (!topDefining_) return;
    topDefining_ = false;
    if (depth_ >= 2) layers_[depth_ - 1].intersect(layers_[depth_ - 2]);
}

void MaskStack::pop() {
    if (!overflow_.empty()) {
        overflow_.pop_back();
        return;
    }
    if (depth_ == 0) return;
    --depth_;
    topDefining_ = false;
}

MaskLayer* MaskStack::defining() {
    return overflow_.empty() && topDefining_ ? &layers_[depth_ - 1] : nullptr;
}

const MaskLayer* MaskStack::enclosing() const {
    return depth_ >= 2 ? &layers_[depth_ - 2] : nullptr;
}

const MaskLayer* MaskStack::active() const {
    if (depth_ == 0) return nullptr;
    if (topDefining_) return depth_ >= 2 ? &layers_[depth_ - 2] : nullptr;
    return &layers_[depth_ - 1];
}

bool MaskStack::suppressed() const {
    return !overflow_.empty() && overflow_.back();
}

} // namespace tesmar::render
