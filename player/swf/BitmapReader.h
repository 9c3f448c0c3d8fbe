#pragma once
// Bitmap characters: the lossless formats decoded here, JPEG data prepared
// for the host's decoder (tables merged, alpha plane applied afterwards).
#include <cstdint>
#include <optional>
#include <span>
#include "player/geom/Image.h"
#include "player/swf/Reader.h"
#include "player/swf/Timeline.h"

namespace tesmar::swf {

// Bitmaps larger than this many pixels are refused.
constexpr uint64_t kMaxBitmapPixels = 16u << 20;

// DefineBitsLossless (version 1) or DefineBitsLossless2 (version 2), body
// positioned after the character id. Returns a premultiplied image.
std::optional<Image> readLossless(Reader& body, int version);

// DefineBits data joined with the movie's JPEGTables into one JPEG stream.
Bytes joinJpegTables(std::span<const uint8_t> tables, std::span<const uint8_t> image);

// Drops the spurious end/start marker pair (FF D9 FF D8) some encoders put
// at the front of a JPEG stream.
Bytes cleanJpeg(std::span<const uint8_t> data);

// DefineBitsJPEG3's zlib alpha plane: one byte per pixel; premultiplies
// the image by it. Returns false (image unchanged) when the plane is short.
bool applyAlphaPlane(Image& image, std::span<const uint8_t> compressedAlpha);

// Makes a premultiplied 0xAARRGGBB pixel from straight components.
uint32_t premultiply(uint8_t a, uint8_t r, uint8_t g, uint8_t b);

} // namespace tesmar::swf
