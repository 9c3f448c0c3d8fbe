#include "player/bridge/BitmapPixels.h"

#include <algorithm>

namespace tesmar::bridge {

uint32_t premultiply(uint32_t argb)
{
    uint32_t a = argb >> 24;
    if (a == 255) return argb;
    if (a == 0) return 0;
    auto channel = [a](uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | channel((argb >> 16) & 0xFF) << 16 | channel((argb >> 8) & 0xFF) << 8 | channel(argb & 0xFF);
}

uint32_t unpremultiply(uint32_t premultiplied)
{
    uint32_t a = premultiplied >> 24;
    if (a == 255) return premultiplied;
    if (a == 0) return 0;
    // A whole-number reciprocal of alpha in 8.8 fixed point, as the reference
    // player divides: some channels come back one unit off the exact quotient.
    const uint32_t reciprocal = 0xFF00u / a;
    auto channel = [reciprocal](uint32_t c) { return std::min<uint32_t>(255, (c * reciprocal + 127) >> 8); };
    return a << 24 | channel((premultiplied >> 16) & 0xFF) << 16 | channel((premultiplied >> 8) & 0xFF) << 8
         | channel(premultiplied & 0xFF);
}

uint32_t sourceOver(uint32_t src, uint32_t dst)
{
    uint32_t inverse = 255 - (src >> 24);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t channel = ((src >> shift) & 0xFF) + ((dst >> shift) & 0xFF) * inverse / 255;
        out |= std::min<uint32_t>(channel, 255) << shift;
    }
    return out;
}

IntRect IntRect::clippedTo(int w, int h) const
{
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = int(std::min<int64_t>(int64_t(x) + width, w)), y1 = int(std::min<int64_t>(int64_t(y) + height, h));
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

bool BitmapPixels::sizeAllowed(int swfVersion, double width, double height)
{
    if (!(width >= 1) || !(height >= 1)) return false;
    if (swfVersion < 10) return width <= 2880 && height <= 2880;
    return width <= 8191 && height <= 8191 && width * height < 16777216;
}

BitmapPixels::BitmapPixels(int width, int height, bool transparent, uint32_t fillArgb)
    : width_(width), height_(height), transparent_(transparent)
{
    if (!transparent_) fillArgb |= 0xFF000000u;
    image_ = std::make_shared<Image>(width, height, premultiply(fillArgb));
}

BitmapPixels::BitmapPixels(const BitmapPixels& other)
    : width_(other.width_), height_(other.height_), transparent_(other.transparent_),
      image_(std::make_shared<Image>(*other.image_))
{
}

BitmapPixels& BitmapPixels::operator=(const BitmapPixels& other)
{
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        transparent_ = other.transparent_;
        image_ = std::make_shared<Image>(*other.image_);
    }
    return *this;
}

void BitmapPixels::release()
{
    *image_ = Image();
    width_ = height_ = 0;
}

void BitmapPixels::setStraight(int x, int y, uint32_t argb)
{
    if (!transparent_) argb |= 0xFF000000u;
    set(x, y, premultiply(argb));
}

void BitmapPixels::fill(const IntRect& area, uint32_t argb)
{
    if (!transparent_) argb |= 0xFF000000u;
    const uint32_t word = premultiply(argb);
    IntRect r = area.clippedTo(width_, height_);
    for (int y = r.y; y < r.y + r.height; ++y)
        std::fill_n(image_->pixels.begin() + ptrdiff_t(size_t(y) * size_t(width_) + size_t(r.x)), r.width, word);
}

} // namespace tesmar::bridge
