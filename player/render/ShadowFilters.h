#pragma once
// The filters that paint a colour by a blurred copy of the object's alpha:
// drop shadows and glows (plain or gradient), and bevels, which light one
// side and shade the other.
#include <cstddef>
#include "player/geom/Image.h"
#include "player/render/Filter.h"

namespace tesmar::render {

// Drop shadow, glow and gradient glow.
void applyShadow(Image& image, const Filter& f, double scale);
// Bevel and gradient bevel.
void applyBevel(Image& image, const Filter& f, double scale);

} // namespace tesmar::render
