#pragma once
// Glyph outlines and advances taken from a TrueType font file through
// FreeType, in the 1024-unit em square of SWF fonts (y downwards, the
// baseline at 0). Used by the loader builder and the native host's device
// fonts.
#include <memory>
#include <string>
#include "player/geom/Shape.h"

namespace tesmar::movies {

// Units of the em square that SWF (DefineFont2) glyphs are drawn in.
constexpr double kEmUnits = 1024;

class GlyphOutlines {
public:
    // Opens a font file; null with error set when it cannot be read.
    static std::unique_ptr<GlyphOutlines> open(const std::string& path, std::string& error);
    ~GlyphOutlines();

    // The outline of a character's glyph, one path per contour, without
    // styles; false when the font has no glyph for it.
    bool outline(char32_t character, Shape& out) const;
    // The horizontal advance of a character's glyph, in em units.
    double advance(char32_t character) const;
    // How far the font reaches above and below the baseline, in em units.
    double ascent() const;
    double descent() const;

private:
    struct Face;
    explicit GlyphOutlines(std::unique_ptr<Face> face);
    std::unique_ptr<Face> face_;
};

} // namespace tesmar::movies
