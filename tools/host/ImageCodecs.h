#pragma once
// Image files for the native host and tools: JPEG and GIF decoding (movies
// embed JPEG; loaded images may be either) and PNG reading and writing.
// Every decoded image is premultiplied 0xAARRGGBB; malformed or oversized
// input gives std::nullopt, never a crash.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include "player/geom/Image.h"

namespace tesmar::host {

// Largest image any decoder here accepts, in pixels and per side.
constexpr int64_t kMaxImagePixels = int64_t(1) << 24;
constexpr int kMaxImageSide = 16384;

// Decodes a baseline or progressive JPEG. Movies may keep their encoding
// tables apart (tables) and may carry stray end/start markers before the
// image; both are accepted.
std::optional<Image> decodeJpeg(std::span<const uint8_t> data,
                                std::span<const uint8_t> tables = {});

// Decodes the first image of a GIF (87a or 89a) on its logical screen.
std::optional<Image> decodeGif(std::span<const uint8_t> data);

// Decodes a PNG of any colour type, bit depth and interlacing.
std::optional<Image> readPng(std::span<const uint8_t> data);
std::optional<Image> readPngFile(const std::string& path);

// Encodes an image as an 8-bit RGBA PNG (alpha un-premultiplied).
std::vector<uint8_t> writePng(const Image& image);
bool writePngFile(const std::string& path, const Image& image);

} // namespace tesmar::host
