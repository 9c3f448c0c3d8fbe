#pragma once
// The HTML subset of text fields: <p align>, <br>, <b>, <i>, <u>,
// <font face size color letterSpacing>, <a href target>, <li>,
// <textformat leftmargin rightmargin indent leading> and character
// entities. Other tags are skipped, their text kept.
#include <string>
#include <string_view>
#include "player/stage/EditTextFormat.h"

namespace tesmar::stage {

// Reads html into styled text, starting from the format base. With
// condenseWhite, runs of white space shrink to one space and line breaks
// come only from tags.
StyledText parseHtml(std::string_view html, const TextFormat& base, bool condenseWhite = false);

// The htmlText that a field reports: one <P> per paragraph, a <FONT> per run.
std::string toHtml(const StyledText& text);

} // namespace tesmar::stage
