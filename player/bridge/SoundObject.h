#pragma once
// The Sound class. The player has no audio output: sounds are never heard,
// but a sound object keeps the volume, pan and channel mix of the clip it
// controls, knows the duration of a sound attached from the movie's library
// and reports the position of a started sound as time passes.

namespace tesmar::bridge {

class ScriptBridge;

void installSound(ScriptBridge& bridge);

} // namespace tesmar::bridge
