#include "player/render/Renderer.h"
#include <algorithm>
#include <cmath>
#include "player/render/FillPainter.h"
#include "player/render/MaskStack.h"
#include "player/render/Rasterizer.h"
#include "player/render/ShapeOutlines.h"
#include "player/render/PixelOps.h"

namespace tesmar::render {
namespace {

// Paints rasterized rows with one fill, through the current mask if any.
class PaintSink : public CoverageSink {
public:
    PaintSink(Image& target, FillPainter& painter, const MaskLayer* mask, std::vector<uint8_t>& scratch)
        : target_(target), painter_(painter), mask_(mask), scratch_(scratch) {}

    void row(int y, int x0, int x1, const uint8_t* coverage, bool solid) override {
        uint32_t* pixels = target_.row(y);
        if (!mask_) {
            painter_.paintRow(pixels, y, x0, x1, coverage, solid);
            return;
        }
        const std::vector<MaskRun>& runs = mask_->runs(y);
        auto first = std::upper_bound(runs.begin(), runs.end(), x0,
                                      [](int x, const MaskRun& run) { return x < run.x1; });
        for (auto run = first; run != runs.end() && run->x0 < x1; ++run) {
            int from = std::max(x0, run->x0), to = std::min(x1, run->x1);
            const uint8_t* c = coverage + (from - x0);
            if (run->solid()) {
                painter_.paintRow(pixels, y, from, to, c, solid);
                continue;
            }
            const uint8_t* m = mask_->coverageOf(*run) + (from - run->x0);
            if (scratch_.size() < size_t(to - from)) scratch_.resize(size_t(to - from));
            for (int i = 0; i < to - from; ++i) scratch_[size_t(i)] = solid ? m[i] : multiplyCoverage(c[i], m[i]);
            painter_.paintRow(pixels, y, from, to, scratch_.data(), false);
        }
    }

private:
    Image& target_;
    FillPainter& painter_;
    const MaskLayer* mask_;
    std::vector<uint8_t>& scratch_;
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

struct Renderer::State {
    bool antialias = true;
    ShapeOutlines outlines;
    Rasterizer rasterizer;
    FillPainter painter;
    MaskStack masks;
    std::vector<uint8_t> scratch;
};

Renderer::Renderer() : state_(std::make_unique<State>()) {}

Renderer::Renderer(Image& target) : Renderer() { begin(target); }

Renderer::~Renderer() = default;

void Renderer::begin(Image& target) {
    target_ = &target;
    state_->antialias = true;
    state_->masks.clear();
}

void Renderer::setAntialiasing(bool on) { state_->antialias = on; }

void Renderer::clear(Rgba color) {
    if (target_) std::fill(target_->pixels.begin(), target_->pixels.end(), premultiplied(color));
}

void Renderer::drawShape(const Shape& shape, const Matrix& toPixels, const ColorTransform& cx,
                         const BitmapSource* bitmaps) {
    if (!target_ || target_->empty() || target_->pixels.size() < size_t(target_->width) * size_t(target_->height)) return;
    State& s = *state_;
    PixelRect clip{0, 0, target_->width, target_->height};
    MaskLayer* defining = s.masks.defining();
    if (s.masks.suppressed()) return;
    if (defining) {
        if (const MaskLayer* enclosing = s.masks.enclosing()) clip = clip.intersect(enclosing->bounds());
    } else if (const MaskLayer* mask = s.masks.active()) {
        clip = clip.intersect(mask->bounds());
    }
    if (!shape.bounds.empty()) {
        // Shapes wholly outside the clip cost nothing; the margin covers
        // anti-aliasing and the widening of thin strokes.
        Rect box = toPixels.transform(shape.bounds);
        auto pixel = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
        if (std::isfinite(box.xMin) && std::isfinite(box.yMin) && std::isfinite(box.xMax) && std::isfinite(box.yMax)) {
            PixelRect reach{pixel(std::floor(box.xMin) - 2), pixel(std::floor(box.yMin) - 2),
                            pixel(std::ceil(box.xMax) + 2), pixel(std::ceil(box.yMax) + 2)};
            if (clip.intersect(reach).empty()) return;
        }
    }
    if (clip.empty()) return;

    s.outlines.build(shape, toPixels);
    FillRule fillRule = shape.nonZeroWinding ? FillRule::NonZero : FillRule::EvenOdd;
    for (const ShapeOutlines::Fill& fill : s.outlines.fills()) {
        const EdgeList& edges = s.outlines.edgesOf(fill);
        if (defining) {
            // A mask is the area of the shape's fills: colours and strokes do not count.
            if (fill.line) continue;
            MaskSink sink(*defining);
            const MaskLayer* enclosing = s.masks.enclosing();
            s.rasterizer.fill(edges, clip, fillRule, s.antialias, sink, enclosing ? enclosing->rowRanges() : nullptr);
            continue;
        }
        bool visible = fill.line ? (fill.line->hasFill ? s.painter.prepare(fill.line->fill, toPixels, cx, bitmaps)
                                                       : s.painter.prepareSolid(fill.line->color, cx))
                                 : s.painter.prepare(*fill.style, toPixels, cx, bitmaps);
        if (!visible) continue;
        const MaskLayer* mask = s.masks.active();
        PaintSink sink(*target_, s.painter, mask, s.scratch);
        // Stroke outlines are unions of pieces: always non-zero.
        s.rasterizer.fill(edges, clip, fill.line ? FillRule::NonZero : fillRule, s.antialias, sink,
                          mask ? mask->rowRanges() : nullptr);
    }
}

void Renderer::beginMask() {
    state_->masks.begin(target_ ? target_->height : 0);
}
void Renderer::endMaskDefinition() { state_->masks.endDefinition(); }
void Renderer::popMask() { state_->masks.pop(); }

} // namespace tesmar::render
