#pragma once
// Encodes the vector parts of definition tags: shapes with their styles,
// font glyphs and the glyph records of static text.
#include <cstdint>
#include <vector>
#include "player/geom/Shape.h"
#include "player/swf/Writer.h"

namespace tesmar::swf {

// The extent of a shape's edges, control points and half its strokes.
Rect outlineBounds(const Shape& shape);

// SHAPEWITHSTYLE of DefineShape 1 to 3: bounds (outlineBounds when the
// shape's own are empty), the first style group, then the edges; further
// style groups are written as new styles where their paths begin.
void writeShapeWithStyle(Writer& w, const Shape& shape, int shapeVersion);

// A font glyph: a SHAPE with one fill (style 1 on the left of its edges),
// no strokes and no styles of its own.
void writeGlyph(Writer& w, const Shape& glyph);

// One run of static text: font, colour and height apply to the glyphs that
// follow; x and y (twips, in the text's space) place the first of them.
struct TextSpan {
    uint16_t fontId = 0;
    Rgba color;
    uint16_t height = 0;   // twips per em
    int32_t x = 0, y = 0;
    struct Glyph {
        uint16_t index = 0;    // into the font's glyphs
        int32_t advance = 0;   // twips to the next glyph's origin
    };
    std::vector<Glyph> glyphs;
};

struct StaticText {
    Rect bounds;       // twips, in the text's space
    Matrix matrix;
    std::vector<TextSpan> spans;
};

// The body of DefineText (version 1, colours without alpha) or DefineText2,
// after the character id.
void writeStaticText(Writer& w, const StaticText& text, int textVersion);

} // namespace tesmar::swf
