#pragma once
// The script classes that reach into the stage: Color, flash.geom.Transform
// (clip.transform), flash.display.BitmapData and the flash.filters classes.
#include "player/script/VM.h"

namespace tesmar::stage {
class DisplayObject;
}

namespace tesmar::bridge {

class ScriptBridge;

void installGeomClasses(ScriptBridge& bridge);

void installColor(script::VM& vm);
void installTransform(script::VM& vm);

// The display object a value names: a clip object (followed to the clip now
// at its path) or a target path resolved from `base`; null when none.
stage::DisplayObject* displayObjectOf(script::VM& vm, const script::Value& value, script::Object* base = nullptr);

// Colour transform numbers kept as the reference player does: signed 16 bits,
// wrapping on overflow.
int32_t wrap16(script::VM& vm, double value);

} // namespace tesmar::bridge
