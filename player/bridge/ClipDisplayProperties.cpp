// MovieClip properties of SWF 8 that change how a clip is drawn:
// blendMode, cacheAsBitmap, and setMask, which makes another clip the mask.
#include <array>
#include "player/bridge/ClipMethods.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/BuiltinGeom.h"
#include "player/script/Convert.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// Blend modes by their number in PlaceObject3; 0 and 1 are both "normal".
constexpr std::array<const char*, 15> kBlendModes = {
    "normal", "normal", "layer", "multiply", "screen", "lighten", "darken", "difference",
    "add", "subtract", "invert", "alpha", "erase", "overlay", "hardlight"};

stage::DisplayObject* thisObject(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(c.vm.liveClip(static_cast<script::ClipObject*>(c.thisObject)));
    return clip ? clip->object() : nullptr;
}

Value getBlendMode(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    if (!self) return Value();
    const uint8_t mode = self->blendMode();
    return Value(mode < kBlendModes.size() ? kBlendModes[mode] : kBlendModes[0]);
}

// Takes a mode's exact name, its number (wrapped to a byte), or null and
// undefined for normal; anything else leaves the mode as it was.
Value setBlendMode(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    if (!self) return Value();
    const Value v = c.arg(0);
    if (v.isUndefined() || v.isNull()) {
        self->setBlendMode(0);
    } else if (v.isNumber()) {
        const int mode = script::toInt32(v.number()) & 0xFF;
        if (mode < int(kBlendModes.size())) self->setBlendMode(uint8_t(mode));
    } else if (v.isString()) {
        for (size_t i = 1; i < kBlendModes.size(); ++i)
            if (v.string() == kBlendModes[i]) self->setBlendMode(uint8_t(i));
    }
    return Value();
}

Value getCacheAsBitmap(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    return self ? Value(self->cacheAsBitmap()) : Value();
}

Value setCacheAsBitmap(CallContext& c) {
    if (stage::DisplayObject* self = thisObject(c)) self->setCacheAsBitmap(c.vm.toBoolean(c.arg(0)));
    return Value();
}

// A clip named by a target path, from near: each part is a child, a
// variable holding a clip, or one of _root, _parent and _levelN.
stage::DisplayObject* clipAtPath(CallContext& c, StageClip* near, const std::string& path) {
    script::Object* at = near;
    size_t i = 0;
    while (at && i <= path.size()) {
        size_t end = path.find_first_of("./:", i);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(i, end - i);
        i = end + 1;
        if (part.empty()) continue;
        const Value next = part == ".." ? c.vm.get(at, "_parent") : c.vm.get(at, part);
        at = next.isObject() && next.object()->kind() == script::ObjectKind::Clip ? next.object() : nullptr;
    }
    auto* clip = dynamic_cast<StageClip*>(at ? c.vm.liveClip(static_cast<script::ClipObject*>(at)) : nullptr);
    return clip ? clip->object() : nullptr;
}

// setMask(clip or path): true when the mask was set or (null, undefined)
// taken away, false when the argument names no clip.
Value setMask(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    if (!self || c.count() == 0) return Value();
    const Value v = c.arg(0);
    stage::DisplayObject* mask = nullptr;
    if (v.isObject()) {
        if (v.object()->kind() != script::ObjectKind::Clip) return Value(false);
        auto* clip = dynamic_cast<StageClip*>(c.vm.liveClip(static_cast<script::ClipObject*>(v.object())));
        mask = clip ? clip->object() : nullptr;
    } else if (!v.isUndefined() && !v.isNull()) {
        // A path is read from the clip's parent, where its siblings are.
        StageClip* near = bridgeOf(c).objectFor(self->parent() ? self->parent() : self);
        mask = clipAtPath(c, near, c.vm.toString(v));
    }
    if (!mask && !v.isUndefined() && !v.isNull()) return Value(false);
    self->setScriptMask(mask);
    return Value(true);
}

} // namespace

void installClipDisplayProperties(script::VM& vm) {
    script::Object* proto = vm.protos().movieClip;
    script::addAccessor(vm, proto, "blendMode", getBlendMode, setBlendMode);
    script::addAccessor(vm, proto, "cacheAsBitmap", getCacheAsBitmap, setCacheAsBitmap);
    for (const char* name : {"blendMode", "cacheAsBitmap"}) proto->findOwn(name)->flags |= script::OnlySwf8Up;
    vm.defineNative(proto, "setMask", setMask);
}

} // namespace tesmar::bridge
