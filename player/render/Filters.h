#pragma once
// Applies a display object's filters to the premultiplied image it was
// drawn into.
#include <cstddef>
#include <algorithm>
#include <span>
#include "player/geom/Image.h"
#include "player/render/Filter.h"

namespace tesmar::render {

// Limits that keep a hostile movie's requests affordable: the box size in
// stage pixels and the number of passes.
constexpr double kMostBlur = 255;
constexpr int kMostPasses = 15;
// The most target pixels a box reaches either side, however large the view.
constexpr double kMostBoxReach = 1024;
// Filters past this many on one object are not applied: each may cost
// dozens of passes over the object's pixels.
constexpr size_t kMostFilters = 16;

// The filters that are applied: the first kMostFilters.
inline std::span<const Filter> appliedFilters(std::span<const Filter> filters) {
    return filters.first(std::min(filters.size(), kMostFilters));
}

// How many pixels beyond the drawn ones the filters' output can reach.
struct FilterReach {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// scale is target pixels per stage pixel.
FilterReach filterReach(std::span<const Filter> filters, double scale);

// Applies the filters in order; the image must already have room for
// their reach.
void applyFilters(Image& image, std::span<const Filter> filters, double scale);

// The settings of one filter in target pixels, within the limits: how far
// the box reaches either side of a pixel, and how many times it is applied.
struct ScaledBlur {
    double x = 0, y = 0;
    int passes = 0;
};
ScaledBlur scaledBlur(const Filter& f, double scale);
// The offset of a shadow or bevel in whole target pixels.
struct PixelOffset {
    int x = 0, y = 0;
};
PixelOffset scaledOffset(const Filter& f, double scale);

} // namespace tesmar::render
