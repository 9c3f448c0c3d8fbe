#pragma once
// Decodes the JPEG, PNG and GIF images that movies carry with the Windows
// Imaging Component, into the player's premultiplied pixels. Needs COM on
// the calling thread (the player control initialises it).
#include <cstdint>
#include <optional>
#include <span>

#include "player/geom/Image.h"

namespace tesmar {

// Largest image accepted, in pixels and per side; anything larger, and any
// malformed data, gives nothing.
constexpr uint64_t kMaxDecodedPixels = uint64_t(1) << 24;
constexpr uint32_t kMaxDecodedSide = 16384;

std::optional<Image> DecodeImageWithWic(std::span<const uint8_t> bytes);

} // namespace tesmar
