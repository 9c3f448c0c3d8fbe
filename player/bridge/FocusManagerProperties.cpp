// tabIndex of buttons and clips: a whole number kept with the object's
// script object. A value that is no number or lies outside 32 bits reads
// as the smallest 32-bit number, as the reference player stores it;
// undefined takes the index away (a level's root keeps any value as it
// is). Buttons list the property in for..in,
// clips do not.
#include <climits>
#include <cmath>
#include "player/bridge/FocusManager.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

constexpr const char* kTabIndexSlot = "$tabIndex";

stage::DisplayObject* displayObject(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(c.vm.liveClip(static_cast<script::ClipObject*>(c.thisObject)));
    return clip ? clip->object() : nullptr;
}

Value getTabIndex(CallContext& c) {
    if (!displayObject(c)) return Value();
    const script::Property* held = c.thisObject->findOwn(kTabIndexSlot);
    return held ? held->value : Value();
}

Value setTabIndex(CallContext& c) {
    stage::DisplayObject* object = displayObject(c);
    if (!object) return Value();
    // A level's root keeps whatever it is given.
    if (!object->parent()) {
        c.thisObject->put(kTabIndexSlot, c.arg(0), script::DontEnum);
        return Value();
    }
    if (c.arg(0).isUndefined()) {
        c.thisObject->remove(kTabIndexSlot);
        return Value();
    }
    const double n = std::trunc(c.vm.toNumber(c.arg(0)));
    const double index = std::isnan(n) || n < INT_MIN || n > INT_MAX ? double(INT_MIN) : n;
    c.thisObject->put(kTabIndexSlot, Value(index), script::DontEnum);
    return Value();
}

void addTabIndex(script::VM& vm, script::Object* prototype, uint16_t flags) {
    script::Property& p = prototype->put("tabIndex", Value(), flags);
    p.accessor = true;
    p.getter = vm.newNative(getTabIndex);
    p.setter = vm.newNative(setTabIndex);
}

} // namespace

void installTabIndex(script::VM& vm, script::Object* buttonPrototype) {
    addTabIndex(vm, buttonPrototype, script::DontDelete | script::OnlySwf6Up);
    addTabIndex(vm, vm.protos().movieClip, script::DontDelete | script::DontEnum | script::OnlySwf6Up);
}

} // namespace tesmar::bridge
