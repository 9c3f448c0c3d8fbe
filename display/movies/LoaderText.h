#pragma once
// The loaders' embedded fonts, holding only the glyphs their texts use, and
// the static texts laid out in them.
#include <string>
#include "GlyphOutlines.h"
#include "player/swf/Characters.h"
#include "player/swf/WriterShapes.h"

namespace tesmar::movies {

struct SubsetFont {
    swf::FontDef def;                // name, bold flag, glyphs and codes in code order
    std::vector<double> advances;    // per glyph, em units

    // The glyph index of a character, or -1 when the subset lacks it.
    int indexOf(char character) const;
};

// A bold font named `name` with the glyphs of `characters` (each once,
// sorted by code). False, with error set, when the source lacks one.
bool makeSubsetFont(const GlyphOutlines& source, const std::string& name, const std::string& characters,
                    SubsetFont& out, std::string& error);

// Every distinct character of the texts, sorted: the glyph set a font needs.
std::string glyphSet(std::initializer_list<std::string> texts);

// One line of static text in a single font, colour and height (twips per
// em), horizontally centred on x = 0 with its baseline at y = baseline.
swf::StaticText centredLine(const SubsetFont& font, uint16_t fontId, const std::string& text,
                            uint16_t heightTwips, Rgba color, int32_t baseline = 0);

// The baseline (twips) that centres the ink of a line's glyphs on y = 0.
int32_t baselineForVerticalCentre(const SubsetFont& font, const std::string& text, uint16_t heightTwips);

} // namespace tesmar::movies
