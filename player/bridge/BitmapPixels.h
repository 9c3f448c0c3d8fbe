#pragma once
// The pixels of a BitmapData: premultiplied 0xAARRGGBB words, as the
// reference player keeps them, so colours with partial alpha lose precision
// the same way when they are stored and read back.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>
#include "player/geom/Image.h"

namespace tesmar::bridge {

// Straight 0xAARRGGBB to premultiplied, channels rounded to nearest.
uint32_t premultiply(uint32_t argb);
// Premultiplied back to straight through a fixed-point reciprocal of alpha.
uint32_t unpremultiply(uint32_t premultiplied);

// Source over destination, both premultiplied.
uint32_t sourceOver(uint32_t src, uint32_t dst);

struct IntRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    // The part of this rectangle inside [0, w) x [0, h).
    IntRect clippedTo(int w, int h) const;
};

class BitmapPixels {
public:
    // The largest bitmap a movie may make: SWF 9 and older 2880 pixels a
    // side; SWF 10 and later 8191 a side and fewer than 16777216 in all.
    static bool sizeAllowed(int swfVersion, double width, double height);

    BitmapPixels(int width, int height, bool transparent, uint32_t fillArgb);
    // Copies own their pixels.
    BitmapPixels(const BitmapPixels& other);
    BitmapPixels& operator=(const BitmapPixels& other);

    int width() const { return width_; }
    int height() const { return height_; }
    bool transparent() const { return transparent_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Premultiplied words; callers check contains() first.
    uint32_t at(int x, int y) const { return image_->pixels[size_t(y) * size_t(width_) + size_t(x)]; }
    void set(int x, int y, uint32_t premultiplied) { image_->pixels[size_t(y) * size_t(width_) + size_t(x)] = premultiplied; }
    // Straight colour in and out; an opaque bitmap keeps alpha at 255. An
    // opaque bitmap reads its words as they are: a word copied in raw (threshold
    // with copySource) comes back unchanged.
    uint32_t straight(int x, int y) const { return transparent_ ? unpremultiply(at(x, y)) : at(x, y); }
    void setStraight(int x, int y, uint32_t argb);

    void fill(const IntRect& area, uint32_t argb);
    const std::vector<uint32_t>& words() const { return image_->pixels; }
    // The pixels as the stage shows them (attachBitmap), changing with them.
    std::shared_ptr<const Image> shared() const { return image_; }
    // Empties the shown pixels when the bitmap is disposed.
    void release();

private:
    int width_, height_;
    bool transparent_;
    std::shared_ptr<Image> image_;
};

} // namespace tesmar::bridge
