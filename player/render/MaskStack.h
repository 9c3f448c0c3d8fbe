#pragma once
// Clip masks as coverage runs per row. A mask being defined collects the
// union of the shapes drawn into it; once defined it is intersected with
// the mask around it and clips everything drawn until it is popped. A row
// of a large shape is a few runs (its anti-aliased edges and one solid run
// between them), so a mask costs in proportion to its outline, not to its
// area or to the size of the target. Buffers are kept for reuse from frame
// to frame.
#include <cstdint>
#include <vector>
#include "player/geom/Shape.h"
#include "player/render/Rasterizer.h"

namespace tesmar::render {

// a * b / 255, rounded, for coverage values.
inline uint8_t multiplyCoverage(uint32_t a, uint32_t b) {
    uint32_t t = a * b + 128;
    return uint8_t((t + (t >> 8)) >> 8);
}

// Columns [x0, x1) of a row at full coverage, or at the coverage bytes
// that start at `bytes` in the owning layer's byte pool.
struct MaskRun {
    static constexpr uint32_t kSolid = UINT32_MAX;
    int x0 = 0, x1 = 0;
    uint32_t bytes = kSolid;
    bool solid() const { return bytes == kSolid; }
};

class MaskLayer {
public:
    // An empty mask for a target of the given height.
    void reset(int height);
    // Where the mask may be non-zero; outside it everything is hidden.
    const PixelRect& bounds() const { return bounds_; }
    // The same for one row of the bounds.
    ColumnRange rowRange(int y) const { return rowRanges_[size_t(y)]; }
    const ColumnRange* rowRanges() const { return rowRanges_.data(); }
    // Row y's runs, left to right, never overlapping.
    const std::vector<MaskRun>& runs(int y) const { return rows_[size_t(y)]; }
    // The coverage of a run that is not solid, one byte per column.
    const uint8_t* coverageOf(const MaskRun& run) const { return pool_.data() + run.bytes; }
    // The bytes held for partial coverage, including ones no run uses any more.
    size_t poolBytes() const { return pool_.size(); }

    // Adds coverage (solid: all of it 255) as a union with what is there.
    void addCoverage(int y, int x0, int x1, const uint8_t* coverage, bool solid);
    void intersect(const MaskLayer& enclosing);

private:
    enum class Combine : uint8_t { Union, Intersection };
    // Room for count bytes at the end of the pool; returns where.
    uint32_t grow(int count);
    // Merges row y with theirs (whose bytes lie in theirPool).
    void merge(int y, const std::vector<MaskRun>& theirs, const std::vector<uint8_t>& theirPool, Combine how);
    static ColumnRange extentOf(const std::vector<MaskRun>& row);
    void updateExtent(int y);
    void compactIfLarge();

    std::vector<std::vector<MaskRun>> rows_;
    std::vector<ColumnRange> rowRanges_;
    std::vector<uint8_t> pool_;
    size_t compactAt_ = 0;
    std::vector<uint8_t> compacted_;
    std::vector<MaskRun> merged_, incoming_;   // scratch for merge
    PixelRect bounds_;
};

// A mask is known by a key made from everything that shapes it: its shapes'
// outlines and matrices, the quality, the target and the mask around it.
// Masks that are popped are kept by their keys for a while, so that a mask
// defined again the same way in a later frame (a still mask over moving
// content, a frame drawn again) is taken back instead of being rasterized.
class MaskStack {
public:
    // Drops every mask in use (their buffers and the kept masks stay).
    void clear();
    void begin(int height);
    // Takes back the kept mask with this key as the one being defined;
    // false when none is kept.
    bool reuse(uint64_t key);
    // Ends the definition of the mask, known from now on by key.
    void endDefinition(uint64_t key);
    void pop();

    // The mask being defined, if that is what drawing goes to now.
    MaskLayer* defining();
    // The mask around the one being defined.
    const MaskLayer* enclosing() const;
    // Its key, 0 when there is none.
    uint64_t enclosingKey() const;
    // The mask that clips painting, if any.
    const MaskLayer* active() const;
    // True while a mask beyond the nesting limit is being defined: its
    // shapes go nowhere.
    bool suppressed() const;

private:
    static constexpr size_t kMaxDepth = 16;
    static constexpr size_t kKept = 8;
    std::vector<MaskLayer> layers_;   // layers_[0..depth_) are in use
    std::vector<uint64_t> keys_;      // their keys
    size_t depth_ = 0;
    bool topDefining_ = false;
    // Masks nested past the limit are only counted: whether each is still being defined.
    std::vector<bool> overflow_;
    struct Kept {
        uint64_t key = 0;
        uint64_t lastUse = 0;
        MaskLayer layer;
    };
    std::vector<Kept> kept_;
    uint64_t uses_ = 0;
};

// Builds mask keys (FNV-1a over the values that shape a mask).
class MaskKey {
public:
    void add(uint64_t value);
    void add(double value);
    void addOutline(const Shape& shape);
    // Never 0, which stands for "no key".
    uint64_t value() const { return hash_ ? hash_ : 1; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

} // namespace tesmar::render
