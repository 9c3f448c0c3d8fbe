#pragma once
// Clip masks as 8-bit coverage the size of the target. A mask being defined
// collects the union of the shapes drawn into it; once defined it is
// intersected with the mask around it and clips everything drawn until it is
// popped. Buffers are kept for reuse from frame to frame.
#include <cstdint>
#include <vector>
#include "player/render/Rasterizer.h"

namespace tesmar::render {

// a * b / 255, rounded, for coverage values.
inline uint8_t multiplyCoverage(uint32_t a, uint32_t b) {
    uint32_t t = a * b + 128;
    return uint8_t((t + (t >> 8)) >> 8);
}

class MaskLayer {
public:
    void reset(int width, int height);
    const uint8_t* row(int y) const { return coverage_.data() + size_t(y) * size_t(width_); }
    // Where the mask may be non-zero; outside it everything is hidden.
    const PixelRect& bounds() const { return bounds_; }
    // The same for one row of the bounds.
    ColumnRange rowRange(int y) const { return rowRanges_[size_t(y)]; }
    const ColumnRange* rowRanges() const { return rowRanges_.data(); }
    // Adds coverage (solid: all of it 255) as a union with what is there.
    void addCoverage(int y, int x0, int x1, const uint8_t* coverage, bool solid);
    void intersect(const MaskLayer& enclosing);

private:
    uint8_t* row(int y) { return coverage_.data() + size_t(y) * size_t(width_); }
    std::vector<uint8_t> coverage_;
    std::vector<ColumnRange> rowRanges_;
    int width_ = 0, height_ = 0;
    PixelRect bounds_;
};

class MaskStack {
public:
    // Drops every mask (their buffers stay for reuse).
    void clear();
    void begin(int width, int height);
    void endDefinition();
    void pop();

    // The mask being defined, if that is what drawing goes to now.
    MaskLayer* defining();
    // The mask around the one being defined.
    const MaskLayer* enclosing() const;
    // The mask that clips painting, if any.
    const MaskLayer* active() const;
    // True while a mask beyond the nesting limit is being defined: its
    // shapes go nowhere.
    bool suppressed() const;

private:
    static constexpr size_t kMaxDepth = 16;
    std::vector<MaskLayer> layers_;   // layers_[0..depth_) are in use
    size_t depth_ = 0;
    bool topDefining_ = false;
    // Masks nested past the limit are only counted: whether each is still being defined.
    std::vector<bool> overflow_;
};

} // namespace tesmar::render
