#pragma once
// The filters that compute each pixel's colour from colours: the colour
// matrix, from the pixel itself, and the convolution, from its neighbours.
#include <cstddef>
#include "player/geom/Image.h"
#include "player/render/Filter.h"

namespace tesmar::render {

void applyColorMatrix(Image& image, const Filter& f);
void applyConvolution(Image& image, const Filter& f);

} // namespace tesmar::render
