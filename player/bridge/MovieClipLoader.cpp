// MovieClipLoader: loads movies and images into clips and levels and
// broadcasts their progress (onLoadStart, onLoadProgress, onLoadComplete,
// onLoadInit, onLoadError) to its listeners, itself the first of them.
#include "player/Player.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/Loading.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/BuiltinBroadcaster.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

LoadQueue& loadsOf(CallContext& c) { return bridgeOf(c).player().loads(); }

// A target as the loader's methods take it: a clip, a level number or a
// path; other objects name nothing.
std::optional<LoadTarget> targetArgument(CallContext& c) {
    const Value target = c.arg(1);
    if (target.isObject() && target.object()->kind() != script::ObjectKind::Clip) return std::nullopt;
    if (!target.isObject() && !target.isNumber() && !target.isString()) return std::nullopt;
    return loadsOf(c).targetOf(target, nullptr);
}

Value construct(CallContext& c) {
    if (!c.thisObject) return Value();
    script::makeBroadcaster(c.vm, c.thisObject);
    c.vm.callMethod(Value(c.thisObject), "addListener", {Value(c.thisObject)});
    return Value();
}

// loadClip(url, target): false when the target names no clip or level.
Value loadClip(CallContext& c) {
    if (c.count() < 2) return Value();
    if (!c.arg(0).isString()) return Value(false);
    std::optional<LoadTarget> target = targetArgument(c);
    if (!target) return Value(false);
    LoadQueue& loads = loadsOf(c);
    loads.loadMovie(*target, loads.request(c.arg(0).string(), 0, {}), c.thisObject);
    return Value(true);
}

Value unloadClip(CallContext& c) {
    if (c.count() < 1) return Value();
    std::optional<LoadTarget> target = loadsOf(c).targetOf(c.arg(0), nullptr);
    const Value first = c.arg(0);
    if (!target || (first.isObject() && first.object()->kind() != script::ObjectKind::Clip)) return Value(false);
    loadsOf(c).unload(*target);
    return Value(true);
}

// getProgress(target): {bytesLoaded, bytesTotal}, both undefined when the
// target names nothing; undefined for what cannot be a target at all.
Value getProgress(CallContext& c) {
    const Value target = c.arg(0);
    if (c.count() < 1 || target.isNullish()) return Value();
    if (target.isObject() && target.object()->kind() != script::ObjectKind::Clip) return Value();
    script::Object* progress = c.vm.newObject();
    Value loaded, total;
    if (std::optional<LoadTarget> where = loadsOf(c).targetOf(target, nullptr)) {
        stage::Stage& stage = bridgeOf(c).stage();
        stage::DisplayObject* object = where->clip ? stage.find(where->clip) : stage.level(where->level);
        if (object) loaded = total = Value(double(loadsOf(c).bytesOf(object->loadedMovie().movie())));
    }
    c.vm.set(progress, "bytesLoaded", loaded);
    c.vm.set(progress, "bytesTotal", total);
    return Value(progress);
}

} // namespace

void installMovieClipLoader(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::FunctionObject* loader = vm.newNative(construct);
    script::Object* proto = vm.attachPrototype(loader);
    vm.defineNative(proto, "loadClip", loadClip);
    vm.defineNative(proto, "unloadClip", unloadClip);
    vm.defineNative(proto, "getProgress", getProgress);
    vm.global()->put("MovieClipLoader", Value(static_cast<script::Object*>(loader)), script::DontEnum);
}

} // namespace tesmar::bridge
