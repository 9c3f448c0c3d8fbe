#pragma once
// Assembles the two loader movies: the showcase's title screen on the
// black stage, and the collection's on a dark blue panel over white.
#include <string>
#include "GlyphOutlines.h"
#include "player/swf/Timeline.h"

namespace tesmar::movies {

enum class Loader { Showcase, Collection };

// The whole SWF file of a loader, drawn with the glyphs of `font`; false
// with error set when the font lacks a glyph.
bool buildLoader(Loader which, const GlyphOutlines& font, swf::Bytes& movie, std::string& error);

} // namespace tesmar::movies
