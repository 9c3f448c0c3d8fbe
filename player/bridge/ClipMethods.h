#pragma once
// The MovieClip methods that need the display list (depths, new clips,
// bounds, hit tests, coordinates), added to MovieClip.prototype.

namespace tesmar::script {
class VM;
}

namespace tesmar::bridge {

class ScriptBridge;

void installClipMethods(ScriptBridge& bridge);
// Stage.width, height, scaleMode, align and displayState (StageObject.cpp;
// installClipMethods calls it).
void installStageObject(ScriptBridge& bridge);
// blendMode, cacheAsBitmap and setMask (ClipDisplayProperties.cpp).
void installClipDisplayProperties(script::VM& vm);

} // namespace tesmar::bridge
