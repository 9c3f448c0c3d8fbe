#pragma once
// The script side of input: the Key, Mouse and Selection globals with the
// stage's keyboard and the focus behind them, the calls to their listeners,
// and which clips take pointer events.
#include <vector>
#include "player/script/Value.h"
#include "player/stage/DisplayObject.h"

namespace tesmar::script {
class VM;
}

namespace tesmar::bridge {

class ScriptBridge;

// Installs Key, Mouse and Selection and tells the stage which clips take
// pointer events.
void installInputObjects(ScriptBridge& bridge);

// Selection's methods: focus and the focused field's selected characters.
void installSelectionMethods(script::VM& vm, script::Object* selection);

// Calls method with args on every listener of a broadcaster global ("Key",
// "Mouse", "Selection"), as its broadcastMessage does.
void broadcastToListeners(ScriptBridge& bridge, const char* global, const char* method,
                          const std::vector<script::Value>& args = {});

// Calls an object's own event method (button.onKeyDown) when it has one.
void callObjectMethod(ScriptBridge& bridge, stage::DisplayObject& object, const char* method,
                      const std::vector<script::Value>& args = {});

// A script property of a display object, undefined when no script has
// touched the object.
script::Value objectProperty(ScriptBridge& bridge, const stage::DisplayObject& object, const char* name);

// Whether an object acts as a button: a button, or a clip with a pointer
// handler (onPress, on(release)...).
bool hasPointerHandler(ScriptBridge& bridge, const stage::DisplayObject& object);

// Whether a button or clip takes pointer events: a button unless disabled,
// a clip when it has a pointer handler (onPress, on(release)...) and is not
// disabled.
bool takesMouse(ScriptBridge& bridge, const stage::DisplayObject& object);

// The script value for a display object (null for none).
script::Value objectValue(ScriptBridge& bridge, stage::DisplayObject* object);

} // namespace tesmar::bridge
