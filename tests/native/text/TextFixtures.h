#pragma once
// A made-up embedded font and fields built on it, for the text tests: every
// glyph a box 500 units wide and 700 high on the baseline, advance 600 of
// the 1000-unit em (em square 1000 keeps the arithmetic readable).
#include <memory>
#include "player/stage/EditText.h"
#include "player/swf/Movie.h"

namespace tesmar::test {

inline Shape boxGlyph() {
    Shape shape;
    shape.groups.resize(1);
    shape.groups[0].fills.push_back(FillStyle{});
    ShapePath path;
    path.fill0 = 1;
    path.start = {0, -700};
    for (Point p : {Point{500, -700}, Point{500, 0}, Point{0, 0}, Point{0, -700}}) path.segments.push_back({false, {}, p});
    shape.paths.push_back(path);
    shape.bounds = Rect{0, -700, 500, 0};
    shape.edgeBounds = shape.bounds;
    return shape;
}

// Box glyphs for ' ', '*' and 'a' to 'z'; the space draws nothing.
inline swf::FontDef boxFont(const std::string& name = "Boxes", bool bold = false) {
    swf::FontDef font;
    font.name = name;
    font.bold = bold;
    font.emSquare = 1000;
    font.hasLayout = true;
    font.ascent = 800;
    font.descent = 200;
    auto add = [&](char32_t c, bool ink) {
        font.glyphs.push_back(ink ? boxGlyph() : Shape{});
        font.codes.push_back(uint16_t(c));
        font.advances.push_back(600);
    };
    add(U' ', false);
    add(U'*', true);
    for (char32_t c = U'a'; c <= U'z'; ++c) add(c, true);
    return font;
}

// A movie holding the box font as character 1 (and a bold one as 3).
struct TextStage {
    stage::Context context;
    std::unique_ptr<stage::LoadedMovie> movie;
    swf::EditTextDef def;

    TextStage() {
        auto m = std::make_shared<swf::Movie>();
        m->header.version = 8;
        m->dictionary[1] = std::make_shared<const swf::Character>(boxFont());
        m->dictionary[3] = std::make_shared<const swf::Character>(boxFont("Boxes", true));
        movie = std::make_unique<stage::LoadedMovie>(m);
        // 20 px high letters (400 twips), box 200 x 100 px at the origin.
        def.bounds = Rect{0, 0, 4000, 2000};
        def.fontId = 1;
        def.fontHeight = 400;
        def.useOutlines = true;
    }
    std::unique_ptr<stage::EditText> field() {
        return std::make_unique<stage::EditText>(context, *movie, 2, def, nullptr);
    }
};

} // namespace tesmar::test
