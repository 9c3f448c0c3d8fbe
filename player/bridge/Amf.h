#pragma once
// AMF0 as the bridge uses it: a writer that knows the classes registered
// with Object.registerClass, for remoting calls and shared objects.
#include "player/script/AmfWriter.h"

namespace tesmar::bridge {

class ScriptBridge;

script::AmfWriter amfWriter(script::VM& vm, ScriptBridge& bridge);

void installRemoting(ScriptBridge& bridge);
void installSharedObject(ScriptBridge& bridge);

} // namespace tesmar::bridge
