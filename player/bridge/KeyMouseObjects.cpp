#include "player/bridge/KeyMouseObjects.h"
#include <cmath>
#include "player/bridge/ButtonClass.h"
#include "player/bridge/FocusManager.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/BuiltinBroadcaster.h"
#include "player/script/Builtins.h"
#include "player/script/VM.h"
#include "player/swf/PlaceReader.h"

namespace tesmar::bridge {

using script::CallContext;
using script::Value;

namespace {


int keyArg(CallContext& c) {
    const double n = c.vm.toNumber(c.arg(0));
    return std::isfinite(n) ? int(std::clamp(n, -1.0, 256.0)) : -1;
}

Value keyIsDown(CallContext& c) { return Value(bridgeOf(c).stage().keyboard().isDown(keyArg(c))); }
Value keyIsToggled(CallContext& c) { return Value(bridgeOf(c).stage().keyboard().isToggled(keyArg(c))); }
Value keyGetCode(CallContext& c) { return Value(bridgeOf(c).stage().keyboard().lastCode()); }
Value keyGetAscii(CallContext& c) { return Value(bridgeOf(c).stage().keyboard().lastAscii()); }

script::Object* broadcaster(script::VM& vm, const char* name) {
    script::Object* object = vm.newObject();
    script::makeBroadcaster(vm, object);
    vm.global()->put(name, Value(object), script::DontEnum);
    return object;
}

} // namespace

void installInputObjects(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::Object* key = broadcaster(vm, "Key");
    const std::pair<const char*, int> codes[] = {
        {"ALT", 18}, {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46},
        {"DOWN", 40}, {"END", 35}, {"ENTER", 13}, {"ESCAPE", 27}, {"HOME", 36}, {"INSERT", 45},
        {"LEFT", 37}, {"PGDN", 34}, {"PGUP", 33}, {"RIGHT", 39}, {"SHIFT", 16}, {"SPACE", 32},
        {"TAB", 9}, {"UP", 38}};
    for (auto [name, code] : codes)
        key->put(name, Value(code), script::DontEnum | script::DontDelete | script::ReadOnly);
    vm.defineNative(key, "isDown", keyIsDown);
    vm.defineNative(key, "isToggled", keyIsToggled);
    vm.defineNative(key, "getCode", keyGetCode);
    vm.defineNative(key, "getAscii", keyGetAscii);

    broadcaster(vm, "Mouse");

    script::Object* selection = broadcaster(vm, "Selection");
    installSelectionMethods(vm, selection);

    installButtonClass(bridge);
    bridge.stage().setMouseTest([&bridge](const stage::DisplayObject& object) { return takesMouse(bridge, object); });
}

void broadcastToListeners(ScriptBridge& bridge, const char* global, const char* method, const std::vector<Value>& args) {
    script::VM* vm = bridge.vm();
    if (!vm || vm->stopped()) return;
    const Value target = vm->get(vm->global(), global);
    if (!target.isObject()) return;
    const Value send = vm->get(target.object(), "broadcastMessage");
    std::vector<Value> message{Value(method)};
    message.insert(message.end(), args.begin(), args.end());
    vm->callSafely(send, target, message);
}

void callObjectMethod(ScriptBridge& bridge, stage::DisplayObject& object, const char* method, const std::vector<Value>& args) {
    script::VM* vm = bridge.vm();
    if (!vm || vm->stopped() || vm->swfVersion() < 6) return;
    StageClip* clip = bridge.objectFor(&object);
    if (!clip) return;
    const Value function = vm->get(clip, method);
    if (function.isObject() && function.object()->kind() == script::ObjectKind::Function)
        vm->callSafely(function, Value(static_cast<script::Object*>(clip)), args);
}

Value objectProperty(ScriptBridge& bridge, const stage::DisplayObject& object, const char* name) {
    if (!bridge.vm() || !object.scripted()) return Value();
    StageClip* clip = bridge.objectFor(const_cast<stage::DisplayObject*>(&object));
    return clip ? bridge.vm()->get(clip, name) : Value();
}

Value objectValue(ScriptBridge& bridge, stage::DisplayObject* object) {
    StageClip* clip = bridge.objectFor(object);
    return clip ? Value(static_cast<script::Object*>(clip)) : Value::null();
}

namespace {

constexpr uint32_t kPointerEvents = swf::clipEvent::Press | swf::clipEvent::Release |
                                    swf::clipEvent::ReleaseOutside | swf::clipEvent::RollOver |
                                    swf::clipEvent::RollOut | swf::clipEvent::DragOver | swf::clipEvent::DragOut;

} // namespace

bool hasPointerHandler(ScriptBridge& bridge, const stage::DisplayObject& object) {
    if (object.kind() == stage::DisplayObject::Kind::Button) return true;
    auto* clip = dynamic_cast<const stage::MovieClip*>(&object);
    if (!clip) return false;
    if (clip->clipActions())
        for (const swf::ClipAction& action : *clip->clipActions())
            if (action.events & kPointerEvents) return true;
    if (!bridge.vm() || bridge.vm()->swfVersion() < 6) return false;
    for (const char* name : {"onPress", "onRelease", "onReleaseOutside", "onRollOver", "onRollOut", "onDragOver",
                             "onDragOut"}) {
        const Value method = objectProperty(bridge, object, name);
        if (method.isObject() && method.object()->kind() == script::ObjectKind::Function) return true;
    }
    return false;
}

bool takesMouse(ScriptBridge& bridge, const stage::DisplayObject& object) {
    if (!hasPointerHandler(bridge, object)) return false;
    const Value enabled = objectProperty(bridge, object, "enabled");
    return enabled.isUndefined() || bridge.vm()->toBoolean(enabled);
}

} // namespace tesmar::bridge
