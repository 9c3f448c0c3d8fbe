#pragma once
// Fonts (DefineFont 1-3, DefineFontInfo 1-2), static text (DefineText 1-2)
// and text fields (DefineEditText).
#include <optional>
#include "player/swf/Characters.h"
#include "player/swf/Reader.h"

namespace tesmar::swf {

// Each reads a tag body positioned after the character id.
std::optional<FontDef> readFont1(Reader& body);
std::optional<FontDef> readFont2(Reader& body, int fontVersion);   // 2 or 3
// DefineFontInfo (version 1) or DefineFontInfo2 (version 2) after the font id.
bool readFontInfo(Reader& body, int version, FontDef& font);
std::optional<TextDef> readText(Reader& body, int textVersion);
std::optional<EditTextDef> readEditText(Reader& body);

} // namespace tesmar::swf
