#pragma once
// How a display object drawn into a layer of its own combines with what is
// beneath it. The values are the ones movies store.
#include <cstdint>

namespace tesmar::render {

enum class BlendMode : uint8_t {
    Normal = 1,
    Layer,
    Multiply,
    Screen,
    Lighten,
    Darken,
    Difference,
    Add,
    Subtract,
    Invert,
    Alpha,
    Erase,
    Overlay,
    Hardlight,
};

// Whether objects with this stored mode need a layer of their own: modes 0
// and 1 and unknown values draw straight onto their parent.
bool needsLayer(uint8_t storedMode);

// Combines count premultiplied pixels of a layer (src) into those beneath
// it (dst), in place.
void blendRow(uint32_t* dst, const uint32_t* src, int count, BlendMode mode);

} // namespace tesmar::render
