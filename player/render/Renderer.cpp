#include "player/render/Renderer.h"
#include <algorithm>
#include <cmath>
#include "player/render/FillPainter.h"
#include "player/render/Filters.h"
#include "player/render/MaskStack.h"
#include "player/render/Rasterizer.h"
#include "player/render/ShapeOutlines.h"
#include "player/render/PixelOps.h"

namespace tesmar::render {
namespace {

// The background colour, laid row by row from the left just before
// painting reaches it, so that a row is still in cache when it is painted
// over, and never under pixels that a fill replaces outright.
class LazyClear {
public:
    void start(Image& target, uint32_t color) {
        target_ = &target;
        color_ = color;
        laidTo_.assign(size_t(target.height), 0);
        paintedFrom_.assign(size_t(target.height), target.width);
    }
    // Readies columns before x1 of row y for painting [x0, x1); replacing
    // says that the painting covers [x0, x1) without reading it.
    void prepare(int y, int x0, int x1, bool replacing) {
        if (size_t(y) >= laidTo_.size()) return;
        int& from = paintedFrom_[size_t(y)];
        from = std::min(from, x0);
        int& laid = laidTo_[size_t(y)];
        if (x1 <= laid) return;
        uint32_t* row = target_->row(y);
        std::fill(row + laid, row + std::max(laid, replacing ? x0 : x1), color_);
        laid = x1;
    }
    void finish() {
        for (size_t y = 0; y < laidTo_.size(); ++y) prepare(int(y), target_->width, target_->width, false);
        laidTo_.clear();
    }
    // The columns [from, to) of row y that painting may have reached; the
    // rest still have the colour or wait for it.
    std::pair<int, int> reached(int y) const { return {paintedFrom_[size_t(y)], laidTo_[size_t(y)]}; }
    // Leaves the rest unlaid: the target is not read again before start().
    void abandon() { laidTo_.clear(); }

private:
    Image* target_ = nullptr;
    uint32_t color_ = 0;
    std::vector<int> laidTo_;   // per row: columns before it are laid; empty when nothing is pending
    std::vector<int> paintedFrom_;   // per row: the first column painting asked for
};

// Paints rasterized rows with one fill, through the current mask if any.
// Pixels that blend with what is beneath them (partly covered edges,
// translucent fills) mostly lie in cache lines not touched for a long time;
// they are painted one row late, after a prefetch, so that fetching them
// overlaps with rasterizing the next row instead of stalling each blend.
class PaintSink : public CoverageSink {
public:
    PaintSink(Image& target, FillPainter& painter, const MaskLayer* mask, LazyClear& background,
              std::vector<uint8_t>& scratch)
        : target_(target), painter_(painter), mask_(mask), background_(background), scratch_(scratch) {}

    void row(int y, int x0, int x1, const uint8_t* coverage, bool solid) override {
        if (y != pendingRow_) finish();
        if (!mask_) {
            paint(y, x0, x1, coverage, solid);
            return;
        }
        const std::vector<MaskRun>& runs = mask_->runs(y);
        auto first = std::upper_bound(runs.begin(), runs.end(), x0,
                                      [](int x, const MaskRun& run) { return x < run.x1; });
        for (auto run = first; run != runs.end() && run->x0 < x1; ++run) {
            int from = std::max(x0, run->x0), to = std::min(x1, run->x1);
            const uint8_t* c = coverage + (from - x0);
            if (run->solid()) {
                paint(y, from, to, c, solid);
                continue;
            }
            const uint8_t* m = mask_->coverageOf(*run) + (from - run->x0);
            if (scratch_.size() < size_t(to - from)) scratch_.resize(size_t(to - from));
            for (int i = 0; i < to - from; ++i) scratch_[size_t(i)] = solid ? m[i] : multiplyCoverage(c[i], m[i]);
            paint(y, from, to, scratch_.data(), false);
        }
    }

    // Paints what is still waiting; the sink must not be used after it.
    void finish() {
        for (const Pending& p : pending_)
            painter_.paintRow(target_.row(p.y), p.y, p.x0, p.x1, pendingBytes_.data() + p.bytes, p.solid);
        pending_.clear();
        pendingBytes_.clear();
    }

private:
    struct Pending {
        int y, x0, x1;
        size_t bytes;
        bool solid;
    };

    void paint(int y, int x0, int x1, const uint8_t* coverage, bool solid) {
        uint32_t* pixels = target_.row(y);
        bool replacing = solid && painter_.overwritesWhenSolid();
        background_.prepare(y, x0, x1, replacing);
        if (replacing) {
            painter_.paintRow(pixels, y, x0, x1, coverage, true);
            return;
        }
        // Partly covered spans are short: their ends are where the lines are.
        __builtin_prefetch(pixels + x0, 1);
        __builtin_prefetch(pixels + x1 - 1, 1);
        size_t at = pendingBytes_.size();
        if (!solid) pendingBytes_.insert(pendingBytes_.end(), coverage, coverage + (x1 - x0));
        pending_.push_back({y, x0, x1, at, solid});
        pendingRow_ = y;
    }

    Image& target_;
    FillPainter& painter_;
    const MaskLayer* mask_;
    LazyClear& background_;
    std::vector<uint8_t>& scratch_;
    std::vector<Pending> pending_;
    std::vector<uint8_t> pendingBytes_;
    int pendingRow_ = 0;
};

// Adds rasterized rows to the mask being defined.
class MaskSink : public CoverageSink {
public:
    explicit MaskSink(MaskLayer& mask) : mask_(mask) {}
    void row(int y, int x0, int x1, const uint8_t* coverage, bool solid) override {
        mask_.addCoverage(y, x0, x1, coverage, solid);
    }

private:
    MaskLayer& mask_;
};

} // namespace

// A display object drawn apart from its parent, to be blended into it.
struct Layer {
    Image image;
    LazyClear clear;   // lays transparency where the object paints
    Image* parent = nullptr;
};

struct Renderer::State {
    Coverage coverage = Coverage::Samples4;
    // Layers in use are the first layerDepth; their images are kept for the next frame.
    std::vector<std::unique_ptr<Layer>> layers;
    size_t layerDepth = 0;
    // Layers nested deeper draw straight onto their parent: each costs a whole target.
    static constexpr size_t kMostLayers = 8;
    LazyClear& painted() { return layerDepth ? layers[layerDepth - 1]->clear : background; }
    ShapeOutlines outlines;
    Rasterizer rasterizer;
    FillPainter painter;
    MaskStack masks;
    LazyClear background;
    std::vector<uint8_t> scratch;
    Image filterImage;   // the part of a layer being filtered
    // The shapes of the mask being defined, with their matrices: the first
    // maskShapeCount of maskShapes.
    std::vector<std::pair<Shape, Matrix>> maskShapes;
    size_t maskShapeCount = 0;
};

Renderer::Renderer() : state_(std::make_unique<State>()) {}

Renderer::Renderer(Image& target) : Renderer() { begin(target); }

Renderer::~Renderer() { finish(); }

void Renderer::begin(Image& target) {
    finish();
    target_ = &target;
    state_->coverage = Coverage::Samples4;
    state_->masks.clear();
    state_->maskShapeCount = 0;
    state_->layerDepth = 0;
}

void Renderer::setQuality(Quality quality) {
    state_->coverage = quality == Quality::Low    ? Coverage::Centre
                       : quality == Quality::Best ? Coverage::Area
                                                  : Coverage::Samples4;
}

void Renderer::clear(Rgba color) {
    if (!target_) return;
    if (target_->pixels.size() == size_t(target_->width) * size_t(target_->height))
        state_->background.start(*target_, premultiplied(color));
    else   // not a whole image: nothing is drawn into it, but it gets the colour
        std::fill(target_->pixels.begin(), target_->pixels.end(), premultiplied(color));
}

void Renderer::finish() {
    while (state_->layerDepth) endLayer(BlendMode::Normal);
    state_->background.finish();
}

bool Renderer::beginLayer() {
    State& s = *state_;
    if (!target_ || target_->empty() || s.masks.defining() || s.layerDepth == State::kMostLayers) return false;
    if (s.layerDepth == s.layers.size()) s.layers.push_back(std::make_unique<Layer>());
    Layer& layer = *s.layers[s.layerDepth++];
    if (layer.image.width != target_->width || layer.image.height != target_->height)
        layer.image = Image(target_->width, target_->height);
    layer.clear.start(layer.image, 0);
    layer.parent = target_;
    target_ = &layer.image;
    return true;
}

void Renderer::endLayer(BlendMode mode, std::span<const Filter> filters, double filterScale) {
    State& s = *state_;
    if (!s.layerDepth) return;
    Layer& layer = *s.layers[--s.layerDepth];
    target_ = layer.parent;
    if (!filters.empty()) filterLayer(layer, filters, filterScale);
    // The alpha and erase modes cut into the layer beneath; with none, the
    // object shows nothing.
    bool cuts = mode == BlendMode::Alpha || mode == BlendMode::Erase;
    LazyClear& beneath = s.painted();
    for (int y = 0; y < target_->height && (s.layerDepth || !cuts); ++y) {
        auto [from, to] = layer.clear.reached(y);
        if (from >= to) continue;
        beneath.prepare(y, from, to, false);
        blendRow(target_->row(y) + from, layer.image.row(y) + from, to - from, mode);
    }
    layer.clear.abandon();
}

// Applies filters to the part of the layer that was painted, grown by how
// far the filters reach; pixels there that nothing painted are cleared first.
void Renderer::filterLayer(Layer& layer, std::span<const Filter> filters, double scale) {
    PixelRect painted{layer.image.width, layer.image.height, 0, 0};
    for (int y = 0; y < layer.image.height; ++y) {
        auto [from, to] = layer.clear.reached(y);
        if (from >= to) continue;
        painted = {std::min(painted.x0, from), std::min(painted.y0, y), std::max(painted.x1, to), y + 1};
    }
    if (painted.empty()) return;
    const FilterReach reach = filterReach(filters, scale);
    const PixelRect area = PixelRect{painted.x0 - reach.left, painted.y0 - reach.top, painted.x1 + reach.right,
                                     painted.y1 + reach.bottom}
                               .intersect({0, 0, layer.image.width, layer.image.height});
    if (area.empty()) return;
    Image& work = state_->filterImage;
    work.width = area.x1 - area.x0;
    work.height = area.y1 - area.y0;
    work.pixels.resize(size_t(work.width) * size_t(work.height));
    for (int y = area.y0; y < area.y1; ++y) {
        layer.clear.prepare(y, area.x0, area.x1, false);
        std::copy_n(layer.image.row(y) + area.x0, work.width, work.row(y - area.y0));
    }
    applyFilters(work, filters, scale);
    for (int y = area.y0; y < area.y1; ++y) std::copy_n(work.row(y - area.y0), work.width, layer.image.row(y) + area.x0);
}

void Renderer::drawShape(const Shape& shape, const Matrix& toPixels, const ColorTransform& cx,
                         const BitmapSource* bitmaps) {
    if (!target_ || target_->empty() || target_->pixels.size() < size_t(target_->width) * size_t(target_->height)) return;
    State& s = *state_;
    if (s.masks.suppressed()) return;
    if (s.masks.defining()) {
        // Rasterized when the definition ends, unless a kept mask matches.
        // Callers may pass shapes that live only for the call: a copy is
        // kept, into the room the last frame's masks left.
        if (s.maskShapeCount == s.maskShapes.size()) s.maskShapes.emplace_back();
        s.maskShapes[s.maskShapeCount++] = {shape, toPixels};
        return;
    }
    PixelRect clip{0, 0, target_->width, target_->height};
    const MaskLayer* mask = s.masks.active();
    if (mask) clip = clip.intersect(mask->bounds());
    if (!reaches(shape, toPixels, clip)) return;

    s.outlines.build(shape, toPixels, true, s.coverage == Coverage::Samples4);
    FillRule fillRule = shape.nonZeroWinding ? FillRule::NonZero : FillRule::EvenOdd;
    for (const ShapeOutlines::Fill& fill : s.outlines.fills()) {
        bool visible = fill.line ? (fill.line->hasFill ? s.painter.prepare(fill.line->fill, toPixels, cx, bitmaps)
                                                       : s.painter.prepareSolid(fill.line->color, cx))
                                 : s.painter.prepare(*fill.style, toPixels, cx, bitmaps);
        if (!visible) continue;
        PaintSink sink(*target_, s.painter, mask, s.painted(), s.scratch);
        // Stroke outlines are unions of pieces: always non-zero.
        s.rasterizer.fill(s.outlines.edgesOf(fill), clip, fill.line ? FillRule::NonZero : fillRule, s.coverage, sink,
                          mask ? mask->rowRanges() : nullptr);
        sink.finish();
    }
}

bool Renderer::reaches(const Shape& shape, const Matrix& toPixels, const PixelRect& clip) const {
    if (clip.empty()) return false;
    if (shape.bounds.empty()) return true;
    // Shapes wholly outside the clip cost nothing; the margin covers
    // anti-aliasing and the widening of thin strokes.
    Rect box = toPixels.transform(shape.bounds);
    if (!std::isfinite(box.xMin) || !std::isfinite(box.yMin) || !std::isfinite(box.xMax) || !std::isfinite(box.yMax))
        return true;
    auto pixel = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
    PixelRect reach{pixel(std::floor(box.xMin) - 2), pixel(std::floor(box.yMin) - 2), pixel(std::ceil(box.xMax) + 2),
                    pixel(std::ceil(box.yMax) + 2)};
    return !clip.intersect(reach).empty();
}

// A mask is the area of its shapes' fills: colours and strokes do not count.
void Renderer::addToMask(const Shape& shape, const Matrix& toPixels) {
    State& s = *state_;
    MaskLayer* defining = s.masks.defining();
    const MaskLayer* enclosing = s.masks.enclosing();
    PixelRect clip{0, 0, target_->width, target_->height};
    if (enclosing) clip = clip.intersect(enclosing->bounds());
    if (!reaches(shape, toPixels, clip)) return;
    s.outlines.build(shape, toPixels, false);
    FillRule fillRule = shape.nonZeroWinding ? FillRule::NonZero : FillRule::EvenOdd;
    MaskSink sink(*defining);
    for (const ShapeOutlines::Fill& fill : s.outlines.fills())
        s.rasterizer.fill(s.outlines.edgesOf(fill), clip, fillRule, s.coverage, sink,
                          enclosing ? enclosing->rowRanges() : nullptr);
}

void Renderer::beginMask() {
    state_->maskShapeCount = 0;
    state_->masks.begin(target_ ? target_->height : 0);
}

void Renderer::endMaskDefinition() {
    State& s = *state_;
    if (!s.masks.defining()) {
        s.masks.endDefinition(0);
        return;
    }
    MaskKey key;
    key.add(s.masks.enclosingKey());
    key.add(uint64_t(target_->width) << 32 | uint64_t(target_->height) << 1 | uint64_t(s.coverage));
    for (size_t i = 0; i < s.maskShapeCount; ++i) {
        const auto& [shape, toPixels] = s.maskShapes[i];
        key.addOutline(shape);
        for (double v : {toPixels.a, toPixels.b, toPixels.c, toPixels.d, toPixels.tx, toPixels.ty}) key.add(v);
    }
    if (!s.masks.reuse(key.value())) {
        for (size_t i = 0; i < s.maskShapeCount; ++i) addToMask(s.maskShapes[i].first, s.maskShapes[i].second);
        s.masks.endDefinition(key.value());
    }
    s.maskShapeCount = 0;
}

void Renderer::popMask() { state_->masks.pop(); }

} // namespace tesmar::render
