#pragma once
// The Button class that buttons on stage belong to as script objects.
namespace tesmar::script {
class Object;
class VM;
}

namespace tesmar::bridge {

class ScriptBridge;

void installButtonClass(ScriptBridge& bridge);
// Button.prototype, or nullptr before installButtonClass.
script::Object* buttonPrototype(script::VM& vm);

} // namespace tesmar::bridge
