#include "player/stage/Graphics.h"
#include <map>
#include <tuple>
#include "player/stage/ShapeGeometry.h"

namespace tesmar::stage {

void ShapeObject::draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    r.drawShape(*shape_, toPixels, cx, &loadedMovie());
}

bool ShapeObject::hitTest(Point local) const { return shapeContains(*shape_, local); }

bool ShapeObject::replaceCharacter(uint16_t id) {
    const Shape* shape = loadedMovie().movie().get<Shape>(id);
    if (!shape) return false;
    shape_ = shape;
    setCharacterId(id);
    context().changed();
    return true;
}

MorphObject::MorphObject(Context& context, const LoadedMovie& movie, uint16_t id, const swf::MorphShapeDef& morph)
    : DisplayObject(Kind::Morph, context, movie, id), morph_(&morph), current_(morph.start) {}

void MorphObject::setRatio(uint16_t ratio) {
    if (ratio == this->ratio()) return;
    DisplayObject::setRatio(ratio);
    current_ = morphAt(*morph_, ratio / 65535.0);
    context().changed();
}

void MorphObject::draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    r.drawShape(current_, toPixels, cx, &loadedMovie());
}

bool MorphObject::hitTest(Point local) const { return shapeContains(current_, local); }

TextObject::TextObject(Context& context, const LoadedMovie& movie, uint16_t id, const swf::TextDef& text)
    : DisplayObject(Kind::Text, context, movie, id), text_(&text) {
    // One coloured copy per (font, glyph, colour) in use.
    std::map<std::tuple<uint16_t, uint16_t, uint32_t>, size_t> made;
    for (const swf::TextRun& run : text.runs) {
        const swf::FontDef* font = movie.movie().get<swf::FontDef>(run.fontId);
        if (!font) continue;
        const double scale = run.height / font->emSquare;
        const uint32_t colorKey = (uint32_t(run.color.r) << 24) | (run.color.g << 16) | (run.color.b << 8) | run.color.a;
        for (const swf::TextGlyph& glyph : run.glyphs) {
            if (glyph.index >= font->glyphs.size()) continue;
            auto key = std::make_tuple(run.fontId, glyph.index, colorKey);
            auto it = made.find(key);
            if (it == made.end()) {
                Shape shape = font->glyphs[glyph.index];
                for (StyleGroup& group : shape.groups)
                    for (FillStyle& fill : group.fills) fill.color = run.color;
                shapes_.push_back(std::move(shape));
                it = made.emplace(key, shapes_.size() - 1).first;
            }
            Matrix place{scale, 0, 0, scale, glyph.x, glyph.y};
            glyphs_.push_back({it->second, text.matrix * place});
        }
    }
}

void TextObject::draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    for (const Placed& glyph : glyphs_) r.drawShape(shapes_[glyph.shape], toPixels * glyph.matrix, cx);
}

bool TextObject::hitTest(Point local) const {
    for (const Placed& glyph : glyphs_) {
        Point p = glyph.matrix.inverse().apply(local);
        if (shapeContains(shapes_[glyph.shape], p)) return true;
    }
    return false;
}

} // namespace tesmar::stage
