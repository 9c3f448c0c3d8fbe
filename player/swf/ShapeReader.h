#pragma once
// DefineShape 1-4, DefineMorphShape 1-2 and font glyph outlines into the
// shared vector shape model.
#include <cstdint>
#include <optional>
#include "player/geom/Shape.h"
#include "player/swf/Characters.h"
#include "player/swf/Reader.h"

namespace tesmar::swf {

// body is positioned after the character id; shapeVersion is 1 to 4.
std::optional<Shape> readShape(Reader& body, int shapeVersion);

// A glyph: edges only, style 1 a solid fill of the text's colour (white here).
std::optional<Shape> readGlyph(Reader& body);

// body is positioned after the character id; morphVersion is 1 or 2.
std::optional<MorphShapeDef> readMorphShape(Reader& body, int morphVersion);

} // namespace tesmar::swf
