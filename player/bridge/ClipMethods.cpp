#include "player/bridge/ClipMethods.h"
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include "player/bridge/ClipEditing.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/Convert.h"
#include "player/script/VM.h"
#include "player/stage/EditText.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;


stage::DisplayObject* thisObject(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(c.vm.liveClip(static_cast<script::ClipObject*>(c.thisObject)));
    return clip ? clip->object() : nullptr;
}

stage::MovieClip* thisClip(CallContext& c) { return dynamic_cast<stage::MovieClip*>(thisObject(c)); }

Value objectValue(CallContext& c, stage::DisplayObject* object) {
    StageClip* clip = bridgeOf(c).objectFor(object);
    return clip ? Value(static_cast<script::Object*>(clip)) : Value();
}

// A depth argument: a finite number, wrapped to 32 bits as the player's
// integers are (kept clear of overflow when offset); else nothing happens.
bool depthArg(CallContext& c, size_t i, int& depth) {
    const double n = c.vm.toNumber(c.arg(i));
    if (!std::isfinite(n)) return false;
    depth = std::min(script::toInt32(n), INT32_MAX - kScriptDepthOffset);
    return true;
}

// Another clip named by a value: a clip object or a target path.
stage::DisplayObject* clipArg(CallContext& c, const Value& v) {
    script::ClipObject* clip = nullptr;
    if (v.isObject() && v.object()->kind() == script::ObjectKind::Clip) {
        clip = c.vm.liveClip(static_cast<script::ClipObject*>(v.object()));
    } else if (v.isString()) {
        auto* self = c.thisObject && c.thisObject->kind() == script::ObjectKind::Clip
                         ? static_cast<script::ClipObject*>(c.thisObject) : nullptr;
        if (self) clip = c.vm.resolveClipPath(self, v.string());
    }
    auto* stageClip = dynamic_cast<StageClip*>(clip);
    return stageClip ? stageClip->object() : nullptr;
}

// A character by its ExportAssets name; names ignore case.
uint16_t exportedId(const swf::Movie& movie, const std::string& name) {
    auto same = [](const std::string& a, const std::string& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        });
    };
    for (const auto& [exported, id] : movie.exports)
        if (same(exported, name)) return id;
    return 0;
}

Value getDepth(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    return self ? Value(scriptDepth(*self)) : Value();
}

Value getNextHighestDepth(CallContext& c) {
    stage::MovieClip* self = thisClip(c);
    if (!self) return Value();
    int next = 0;
    if (!self->children().empty()) next = std::max(0, scriptDepth(*self->children().rbegin()->second) + 1);
    return Value(next);
}

// The object at a script depth; shapes and static texts, which scripts
// cannot reach, answer with the clip that holds them.
Value getInstanceAtDepth(CallContext& c) {
    stage::MovieClip* self = thisClip(c);
    int depth = 0;
    if (!self || c.count() == 0 || !depthArg(c, 0, depth)) return Value();
    stage::DisplayObject* child = self->childAt(listDepth(depth));
    if (!child) return Value();
    using Kind = stage::DisplayObject::Kind;
    const bool reachable = child->kind() == Kind::Clip || child->kind() == Kind::Button ||
                           dynamic_cast<stage::EditText*>(child);
    return objectValue(c, reachable ? child : self);
}

Value createEmptyMovieClip(CallContext& c) {
    stage::MovieClip* self = thisClip(c);
    int depth = 0;
    if (!self || c.count() < 2 || !depthArg(c, 1, depth)) return Value();
    auto clip = makeEmptyClip(*self);
    return objectValue(c, addScriptChild(*self, std::move(clip), c.vm.toString(c.arg(0)), depth));
}

Value attachMovie(CallContext& c) {
    stage::MovieClip* self = thisClip(c);
    int depth = 0;
    if (!self || c.count() < 3 || !depthArg(c, 2, depth)) return Value();
    const swf::Movie& movie = self->loadedMovie().movie();
    const std::string exportName = c.vm.toString(c.arg(0));
    const uint16_t id = exportedId(movie, exportName);
    if (!id) return Value();
    auto object = stage::createObject(self->context(), self->loadedMovie(), id);
    if (!dynamic_cast<stage::MovieClip*>(object.get())) return Value();
    stage::DisplayObject* added = addScriptChild(*self, std::move(object), c.vm.toString(c.arg(1)), depth);
    Value result = objectValue(c, added);
    // The init object's properties become the new clip's variables, oldest
    // first (a setter sees the ones assigned before it).
    if (result.isObject() && c.count() > 3 && c.arg(3).isObject()) {
        script::Object* init = c.arg(3).object();
        std::vector<std::string> names = c.vm.enumerate(init);
        for (auto it = names.rbegin(); it != names.rend(); ++it) c.vm.set(result.object(), *it, c.vm.get(init, *it));
    }
    return result;
}

Value swapDepths(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    if (!self || !self->parent() || c.count() == 0) return Value();
    stage::MovieClip& parent = *self->parent();
    const Value arg = c.arg(0);
    if (arg.isUndefined()) return Value();
    int target;
    if (stage::DisplayObject* other = clipArg(c, arg)) {
        if (other->parent() != &parent) return Value();
        target = other->depth();
    } else if (arg.isObject() && arg.object()->kind() == script::ObjectKind::Clip) {
        return Value();
    } else {
        // Any other value is a depth (NaN is 0); swaps reach a little less
        // high than new clips go.
        const int depth = std::min(script::toInt32(c.vm.toNumber(arg)), INT32_MAX - kScriptDepthOffset);
        if (depth < -kScriptDepthOffset || depth > kMaxScriptDepth - kScriptDepthOffset) return Value();
        target = listDepth(depth);
    }
    parent.swapDepths(self->depth(), target);
    self->setPlacedByTimeline(false);
    return Value();
}

Value getBounds(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    if (!self) return Value();
    stage::DisplayObject* space = c.count() > 0 ? clipArg(c, c.arg(0)) : self;
    if (!space) return Value();
    // Own space to the target space, through the stage.
    const Matrix toSpace = stage::Stage::stageMatrix(*space).inverse() * stage::Stage::stageMatrix(*self);
    Rect r = toSpace.transform(self->bounds());
    script::Object* out = c.vm.newObject();
    // An empty clip answers with the largest twips value, 2^27 - 1.
    const bool none = r.empty();
    // An SWF 8 clip that a script made empty keeps float bounds from the start.
    stage::Context& context = self->context();
    const bool newer = self->loadedMovie().version() >= 8;
    auto* clip = dynamic_cast<stage::MovieClip*>(self);
    const bool madeEmpty = clip && clip->characterId() == 0 && &clip->timeline() != &clip->loadedMovie().movie().timeline;
    const double empty = context.floatBounds() || (newer && madeEmpty) ? 6710886.4 : 6710886.35;
    // Asking an SWF 8 clip for its bounds moves the player to float bounds.
    if (newer) context.floatBoundsFrom = std::min(context.floatBoundsFrom, context.tick);
    out->put("xMin", Value(none ? empty : r.xMin / 20));
    out->put("xMax", Value(none ? empty : r.xMax / 20));
    out->put("yMin", Value(none ? empty : r.yMin / 20));
    out->put("yMax", Value(none ? empty : r.yMax / 20));
    return Value(out);
}

// localToGlobal / globalToLocal: converts the x and y of a point object.
template <bool ToGlobal>
Value convertPoint(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    if (!self || c.count() == 0 || !c.arg(0).isObject()) return Value();
    script::Object* point = c.arg(0).object();
    const Value xv = c.vm.get(point, "x"), yv = c.vm.get(point, "y");
    if (!xv.isNumber() || !yv.isNumber()) return Value();
    Matrix m = stage::Stage::stageMatrix(*self);
    if (!ToGlobal) m = m.inverse();
    const Point p = m.apply({xv.number() * 20, yv.number() * 20});
    c.vm.set(point, "x", Value(p.x / 20));
    c.vm.set(point, "y", Value(p.y / 20));
    return Value();
}

Value hitTest(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    if (!self) return Value(false);
    // Points and boxes are compared in the space of the level's root.
    const stage::DisplayObject* root = self;
    while (root->parent()) root = root->parent();
    const Matrix fromRoot = stage::Stage::stageMatrix(*root).inverse();
    if (c.count() >= 2) {
        const Point rootPoint{c.vm.toNumber(c.arg(0)) * 20, c.vm.toNumber(c.arg(1)) * 20};
        const Point stagePoint = stage::Stage::stageMatrix(*root).apply(rootPoint);
        const Point local = stage::Stage::stageMatrix(*self).inverse().apply(stagePoint);
        if (c.count() >= 3 && c.vm.toBoolean(c.arg(2))) return Value(self->hitTest(local));
        return Value(self->bounds().contains(local));
    }
    stage::DisplayObject* other = c.count() == 1 ? clipArg(c, c.arg(0)) : nullptr;
    if (!other) return Value(false);
    const Rect a = (fromRoot * stage::Stage::stageMatrix(*self)).transform(self->bounds());
    const Rect b = (fromRoot * stage::Stage::stageMatrix(*other)).transform(other->bounds());
    if (a.empty() || b.empty()) return Value(false);
    return Value(a.xMin <= b.xMax && b.xMin <= a.xMax && a.yMin <= b.yMax && b.yMin <= a.yMax);
}

Value getBytesTotal(CallContext& c) {
    stage::DisplayObject* self = thisObject(c);
    return self ? Value(double(self->loadedMovie().movie().header.fileLength)) : Value();
}

// Object.registerClass(exportName, constructor).
Value registerClass(CallContext& c) {
    // Only a function registers, and null or undefined unregisters.
    const Value constructor = c.arg(1);
    const bool function = constructor.isObject() && constructor.object()->kind() == script::ObjectKind::Function;
    if (c.count() < 2 || (!function && !constructor.isNull() && !constructor.isUndefined())) return Value(false);
    bridgeOf(c).registerClass(c.vm.toString(c.arg(0)), constructor);
    return Value(true);
}

} // namespace

void installClipMethods(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::Object* proto = vm.protos().movieClip;
    struct Method {
        const char* name;
        script::NativeFunction fn;
    };
    const Method methods[] = {
        {"getDepth", getDepth},
        {"getNextHighestDepth", getNextHighestDepth},
        {"getInstanceAtDepth", getInstanceAtDepth},
        {"createEmptyMovieClip", createEmptyMovieClip},
        {"attachMovie", attachMovie},
        {"swapDepths", swapDepths},
        {"getBounds", getBounds},
        {"localToGlobal", convertPoint<true>},
        {"globalToLocal", convertPoint<false>},
        {"hitTest", hitTest},
        {"getBytesLoaded", getBytesTotal},
        {"getBytesTotal", getBytesTotal},
    };
    for (const Method& m : methods) vm.defineNative(proto, m.name, m.fn);
    const Value object = vm.get(vm.global(), "Object");
    if (object.isObject()) vm.defineNative(object.object(), "registerClass", registerClass);
    installStageObject(bridge);
    installClipDisplayProperties(vm);
    // A clip with an onUnload method stays until the method has run.
    bridge.stage().setUnloadTest([&bridge](const stage::DisplayObject& object) {
        StageClip* clip = bridge.objectFor(const_cast<stage::DisplayObject*>(&object));
        const Value method = clip ? bridge.vm()->get(clip, "onUnload") : Value();
        return method.isObject() && method.object()->kind() == script::ObjectKind::Function;
    });
}

} // namespace tesmar::bridge
