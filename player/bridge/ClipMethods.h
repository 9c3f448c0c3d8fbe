#pragma once
// The MovieClip methods that need the display list (depths, new clips,
// bounds, hit tests, coordinates), added to MovieClip.prototype.

namespace tesmar::bridge {

class ScriptBridge;

void installClipMethods(ScriptBridge& bridge);
// Stage.width, height, scaleMode, align and displayState (StageObject.cpp;
// installClipMethods calls it).
void installStageObject(ScriptBridge& bridge);

} // namespace tesmar::bridge
