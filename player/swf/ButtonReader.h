#pragma once
// DefineButton, DefineButton2 and DefineButtonCxform.
#include <optional>
#include "player/swf/Characters.h"
#include "player/swf/Reader.h"

namespace tesmar::swf {

// body positioned after the character id; buttonVersion is 1 or 2.
std::optional<ButtonDef> readButton(Reader& body, int buttonVersion);

} // namespace tesmar::swf
