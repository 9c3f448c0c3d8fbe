#include "player/bridge/ButtonClass.h"
#include "player/bridge/ClipEditing.h"
#include "player/bridge/FocusManager.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

stage::DisplayObject* thisButton(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(c.vm.liveClip(static_cast<script::ClipObject*>(c.thisObject)));
    stage::DisplayObject* object = clip ? clip->object() : nullptr;
    return object && object->kind() == stage::DisplayObject::Kind::Button ? object : nullptr;
}

Value getDepth(CallContext& c) {
    stage::DisplayObject* button = thisButton(c);
    return button ? Value(scriptDepth(*button)) : Value();
}

Value buttonConstructor(CallContext& c) { return Value(c.thisObject); }

} // namespace

script::Object* buttonPrototype(script::VM& vm) {
    const Value constructor = vm.get(vm.global(), "Button");
    if (!constructor.isObject()) return nullptr;
    const script::Property* p = constructor.object()->findOwn("prototype");
    return p && p->value.isObject() ? p->value.object() : nullptr;
}

void installButtonClass(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::FunctionObject* constructor = vm.newNative(buttonConstructor);
    script::Object* prototype = vm.attachPrototype(constructor);
    vm.defineNative(prototype, "getDepth", getDepth);
    installTabIndex(vm, prototype);
    // Buttons and clips answer pointer events and show the hand over them
    // until a script says otherwise.
    prototype->put("enabled", Value(true));
    prototype->put("useHandCursor", Value(true));
    vm.protos().movieClip->put("enabled", Value(true), script::DontEnum);
    vm.protos().movieClip->put("useHandCursor", Value(true), script::DontEnum);
    vm.global()->put("Button", Value(static_cast<script::Object*>(constructor)), script::DontEnum);
}

} // namespace tesmar::bridge
