#include "player/bridge/FocusManager.h"
#include "player/Player.h"
#include <algorithm>
#include <cmath>
#include "player/bridge/KeyMouseObjects.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"
#include "player/stage/EditText.h"

namespace tesmar::bridge {

using stage::DisplayObject;

DisplayObject* FocusManager::focused() const { return focused_ ? bridge_.stage().find(focused_) : nullptr; }

bool FocusManager::focusable(const DisplayObject& object) {
    if (object.kind() == DisplayObject::Kind::Button || dynamic_cast<const stage::EditText*>(&object)) return true;
    // A level's root never takes focus.
    if (object.kind() != DisplayObject::Kind::Clip || !object.parent()) return false;
    if (hasPointerHandler(bridge_, object)) return true;
    const script::Value enabled = objectProperty(bridge_, object, "focusEnabled");
    return bridge_.vm() && bridge_.vm()->toBoolean(enabled);
}

void FocusManager::leaving(const DisplayObject& object) {
    for (const DisplayObject* o = focused(); o; o = o->parent())
        if (o == &object) return moveFocus(nullptr);
}

void FocusManager::dropRemoved() {
    if (!focused_ || focused()) return;
    StageClip* old = bridge_.knownObject(focused_);
    focused_ = 0;
    selectionShown_ = highlight_ = false;
    const script::Value oldValue = old ? script::Value(static_cast<script::Object*>(old)) : script::Value::null();
    broadcastToListeners(bridge_, "Selection", "onSetFocus", {oldValue, script::Value::null()});
}

void FocusManager::setFocus(DisplayObject* object) {
    DisplayObject* old = focused();
    // The roll events are queued ahead of any that the focus events cause.
    if (object != old) rollOnto(old, object);
    moveFocus(object);
    if (auto* field = dynamic_cast<stage::EditText*>(focused()); field && field == object) {
        field->setSelection(0, field->styledText().size());
        selectionShown_ = true;
    }
    // Focus events may have moved focus on again.
    if (object != old && focused() == object) markFocus(object);
}

void FocusManager::loseFocus() {
    DisplayObject* old = focused();
    if (!old) return;
    rollOnto(old, nullptr);
    bridge_.player().runScripts();
    moveFocus(nullptr);
}

void FocusManager::rollOnto(const DisplayObject* old, DisplayObject* object) {
    // Text fields take no roll events.
    if (dynamic_cast<stage::EditText*>(object)) object = nullptr;
    bridge_.stage().rollByFocus(old, object);
}

void FocusManager::markFocus(DisplayObject* object) {
    highlight_ = object && focused() == object && !dynamic_cast<stage::EditText*>(object) && showsFocusRect(*object);
}

void FocusManager::moveFocus(DisplayObject* object) {
    DisplayObject* old = focused();
    if (object == old) return;
    focused_ = object ? object->serial() : 0;
    keysReachFocus_ = true;
    // A field that loses focus loses its selection.
    selectionShown_ = false;
    if (auto* field = dynamic_cast<stage::EditText*>(old)) field->setSelection(0, 0);
    const script::Value oldValue = objectValue(bridge_, old), newValue = objectValue(bridge_, object);
    if (old) callObjectMethod(bridge_, *old, "onKillFocus", {newValue});
    if (object) callObjectMethod(bridge_, *object, "onSetFocus", {oldValue});
    broadcastToListeners(bridge_, "Selection", "onSetFocus", {oldValue, newValue});
    if (focused() == object && dynamic_cast<stage::EditText*>(object)) selectionShown_ = true;
}

stage::EditText* FocusManager::selectedField() const {
    return selectionShown_ ? dynamic_cast<stage::EditText*>(focused()) : nullptr;
}

script::Value FocusManager::focusRect(const DisplayObject& object, int swfVersion) const {
    if (swfVersion < 6) return script::Value(focusRect_ ? 1 : 0);
    if (!object.parent()) return script::Value(focusRect_);
    auto it = ownFocusRects_.find(object.serial());
    return it == ownFocusRects_.end() ? script::Value::null() : script::Value(it->second);
}

void FocusManager::setFocusRect(script::VM& vm, const DisplayObject& object, int swfVersion,
                                const script::Value& value) {
    if (swfVersion >= 6 && object.parent()) {
        if (value.isNullish()) ownFocusRects_.erase(object.serial());
        else ownFocusRects_[object.serial()] = vm.toBoolean(value);
        return;
    }
    // The player-wide setting takes numbers: an object counts as 0, and
    // what is no number (undefined, null, NaN) leaves it as it was.
    if (value.isNullish()) return;
    const double n = value.isObject() ? 0 : vm.toNumber(value);
    if (!std::isnan(n)) focusRect_ = n != 0;
}

bool FocusManager::showsFocusRect(const DisplayObject& object) const {
    auto it = ownFocusRects_.find(object.serial());
    return it == ownFocusRects_.end() ? focusRect_ : it->second;
}

void FocusManager::mouseUsed(MouseUse use) {
    const DisplayObject* object = focused();
    if (object && (use == MouseUse::Press || object->loadedMovie().version() <= 8)) highlight_ = keysReachFocus_ = false;
}

namespace {

bool isFalse(const script::Value& v) { return v.isBoolean() && !v.boolean(); }
bool isTrue(const script::Value& v) { return v.isBoolean() && v.boolean(); }

// Where an object's box starts on the stage, for the automatic order.
Point stageTopLeft(const DisplayObject& object) {
    const Rect r = stage::Stage::stageMatrix(object).transform(object.bounds());
    return {r.xMin, r.yMin};
}

} // namespace

void FocusManager::collectTabbable(DisplayObject& object, std::vector<DisplayObject*>& out) {
    if (!object.visible()) return;
    const script::Value tabEnabled = objectProperty(bridge_, object, "tabEnabled");
    if (object.kind() == DisplayObject::Kind::Button) {
        if (!isFalse(tabEnabled)) out.push_back(&object);
        return;
    }
    if (auto* text = dynamic_cast<stage::EditText*>(&object)) {
        if (text->editable && !isFalse(tabEnabled)) out.push_back(&object);
        return;
    }
    auto* clip = dynamic_cast<stage::MovieClip*>(&object);
    if (!clip) return;
    if (clip->parent() && (isTrue(tabEnabled) || (!isFalse(tabEnabled) && takesMouse(bridge_, *clip))))
        out.push_back(clip);
    if (isFalse(objectProperty(bridge_, *clip, "tabChildren"))) return;
    for (const auto& [depth, child] : clip->children()) collectTabbable(*child, out);
}

std::vector<DisplayObject*> FocusManager::tabOrder() {
    std::vector<DisplayObject*> all;
    for (const auto& [number, root] : bridge_.stage().levels()) collectTabbable(*root, all);
    // Objects with a tab index, when any has one, go by index alone, read
    // as a signed 32-bit number; -1 leaves an object out.
    std::vector<std::pair<int32_t, DisplayObject*>> indexed;
    bool anyIndex = false;
    for (DisplayObject* object : all) {
        const script::Value index = objectProperty(bridge_, *object, "tabIndex");
        if (!index.isNumber() || !std::isfinite(index.number())) continue;
        anyIndex = true;
        const int32_t signedIndex = bridge_.vm()->toInt32(index);
        if (signedIndex != -1) indexed.push_back({signedIndex, object});
    }
    if (anyIndex) {
        std::stable_sort(indexed.begin(), indexed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<DisplayObject*> order;
        for (const auto& [index, object] : indexed) order.push_back(object);
        return order;
    }
    std::stable_sort(all.begin(), all.end(), [](DisplayObject* a, DisplayObject* b) {
        const Point pa = stageTopLeft(*a), pb = stageTopLeft(*b);
        return pa.y != pb.y ? pa.y < pb.y : pa.x < pb.x;
    });
    return all;
}

void FocusManager::tab(bool backwards) {
    const std::vector<DisplayObject*> order = tabOrder();
    if (order.empty()) return;
    DisplayObject* current = focused();
    auto it = std::find(order.begin(), order.end(), current);
    DisplayObject* next = nullptr;
    if (it == order.end()) next = backwards ? order.back() : order.front();
    else if (backwards) next = it == order.begin() ? order.back() : *(it - 1);
    else next = it + 1 == order.end() ? order.front() : *(it + 1);
    if (next != current) {
        // The roll events run before the focus events (and may remove next).
        const uint64_t serial = next->serial();
        rollOnto(current, next);
        bridge_.player().runScripts();
        next = bridge_.stage().find(serial);
        if (!next) return;
    }
    setFocus(next);
    markFocus(next);
}

} // namespace tesmar::bridge
