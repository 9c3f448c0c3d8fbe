#pragma once
// Lays out the styled text of a field into lines: paragraphs, word wrap,
// margins, indent, leading and alignment. Positions are twips from the
// text's origin (inside the field's 2-pixel gutter), y downwards.
#include <vector>
#include "player/stage/EditTextFonts.h"
#include "player/stage/EditTextFormat.h"

namespace tesmar::stage {

struct PlacedGlyph {
    const Shape* outline = nullptr;
    double scale = 1;          // outline units to twips
    double x = 0, baseline = 0;
    Rgba color;
    size_t index = 0;          // of the character it shows
};

struct TextLine {
    size_t first = 0, end = 0;   // characters [first, end), the break excluded
    double top = 0, ascent = 0, descent = 0, leading = 0;
    double left = 0, width = 0;  // where the line's ink starts and how wide it is
};

struct TextLayout {
    std::vector<PlacedGlyph> glyphs;
    std::vector<TextLine> lines;
    double textWidth = 0, textHeight = 0;   // twips
};

struct LayoutOptions {
    double width = 0;          // room for text between the gutters, twips
    bool wordWrap = false;
    bool embedFonts = false;
    uint16_t fontId = 0;       // the field's own font
    TextFormat emptyFormat;    // sizes the line of an empty text
};

TextLayout layoutText(const StyledText& text, const LayoutOptions& options, TextFaces& faces);

} // namespace tesmar::stage
