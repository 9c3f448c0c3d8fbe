#include "player/render/MaskStack.h"
#include <algorithm>
#include <climits>
#include <cstring>

namespace tesmar::render {
namespace {

// Below this the byte pool is never compacted.
constexpr size_t kPoolFloor = size_t(1) << 20;

uint32_t byteAt(const MaskRun& run, const std::vector<uint8_t>& pool, int x) {
    return run.solid() ? 255 : pool[run.bytes + uint32_t(x - run.x0)];
}

} // namespace

void MaskLayer::reset(int height) {
    for (int y = bounds_.y0; y < bounds_.y1; ++y) {
        rows_[size_t(y)].clear();
        rowRanges_[size_t(y)] = ColumnRange{};
    }
    rows_.resize(size_t(std::max(height, 0)));
    rowRanges_.resize(rows_.size());
    pool_.clear();
    compactAt_ = kPoolFloor;
    bounds_ = PixelRect{};
}

uint32_t MaskLayer::grow(int count) {
    size_t at = pool_.size();
    pool_.resize(at + size_t(count));
    return uint32_t(at);
}

void MaskLayer::addCoverage(int y, int x0, int x1, const uint8_t* coverage, bool solid) {
    if (x0 >= x1) return;
    compactIfLarge();
    MaskRun run{x0, x1, MaskRun::kSolid};
    if (!solid) {
        run.bytes = grow(x1 - x0);
        std::memcpy(pool_.data() + run.bytes, coverage, size_t(x1 - x0));
    }
    std::vector<MaskRun>& row = rows_[size_t(y)];
    if (row.empty() || row.back().x1 <= x0) {
        // Shapes arrive left to right within a row: most runs just append.
        if (!row.empty() && row.back().x1 == x0 && row.back().solid() && run.solid()) row.back().x1 = x1;
        else row.push_back(run);
    } else {
        incoming_.assign(1, run);
        merge(y, incoming_, pool_, Combine::Union);
    }
    updateExtent(y);
}

void MaskLayer::intersect(const MaskLayer& enclosing) {
    static const std::vector<MaskRun> nothing;
    PixelRect kept{};
    for (int y = bounds_.y0; y < bounds_.y1; ++y) {
        if (rows_[size_t(y)].empty()) continue;
        compactIfLarge();
        bool enclosingHasRow = y >= enclosing.bounds_.y0 && y < enclosing.bounds_.y1;
        merge(y, enclosingHasRow ? enclosing.rows_[size_t(y)] : nothing, enclosing.pool_, Combine::Intersection);
        ColumnRange r = rowRanges_[size_t(y)] = extentOf(rows_[size_t(y)]);
        if (r.empty()) continue;
        kept = kept.empty() ? PixelRect{r.x0, y, r.x1, y + 1}
                            : PixelRect{std::min(kept.x0, r.x0), kept.y0, std::max(kept.x1, r.x1), y + 1};
    }
    bounds_ = kept;
}

ColumnRange MaskLayer::extentOf(const std::vector<MaskRun>& row) {
    return row.empty() ? ColumnRange{} : ColumnRange{row.front().x0, row.back().x1};
}

void MaskLayer::updateExtent(int y) {
    ColumnRange r = rowRanges_[size_t(y)] = extentOf(rows_[size_t(y)]);
    if (bounds_.empty()) bounds_ = {r.x0, y, r.x1, y + 1};
    else bounds_ = {std::min(bounds_.x0, r.x0), std::min(bounds_.y0, y), std::max(bounds_.x1, r.x1),
                    std::max(bounds_.y1, y + 1)};
}

// Walks both rows' runs together, piece by piece between their ends. A
// piece keeps a reference to bytes already in the pool where it can and
// computes new bytes only where two partial coverages meet.
void MaskLayer::merge(int y, const std::vector<MaskRun>& theirs, const std::vector<uint8_t>& theirPool,
                      Combine how) {
    const std::vector<MaskRun>& mine = rows_[size_t(y)];
    const bool theirsInPool = &theirPool == &pool_;
    merged_.clear();
    auto emit = [this](int x0, int x1, uint32_t bytes) {
        if (!merged_.empty()) {
            MaskRun& last = merged_.back();
            bool continues = last.x1 == x0 && (last.solid() ? bytes == MaskRun::kSolid
                                                             : bytes == last.bytes + uint32_t(last.x1 - last.x0));
            if (continues) {
                last.x1 = x1;
                return;
            }
        }
        merged_.push_back({x0, x1, bytes});
    };
    auto keep = [&](int x0, int x1, const MaskRun& run, bool inPool) {
        if (run.solid() || inPool) {
            emit(x0, x1, run.solid() ? MaskRun::kSolid : run.bytes + uint32_t(x0 - run.x0));
            return;
        }
        uint32_t at = grow(x1 - x0);
        std::memcpy(pool_.data() + at, theirPool.data() + run.bytes + (x0 - run.x0), size_t(x1 - x0));
        emit(x0, x1, at);
    };
    auto combine = [&](int x0, int x1, const MaskRun& a, const MaskRun& b) {
        uint32_t at = grow(x1 - x0);
        for (int x = x0; x < x1; ++x) {
            uint32_t p = byteAt(a, pool_, x), q = byteAt(b, theirPool, x);
            uint32_t both = multiplyCoverage(p, q);
            pool_[at + uint32_t(x - x0)] = uint8_t(how == Combine::Union ? p + q - both : both);
        }
        emit(x0, x1, at);
    };

    size_t i = 0, j = 0;
    int x = INT_MIN;
    for (;;) {
        while (i < mine.size() && mine[i].x1 <= x) ++i;
        while (j < theirs.size() && theirs[j].x1 <= x) ++j;
        bool mineLeft = i < mine.size(), theirsLeft = j < theirs.size();
        if (!mineLeft && !theirsLeft) break;
        const MaskRun* a = mineLeft && mine[i].x0 <= x ? &mine[i] : nullptr;
        const MaskRun* b = theirsLeft && theirs[j].x0 <= x ? &theirs[j] : nullptr;
        if (!a && !b) {
            x = std::min(mineLeft ? mine[i].x0 : INT_MAX, theirsLeft ? theirs[j].x0 : INT_MAX);
            continue;
        }
        int end = INT_MAX;
        if (mineLeft) end = std::min(end, a ? a->x1 : mine[i].x0);
        if (theirsLeft) end = std::min(end, b ? b->x1 : theirs[j].x0);
        if (how == Combine::Union) {
            if (a && b && !a->solid() && !b->solid()) combine(x, end, *a, *b);
            else if (a && (!b || a->solid())) keep(x, end, *a, true);
            else keep(x, end, *b, theirsInPool);
        } else if (a && b) {
            if (a->solid()) keep(x, end, *b, theirsInPool);
            else if (b->solid()) keep(x, end, *a, true);
            else combine(x, end, *a, *b);
        }
        x = end;
    }
    rows_[size_t(y)].swap(merged_);
}

// Merges leave bytes behind that no run refers to any more; a mask that
// keeps taking overlapping partial coverage would grow without end.
void MaskLayer::compactIfLarge() {
    if (pool_.size() < compactAt_) return;
    compacted_.clear();
    for (int y = bounds_.y0; y < bounds_.y1; ++y) {
        for (MaskRun& run : rows_[size_t(y)]) {
            if (run.solid()) continue;
            size_t at = compacted_.size();
            compacted_.insert(compacted_.end(), pool_.begin() + run.bytes, pool_.begin() + run.bytes + (run.x1 - run.x0));
            run.bytes = uint32_t(at);
        }
    }
    pool_.swap(compacted_);
    compactAt_ = std::max(kPoolFloor, pool_.size() * 2);
}

void MaskStack::clear() {
    depth_ = 0;
    topDefining_ = false;
    overflow_.clear();
}

void MaskStack::begin(int height) {
    if (!overflow_.empty() || depth_ == kMaxDepth || topDefining_) {
        overflow_.push_back(true);
        return;
    }
    if (layers_.size() == depth_) {
        layers_.emplace_back();
        keys_.push_back(0);
    }
    keys_[depth_] = 0;
    layers_[depth_++].reset(height);
    topDefining_ = true;
}

bool MaskStack::reuse(uint64_t key) {
    if (!defining()) return false;
    for (Kept& kept : kept_) {
        if (kept.key != key) continue;
        std::swap(kept.layer, layers_[depth_ - 1]);
        kept.key = 0;
        keys_[depth_ - 1] = key;
        topDefining_ = false;
        return true;
    }
    return false;
}

void MaskStack::endDefinition(uint64_t key) {
    if (!overflow_.empty()) {
        overflow_.back() = false;
        return;
    }
    if (!topDefining_) return;
    topDefining_ = false;
    if (depth_ >= 2) layers_[depth_ - 1].intersect(layers_[depth_ - 2]);
    keys_[depth_ - 1] = key;
}

void MaskStack::pop() {
    if (!overflow_.empty()) {
        overflow_.pop_back();
        return;
    }
    if (depth_ == 0) return;
    --depth_;
    // A finished mask is kept in place of the one used longest ago.
    if (!topDefining_ && keys_[depth_] != 0) {
        if (kept_.size() < kKept) kept_.emplace_back();
        Kept* oldest = &kept_[0];
        for (Kept& kept : kept_)
            if (kept.lastUse < oldest->lastUse) oldest = &kept;
        for (Kept& kept : kept_)
            if (kept.key == keys_[depth_]) oldest = &kept;
        std::swap(oldest->layer, layers_[depth_]);
        oldest->key = keys_[depth_];
        oldest->lastUse = ++uses_;
    }
    topDefining_ = false;
}

MaskLayer* MaskStack::defining() {
    return overflow_.empty() && topDefining_ ? &layers_[depth_ - 1] : nullptr;
}

const MaskLayer* MaskStack::enclosing() const {
    return depth_ >= 2 ? &layers_[depth_ - 2] : nullptr;
}

uint64_t MaskStack::enclosingKey() const {
    return depth_ >= 2 ? keys_[depth_ - 2] : 0;
}

const MaskLayer* MaskStack::active() const {
    if (depth_ == 0) return nullptr;
    if (topDefining_) return depth_ >= 2 ? &layers_[depth_ - 2] : nullptr;
    return &layers_[depth_ - 1];
}

bool MaskStack::suppressed() const {
    return !overflow_.empty() && overflow_.back();
}

void MaskKey::add(uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        hash_ ^= (value >> (8 * i)) & 0xFF;
        hash_ *= 1099511628211ull;
    }
}

void MaskKey::add(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    add(bits);
}

void MaskKey::addOutline(const Shape& shape) {
    add(uint64_t(shape.nonZeroWinding));
    add(uint64_t(shape.paths.size()));
    for (const ShapePath& path : shape.paths) {
        add(uint64_t(path.styleGroup) << 32 | uint64_t(path.segments.size()));
        add(uint64_t(path.fill0) << 32 | path.fill1);
        add(path.start.x);
        add(path.start.y);
        for (const PathSegment& segment : path.segments) {
            add(uint64_t(segment.curved));
            if (segment.curved) {
                add(segment.control.x);
                add(segment.control.y);
            }
            add(segment.to.x);
            add(segment.to.y);
        }
    }
}

} // namespace tesmar::render
