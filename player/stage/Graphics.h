#pragma once
// Display objects that only draw: shapes, morph shapes and static texts.
#include <vector>
#include "player/stage/DisplayObject.h"

namespace tesmar::stage {

class ShapeObject : public DisplayObject {
public:
    ShapeObject(Context& context, const LoadedMovie& movie, uint16_t id, const Shape& shape)
        : DisplayObject(Kind::Shape, context, movie, id), shape_(&shape) {}
    void draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const override;
    bool hitTest(Point local) const override;
    Rect bounds() const override { return shape_->bounds; }
    bool replaceCharacter(uint16_t id) override;

private:
    const Shape* shape_;
};

class MorphObject : public DisplayObject {
public:
    MorphObject(Context& context, const LoadedMovie& movie, uint16_t id, const swf::MorphShapeDef& morph);
    void setRatio(uint16_t ratio) override;
    void draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const override;
    bool hitTest(Point local) const override;
    Rect bounds() const override { return current_.bounds; }

private:
    const swf::MorphShapeDef* morph_;
    Shape current_;   // the shape at the current ratio
};

// Static text: each glyph a shape in its run's colour, placed by the records.
class TextObject : public DisplayObject {
public:
    TextObject(Context& context, const LoadedMovie& movie, uint16_t id, const swf::TextDef& text);
    void draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const override;
    bool hitTest(Point local) const override;
    Rect bounds() const override { return text_->bounds; }

private:
    struct Placed {
        size_t shape;     // index into shapes_
        Matrix matrix;    // glyph space to text space
    };
    const swf::TextDef* text_;
    std::vector<Shape> shapes_;    // glyph outlines, coloured
    std::vector<Placed> glyphs_;
};

} // namespace tesmar::stage
