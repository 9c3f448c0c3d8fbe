#pragma once
// TextSnapshot: the static text (DefineText) placed directly in a movie
// clip, as one string of characters in depth order, with search, selection
// and the positions of its glyphs; and MovieClip.getTextSnapshot.
#include "player/script/VM.h"

namespace tesmar::bridge {

class ScriptBridge;

void installTextSnapshot(ScriptBridge& bridge);

} // namespace tesmar::bridge
