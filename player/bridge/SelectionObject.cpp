// The Selection global: which object holds keyboard focus, and the selected
// characters of the focused text field. Without a focused field (or while
// one is just arriving) the indices read -1.
#include <cmath>
#include "player/bridge/FocusManager.h"
#include "player/bridge/KeyMouseObjects.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// A display object named by a value: a clip or text field object, or a target path.
stage::DisplayObject* objectArg(CallContext& c, const Value& v) {
    script::ClipObject* clip = nullptr;
    if (v.isObject() && v.object()->kind() == script::ObjectKind::Clip)
        clip = c.vm.liveClip(static_cast<script::ClipObject*>(v.object()));
    else if (v.isString())
        clip = c.vm.resolveClipPath(c.vm.host().level(0), v.string());
    auto* stageClip = dynamic_cast<StageClip*>(clip);
    return stageClip ? stageClip->object() : nullptr;
}

Value getFocus(CallContext& c) {
    bridgeOf(c).focus().dropRemoved();
    stage::DisplayObject* object = bridgeOf(c).focus().focused();
    StageClip* clip = bridgeOf(c).objectFor(object);
    return clip ? Value(clip->targetPath()) : Value::null();
}

Value setFocus(CallContext& c) {
    FocusManager& focus = bridgeOf(c).focus();
    focus.dropRemoved();
    if (c.arg(0).isNullish()) {
        focus.setFocus(nullptr);
        return Value(true);
    }
    stage::DisplayObject* object = objectArg(c, c.arg(0));
    if (!object || !focus.focusable(*object)) return Value(false);
    focus.setFocus(object);
    return Value(true);
}

enum class Index { Begin, End, Caret };

template <Index Which>
Value getIndex(CallContext& c) {
    const stage::EditText* field = bridgeOf(c).focus().selectedField();
    if (!field) return Value(-1);
    switch (Which) {
    case Index::Begin: return Value(double(field->selectionBegin()));
    case Index::End: return Value(double(field->selectionEnd()));
    case Index::Caret: return Value(double(field->caretIndex()));
    }
    return Value(-1);
}

// setSelection(from, to): the caret goes to `to`; an index past either end
// (or a missing `to`) stops at that end.
Value setSelection(CallContext& c) {
    stage::EditText* field = bridgeOf(c).focus().selectedField();
    if (!field || c.count() == 0) return Value();
    const double length = double(field->styledText().size());
    auto index = [&](const Value& v) {
        const double n = v.isUndefined() ? length : c.vm.toNumber(v);
        return size_t(std::isnan(n) ? 0 : std::clamp(std::trunc(n), 0.0, length));
    };
    field->selectTowards(index(c.arg(0)), index(c.arg(1)));
    return Value();
}

} // namespace

void installSelectionMethods(script::VM& vm, script::Object* selection) {
    vm.defineNative(selection, "getFocus", getFocus);
    vm.defineNative(selection, "setFocus", setFocus);
    vm.defineNative(selection, "getBeginIndex", getIndex<Index::Begin>);
    vm.defineNative(selection, "getEndIndex", getIndex<Index::End>);
    vm.defineNative(selection, "getCaretIndex", getIndex<Index::Caret>);
    vm.defineNative(selection, "setSelection", setSelection);
}

} // namespace tesmar::bridge
