#pragma once
// The loaders' vector artwork: the maker's logo in four parts, and plain
// rectangles (hit areas, the fade cover, the collection's panel). All
// coordinates are twips; the logo's are relative to its button's origin.
#include <string>
#include "GlyphOutlines.h"
#include "player/geom/Shape.h"

namespace tesmar::movies {

constexpr double kTwipsPerPixel = 20;

// A rectangle filled with one colour, edges on the given twips.
Shape filledRectangle(const Rect& twips, Rgba color);
// A rectangle of width x height pixels centred on (0, 0).
Rect centredRect(double widthPixels, double heightPixels);

// The logo, drawn in this order: a bar with a black-to-blue gradient, the
// maker's name in white on it, a dark shield and a white-to-yellow star
// over the shield.
Shape logoBar();
// The lettering takes its letter forms from the font; false when it lacks one.
bool logoLettering(const GlyphOutlines& font, Shape& out, std::string& error);
Shape logoEmblem();
Shape logoHighlight();

} // namespace tesmar::movies
