#pragma once
// Paints one fill style (solid, gradient or bitmap) over rows of a target,
// at the coverage the rasterizer found. The style is resolved once per fill
// (colour transform, gradient ramp, inverse matrix); rows then run without
// allocation or virtual calls per pixel.
#include <cstdint>
#include <vector>
#include "player/geom/Color.h"
#include "player/geom/Geometry.h"
#include "player/geom/Image.h"
#include "player/geom/Shape.h"
#include "player/render/GradientRamp.h"

namespace tesmar::render {

class BitmapSource;

class FillPainter {
public:
    // Returns false when the fill draws nothing (transparent, unknown bitmap).
    bool prepare(const FillStyle& fill, const Matrix& toPixels, const ColorTransform& cx,
                 const BitmapSource* bitmaps);
    bool prepareSolid(Rgba color, const ColorTransform& cx);

    // Paints pixels x0..x1-1 of row y at the given coverage (solid: all 255,
    // and coverage is not read); row points at the row's pixel 0.
    void paintRow(uint32_t* row, int y, int x0, int x1, const uint8_t* coverage, bool solid);
    // Whether painting at full coverage replaces the pixels without reading them.
    bool overwritesWhenSolid() const {
        return mode_ == Mode::Solid ? (solid_ >> 24) == 255 : mode_ != Mode::Bitmap && ramp_.opaque;
    }

private:
    enum class Mode : uint8_t { Solid, Linear, Radial, Focal, Bitmap };
    // The fill's colours for count pixels from (x0, y) on.
    void fillColors(int y, int x0, int count, uint32_t* out);
    void gradientColors(int y, int x0, int count, uint32_t* out);
    void bitmapColors(int y, int x0, int count, uint32_t* out);
    uint32_t texel(int64_t x, int64_t y) const;

    Mode mode_ = Mode::Solid;
    uint32_t solid_ = 0;
    GradientRamp ramp_;
    Gradient::Spread spread_ = Gradient::Spread::Pad;
    float focal_ = 0;
    Matrix toFill_;                 // target pixel -> gradient square or bitmap pixel
    const Image* bitmap_ = nullptr;
    bool repeat_ = true, smooth_ = true;
    ColorTransform cx_;
    bool transformTexels_ = false;
    std::vector<uint32_t> colors_;  // one row's fill colours
};

} // namespace tesmar::render
