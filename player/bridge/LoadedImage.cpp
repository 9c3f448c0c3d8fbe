#include "player/bridge/LoadedImage.h"

namespace tesmar::bridge {

std::shared_ptr<const swf::Movie> imageMovie(Image image, uint32_t fileLength) {
    constexpr uint16_t kBitmapId = 1, kShapeId = 2;
    const double width = image.width * 20.0, height = image.height * 20.0;
    auto movie = std::make_shared<swf::Movie>();
    movie->header.version = 8;
    movie->header.fileLength = fileLength;
    movie->header.frameCount = 1;
    movie->header.frameSize = Rect{0, 0, width, height};

    Shape shape;
    shape.bounds = shape.edgeBounds = Rect{0, 0, width, height};
    FillStyle fill;
    fill.kind = FillStyle::Kind::Bitmap;
    fill.matrix = Matrix{20, 0, 0, 20, 0, 0};   // one bitmap pixel per 20 twips
    fill.bitmapId = kBitmapId;
    fill.bitmapRepeat = false;
    fill.bitmapSmooth = false;
    shape.groups.push_back(StyleGroup{{fill}, {}});
    ShapePath outline;
    outline.fill0 = 1;
    outline.start = {0, 0};
    for (Point corner : {Point{width, 0}, Point{width, height}, Point{0, height}, Point{0, 0}})
        outline.segments.push_back(PathSegment{false, {}, corner});
    shape.paths.push_back(std::move(outline));

    movie->dictionary[kBitmapId] = std::make_shared<const swf::Character>(swf::BitmapDef{std::move(image)});
    movie->dictionary[kShapeId] = std::make_shared<const swf::Character>(std::move(shape));
    swf::PlaceObject place;
    place.depth = 1;
    place.characterId = kShapeId;
    movie->timeline.declaredFrameCount = 1;
    movie->timeline.frames.resize(1);
    movie->timeline.frames[0].display.push_back(place);
    return movie;
}

} // namespace tesmar::bridge
