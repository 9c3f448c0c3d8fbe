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
// come only from tags. A field that is not multiline takes no break from
// a paragraph or a <br>.
StyledText parseHtml(std::string_view html, const TextFormat& base, bool condenseWhite = false, bool multiline = true);

// The htmlText that a field reports: per paragraph a <P> (or <LI>) inside a
// <TEXTFORMAT> when it has margins, indents, leading or tab stops; the
// paragraph's first format as a full <FONT>, and later runs as nested <FONT>
// tags naming only what changed. empty is the format of a field without text.
std::string toHtml(const StyledText& text, const TextFormat& empty);

} // namespace tesmar::stage
