#pragma once
// The order in which BitmapData.pixelDissolve replaces the pixels of an area.
#include <cstdint>

namespace tesmar::bridge {

// Steps through the pixel numbers 0 .. count - 1 of an area in a scattered
// order that comes back to its start only after visiting every one.
class DissolveOrder {
public:
    explicit DissolveOrder(uint32_t count);
    // The pixel number after `index` (index < count).
    uint32_t next(uint32_t index) const;

private:
    uint32_t count_;
    uint32_t feedback_ = 0;
};

} // namespace tesmar::bridge
