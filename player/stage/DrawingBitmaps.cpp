// Bitmaps attached to a clip's drawing: each is drawn as a rectangle of its
// pixel size filled with the bitmap, unrepeated.
#include "player/stage/Drawing.h"

namespace tesmar::stage {

namespace {

// Serves the one bitmap of an attached-bitmap rectangle.
class OneBitmap : public render::BitmapSource {
public:
    explicit OneBitmap(const Image& image) : image_(image) {}
    const Image* bitmap(uint16_t) const override { return &image_; }

private:
    const Image& image_;
};

Shape bitmapRectangle(const Image& image, bool smooth) {
    const double w = image.width * 20.0, h = image.height * 20.0;
    FillStyle fill;
    fill.kind = FillStyle::Kind::Bitmap;
    fill.matrix = Matrix{20, 0, 0, 20, 0, 0};
    fill.bitmapId = 1;
    fill.bitmapRepeat = false;
    fill.bitmapSmooth = smooth;
    Shape shape;
    shape.groups.push_back(StyleGroup{{fill}, {}});
    ShapePath path;
    path.fill0 = 1;
    path.start = {0, 0};
    for (Point to : {Point{w, 0}, Point{w, h}, Point{0, h}, Point{0, 0}}) path.segments.push_back({false, {}, to});
    shape.paths.push_back(std::move(path));
    shape.bounds = shape.edgeBounds = Rect{0, 0, w, h};
    return shape;
}

} // namespace

void Drawing::attachBitmap(int depth, std::shared_ptr<const Image> image, bool smooth) {
    if (!image) return;
    bitmaps_[depth] = AttachedBitmap{std::move(image), smooth};
}

void Drawing::drawBitmaps(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    for (const auto& [depth, bitmap] : bitmaps_) {
        // A disposed bitmap has no pixels left and shows nothing.
        if (bitmap.image->empty()) continue;
        OneBitmap source(*bitmap.image);
        r.drawShape(bitmapRectangle(*bitmap.image, bitmap.smooth), toPixels, cx, &source);
    }
}

Rect Drawing::bounds() const {
    Rect all = shape().bounds;
    for (const auto& [depth, bitmap] : bitmaps_)
        if (!bitmap.image->empty()) all.include(Rect{0, 0, bitmap.image->width * 20.0, bitmap.image->height * 20.0});
    return all;
}

} // namespace tesmar::stage
