#include "player/bridge/TextField.h"
#include <cmath>
#include "player/bridge/ClipEditing.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/bridge/TextSnapshot.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

constexpr const char* kPrototypeKey = "prototype";


stage::MovieClip* thisClip(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(c.vm.liveClip(static_cast<script::ClipObject*>(c.thisObject)));
    return clip ? clip->clip() : nullptr;
}

// createTextField(name, depth, x, y, width, height): an empty dynamic field
// in this clip. From SWF 8 it answers the new field.
Value createTextField(CallContext& c) {
    stage::MovieClip* self = thisClip(c);
    if (!self || c.count() < 6) return Value();
    double n[5];
    for (size_t i = 0; i < 5; ++i) {
        // Whole pixels: the player drops fractions here.
        n[i] = std::trunc(c.vm.toNumber(c.arg(i + 1)));
        if (!std::isfinite(n[i])) n[i] = 0;
    }
    const double width = std::abs(n[3]) * 20, height = std::abs(n[4]) * 20;
    auto field = std::make_unique<stage::EditText>(self->context(), self->loadedMovie(), Rect{0, 0, width, height},
                                                   self->context().host);
    Matrix at;
    at.tx = std::round(n[1] * 20);
    at.ty = std::round(n[2] * 20);
    field->setMatrix(at);
    const int depth = int(std::clamp(std::trunc(n[0]), double(-kScriptDepthOffset), double(kMaxScriptDepth)));
    stage::DisplayObject* added = addScriptChild(*self, std::move(field), c.vm.toString(c.arg(0)), depth);
    if (c.vm.swfVersion() < 8 || !added) return Value();
    StageClip* object = bridgeOf(c).objectFor(added);
    return object ? Value(static_cast<script::Object*>(object)) : Value();
}

Value removeTextField(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    if (!field || !removable(*field)) return Value();
    bridgeOf(c).focus().leaving(*field);
    removeClip(*field);
    return Value();
}

Value getDepth(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    return field ? Value(scriptDepth(*field)) : Value();
}

// Puts text from a script in place of characters [begin, end): entered as
// typing enters it, without the limits that hold only for a user's typing.
void replaceRange(stage::EditText& field, size_t begin, size_t end, const std::string& text) {
    const auto restrict = field.restrict;
    const int maxChars = field.maxChars;
    const bool multiline = field.multiline;
    field.restrict.reset();
    field.maxChars = 0;
    field.multiline = true;
    field.setSelection(begin, end);
    field.typeText(stage::decodeText(text));
    field.restrict = restrict;
    field.maxChars = maxChars;
    field.multiline = multiline;
}

// replaceSel(text): the selection becomes text.
Value replaceSel(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    if (field && c.count() >= 1)
        replaceRange(*field, field->selectionBegin(), field->selectionEnd(), c.vm.toString(c.arg(0)));
    return Value();
}

// replaceText(begin, end, text)
Value replaceText(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    if (!field || c.count() < 3) return Value();
    const double length = double(field->styledText().size());
    auto index = [&](size_t i) {
        const double n = c.vm.toNumber(c.arg(i));
        return size_t(std::isfinite(n) ? std::clamp(std::trunc(n), 0.0, length) : 0.0);
    };
    const size_t begin = index(0), end = index(1);
    if (begin <= end) replaceRange(*field, begin, end, c.vm.toString(c.arg(2)));
    return Value();
}

Value textFieldConstructor(CallContext& c) { return Value(c.thisObject); }

// Every field broadcasts (onChanged, onScroller) to its own listeners, the
// field itself first among them. The list is made when first used.
Value listenersGetter(CallContext& c) {
    if (!editTextOf(c.vm, c.thisObject)) return Value();
    script::ArrayObject* list = c.vm.newArray({Value(c.thisObject)});
    c.thisObject->put("_listeners", Value(static_cast<script::Object*>(list)), script::DontEnum);
    return Value(static_cast<script::Object*>(list));
}

Value listenersSetter(CallContext& c) {
    if (c.thisObject) c.thisObject->put("_listeners", c.arg(0), script::DontEnum);
    return Value();
}

void makeFieldsBroadcasters(script::VM& vm, script::Object* prototype) {
    const Value broadcaster = vm.get(vm.global(), "AsBroadcaster");
    if (!broadcaster.isObject()) return;
    for (const char* name : {"broadcastMessage", "addListener", "removeListener"})
        prototype->put(name, vm.get(broadcaster.object(), name), script::DontEnum);
    script::Property& listeners = prototype->put("_listeners", Value(), script::DontEnum);
    listeners.accessor = true;
    listeners.getter = vm.newNative(listenersGetter);
    listeners.setter = vm.newNative(listenersSetter);
}

} // namespace

stage::EditText* editTextOf(script::VM& vm, script::Object* object) {
    if (!object || object->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(vm.liveClip(static_cast<script::ClipObject*>(object)));
    return clip ? dynamic_cast<stage::EditText*>(clip->object()) : nullptr;
}

void announceTyping(ScriptBridge& bridge, stage::EditText& field) {
    storeBoundVariable(bridge, field);
    script::VM* vm = bridge.vm();
    StageClip* object = bridge.objectFor(&field);
    if (!vm || vm->stopped() || !object) return;
    const Value self(static_cast<script::Object*>(object));
    vm->callSafely(vm->get(object, "broadcastMessage"), self, {Value("onChanged"), self});
}

script::Object* textFieldPrototype(script::VM& vm) {
    const Value constructor = vm.get(vm.global(), "TextField");
    if (!constructor.isObject()) return nullptr;
    const script::Property* p = constructor.object()->findOwn(kPrototypeKey);
    return p && p->value.isObject() ? p->value.object() : nullptr;
}

void installTextField(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::FunctionObject* constructor = vm.newNative(textFieldConstructor);
    script::Object* prototype = vm.attachPrototype(constructor);
    vm.defineNative(prototype, "removeTextField", removeTextField);
    vm.defineNative(prototype, "getDepth", getDepth);
    vm.defineNative(prototype, "replaceSel", replaceSel);
    vm.defineNative(prototype, "replaceText", replaceText, script::DontEnum | script::OnlySwf7Up);
    installTextFieldProperties(vm, prototype);
    installTextFormat(vm, prototype);
    makeFieldsBroadcasters(vm, prototype);
    vm.global()->put("TextField", Value(static_cast<script::Object*>(constructor)), script::DontEnum);
    vm.defineNative(vm.protos().movieClip, "createTextField", createTextField);
    installTextSnapshot(bridge);
}

} // namespace tesmar::bridge
