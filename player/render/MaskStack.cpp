#include "player/render/MaskStack.h"
#include <algorithm>
#include <cstring>
#include "player/render/CoverageRuns.h"

namespace tesmar::render {

void MaskLayer::reset(int width, int height) {
    size_t size = size_t(width) * size_t(height);
    if (width != width_ || height != height_ || coverage_.size() != size) {
        coverage_.assign(size, 0);
        width_ = width;
        height_ = height;
    } else {
        for (int y = bounds_.y0; y < bounds_.y1; ++y)
            std::memset(row(y) + bounds_.x0, 0, size_t(bounds_.x1 - bounds_.x0));
    }
    bounds_ = PixelRect{};
}

void MaskLayer::addCoverage(int y, int x0, int x1, const uint8_t* coverage) {
    uint8_t* out = row(y) + x0;
    forEachRun(coverage, x1 - x0, [&](int begin, int end, RunKind kind) {
        if (kind == RunKind::Full) {
            std::memset(out + begin, 255, size_t(end - begin));
            return;
        }
        for (int i = begin; i < end; ++i) {
            uint32_t have = out[i], add = coverage[i];
            out[i] = uint8_t(have + add - multiplyCoverage(have, add));   // union of coverages
        }
    });
    if (bounds_.empty()) bounds_ = {x0, y, x1, y + 1};
    else bounds_ = {std::min(bounds_.x0, x0), std::min(bounds_.y0, y), std::max(bounds_.x1, x1),
                    std::max(bounds_.y1, y + 1)};
}

void MaskLayer::intersect(const MaskLayer& enclosing) {
    PixelRect keep = bounds_.intersect(enclosing.bounds_);
    for (int y = bounds_.y0; y < bounds_.y1; ++y) {
        uint8_t* out = row(y);
        if (keep.empty() || y < keep.y0 || y >= keep.y1) {
            std::memset(out + bounds_.x0, 0, size_t(bounds_.x1 - bounds_.x0));
            continue;
        }
        std::memset(out + bounds_.x0, 0, size_t(keep.x0 - bounds_.x0));
        std::memset(out + keep.x1, 0, size_t(bounds_.x1 - keep.x1));
        const uint8_t* other = enclosing.row(y) + keep.x0;
        uint8_t* kept = out + keep.x0;
        forEachRun(other, keep.x1 - keep.x0, [&](int begin, int end, RunKind kind) {
            if (kind == RunKind::Zero) std::memset(kept + begin, 0, size_t(end - begin));
            else if (kind == RunKind::Mixed)
                for (int i = begin; i < end; ++i) kept[i] = multiplyCoverage(kept[i], other[i]);
        });
    }
    bounds_ = keep.empty() ? PixelRect{} : keep;
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
