#pragma once
// The player's drawing surface: fills shapes into a premultiplied 32-bit
// bitmap with anti-aliasing, colour transforms and clip-depth masks.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>
#include "player/geom/Color.h"
#include "player/geom/Geometry.h"
#include "player/geom/Image.h"
#include "player/geom/Shape.h"
#include "player/render/BlendModes.h"
#include "player/render/Filter.h"
#include "player/render/Rasterizer.h"

namespace tesmar::render {

// Resolves the character ids of bitmap fills.
class BitmapSource {
public:
    virtual ~BitmapSource() = default;
    // A premultiplied image, or nullptr when the id is unknown.
    virtual const Image* bitmap(uint16_t characterId) const = 0;
};

// The movie's rendering quality. Low draws without anti-aliasing; Medium
// and High sample each pixel on a 2x2 grid, as the reference player's images
// show; Best measures the exact area a shape covers.
enum class Quality : uint8_t { Low, Medium, High, Best };

struct Layer;

// Keeps its buffers (masks, scanline cells, outlines) from frame to frame:
// the owner makes one and calls begin() for every frame.
class Renderer {
public:
    Renderer();
    // A renderer that has begun drawing into target.
    explicit Renderer(Image& target);
    ~Renderer();
    // Starts a frame into target, whose pixels are premultiplied
    // 0xAARRGGBB: high quality, no masks.
    void begin(Image& target);
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Fills the target with color. Rows are filled as drawing first reaches
    // them, so that they are still in cache when shapes are painted over
    // them; finish() fills the rest.
    void clear(Rgba color);
    // Completes the frame: call before reading the target. The destructor
    // and begin() call it too.
    void finish();
    void setQuality(Quality quality);
    // toPixels maps the shape's twips to target pixels (stage scale included).
    void drawShape(const Shape& shape, const Matrix& toPixels, const ColorTransform& cx,
                   const BitmapSource* bitmaps = nullptr);

    // Masks (clip depth): between beginMask() and endMaskDefinition(), drawShape
    // adds to a coverage mask instead of painting; after it, drawing is clipped
    // to that mask (intersected with any enclosing mask) until popMask().
    void beginMask();
    void endMaskDefinition();
    void popMask();

    // Blend modes: between beginLayer() and endLayer(), drawing goes into a
    // transparent layer, which endLayer() then blends into what was beneath.
    // beginLayer() answers false, and drawing goes on as before, when no
    // layer can be made (too deeply nested, or while defining a mask).
    bool beginLayer();
    // Filters, when given, are applied in order to the layer's pixels
    // before the blend; filterScale turns their stage pixels into target
    // pixels.
    void endLayer(BlendMode mode, std::span<const Filter> filters = {}, double filterScale = 1);

    struct State;

private:
    // Whether a shape can reach any pixel of clip.
    bool reaches(const Shape& shape, const Matrix& toPixels, const PixelRect& clip) const;
    void addToMask(const Shape& shape, const Matrix& toPixels);
    void filterLayer(Layer& layer, std::span<const Filter> filters, double scale);

    Image* target_ = nullptr;
    std::unique_ptr<State> state_;
};

} // namespace tesmar::render
