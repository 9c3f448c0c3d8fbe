#include "player/bridge/SoundObject.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/BuiltinGeom.h"
#include "player/script/VM.h"
#include "player/swf/TagCodes.h"

namespace tesmar::bridge {

using script::CallContext;
using script::Object;
using script::Value;

namespace {

SoundObject* soundOf(CallContext& c) { return dynamic_cast<SoundObject*>(c.thisObject); }

// Follows a dot path from `base`; a part names a child clip or, failing
// that, a variable that holds a clip.
script::ClipObject* followPath(script::VM& vm, script::ClipObject* base, const std::string& path) {
    if (script::ClipObject* direct = vm.resolveClipPath(base, path)) return direct;
    script::ClipObject* clip = base;
    for (size_t i = 0; clip && i <= path.size();) {
        size_t end = std::min(path.find('.', i), path.size());
        const std::string part = path.substr(i, end - i);
        i = end + 1;
        if (part.empty()) continue;
        script::ClipObject* next = vm.resolveClipPath(clip, part);
        if (!next) {
            Value held = vm.get(clip, part);
            if (held.isObject() && held.object()->kind() == script::ObjectKind::Clip)
                next = vm.liveClip(static_cast<script::ClipObject*>(held.object()));
        }
        clip = next;
    }
    return clip;
}

// The clip a sound controls. False when its target names no clip now.
bool resolveTarget(script::VM& vm, SoundObject& sound, script::ClipObject*& clip) {
    clip = nullptr;
    if (!sound.hasTarget) return true;
    script::ClipObject* base = sound.absolute ? nullptr : vm.currentClip();
    if (!base) base = vm.host().level(0);
    if (!base) return false;
    clip = followPath(vm, base, sound.path);
    return clip != nullptr;
}

// Numbers become whole percentages as the player converts them: out of
// range (and NaN) gives the lowest integer.
int32_t wholeNumber(double d) {
    if (!(d >= -2147483648.0 && d < 2147483648.0)) return INT32_MIN;
    return int32_t(d);
}

int32_t wrapped(int64_t n) { return int32_t(uint32_t(uint64_t(n))); }

double positionMs(script::VM& vm, const SoundObject& sound) {
    if (!sound.playing) return sound.stoppedAtMs;
    double elapsed = vm.host().timeMs() - sound.startedMs;
    return std::clamp(elapsed, 0.0, double(*sound.durationMs));
}

} // namespace

void SoundClass::trace(script::Tracer& tracer) {
    FunctionObject::trace(tracer);
    for (const auto& [clip, mix] : mixes_) tracer.mark(clip);
    for (SoundObject* sound : playing) tracer.mark(sound);
    tracer.mark(checker);
}

namespace {

// Runs `action` with the mix of the sound's clip; undefined when `this` is
// no sound or its target is gone.
template <class Action>
Value withMix(CallContext& c, Action action) {
    SoundObject* sound = soundOf(c);
    script::ClipObject* clip = nullptr;
    if (!sound || !resolveTarget(c.vm, *sound, clip)) return Value();
    return action(sound->cls.mixOf(clip));
}

Value getVolume(CallContext& c) {
    return withMix(c, [](SoundMix& mix) { return Value(mix.volume); });
}

Value setVolume(CallContext& c) {
    int32_t volume = c.count() ? wholeNumber(c.vm.toNumber(c.arg(0))) : 0;
    withMix(c, [volume](SoundMix& mix) { mix.volume = volume; return Value(); });
    return Value();
}

Value getPan(CallContext& c) {
    return withMix(c, [](SoundMix& mix) {
        // A full left channel means the pan went right, if anywhere.
        int64_t pan = mix.ll == 100 ? std::llabs(int64_t(mix.rr)) - 100 : 100 - std::llabs(int64_t(mix.ll));
        return Value(wrapped(pan));
    });
}

Value setPan(CallContext& c) {
    int32_t pan = c.count() ? wholeNumber(c.vm.toNumber(c.arg(0))) : 0;
    withMix(c, [pan](SoundMix& mix) {
        mix.ll = pan >= 0 ? wrapped(100 - int64_t(pan)) : 100;
        mix.rr = pan >= 0 ? 100 : wrapped(100 + int64_t(pan));
        return Value();
    });
    return Value();
}

Value getTransform(CallContext& c) {
    return withMix(c, [&c](SoundMix& mix) {
        Object* o = c.vm.newObject();
        o->put("ll", Value(mix.ll));
        o->put("lr", Value(mix.lr));
        o->put("rr", Value(mix.rr));
        o->put("rl", Value(mix.rl));
        return Value(o);
    });
}

Value setTransform(CallContext& c) {
    Value given = c.arg(0);
    if (!given.isObject()) return Value();
    Object* source = given.object();
    withMix(c, [&](SoundMix& mix) {
        // Only the object's own fields count, not inherited ones.
        auto take = [&](const char* name, int32_t& field) {
            if (source->findOwn(name)) field = c.vm.toInt32(c.vm.get(source, name));
        };
        take("ll", mix.ll);
        take("lr", mix.lr);
        take("rr", mix.rr);
        take("rl", mix.rl);
        return Value();
    });
    return Value();
}

// The library sound exported under `name` from the clip's movie (the first
// level's for the global sound): its duration, or nothing.
std::optional<uint32_t> librarySound(ScriptBridge& bridge, script::ClipObject* clip, const std::string& name) {
    stage::DisplayObject* object = nullptr;
    if (auto* stageClip = dynamic_cast<StageClip*>(clip)) object = stageClip->object();
    if (!clip) object = bridge.stage().level(0);
    if (!object) return std::nullopt;
    const swf::Movie& movie = object->loadedMovie().movie();
    // Library names match without regard to case, as for attachMovie.
    auto lower = [](std::string text) {
        for (char& ch : text)
            if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
        return text;
    };
    for (const auto& [exported, id] : movie.exports) {
        if (lower(exported) != lower(name)) continue;
        const auto* sound = movie.get<swf::OtherDef>(id);
        if (sound && sound->tagCode == swf::tag::DefineSound) return sound->soundMs;
    }
    return std::nullopt;
}

Value attachSound(CallContext& c) {
    SoundObject* sound = soundOf(c);
    script::ClipObject* clip = nullptr;
    if (!sound || !resolveTarget(c.vm, *sound, clip)) return Value();
    std::optional<uint32_t> duration = librarySound(sound->cls.bridge, clip, c.vm.toString(c.arg(0)));
    if (!duration) return Value();
    sound->durationMs = duration;
    exposeTiming(c.vm, sound->cls);
    sound->playing = false;
    sound->stoppedAtMs = 0;
    return Value();
}

Value start(CallContext& c) {
    SoundObject* sound = soundOf(c);
    script::ClipObject* clip = nullptr;
    if (!sound || !sound->durationMs || !resolveTarget(c.vm, *sound, clip)) return Value();
    double offsetMs = c.count() ? c.vm.toNumber(c.arg(0)) * 1000 : 0;
    if (!std::isfinite(offsetMs) || offsetMs < 0) offsetMs = 0;
    // A sound still loading starts once it has arrived.
    if (sound->loading) ++sound->startsWaiting;
    else startSound(c.vm, *sound, offsetMs);
    return Value();
}

Value stop(CallContext& c) {
    SoundObject* sound = soundOf(c);
    script::ClipObject* clip = nullptr;
    if (!sound || !sound->durationMs || !resolveTarget(c.vm, *sound, clip)) return Value();
    sound->stoppedAtMs = positionMs(c.vm, *sound);
    sound->playing = false;
    sound->startsWaiting = 0;
    sound->endsMs.clear();
    sound->cls.playing.erase(sound);
    return Value();
}

Value getDuration(CallContext& c) {
    SoundObject* sound = soundOf(c);
    script::ClipObject* clip = nullptr;
    if (!sound || !sound->durationMs || !resolveTarget(c.vm, *sound, clip)) return Value();
    return Value(double(*sound->durationMs));
}

Value getPosition(CallContext& c) {
    SoundObject* sound = soundOf(c);
    script::ClipObject* clip = nullptr;
    if (!sound || !sound->durationMs || !resolveTarget(c.vm, *sound, clip)) return Value();
    return Value(std::floor(positionMs(c.vm, *sound)));
}

// Duration and position belong to the sound data: these change nothing.
Value ignored(CallContext&) { return Value(); }

Value construct(CallContext& c) {
    auto* cls = dynamic_cast<SoundClass*>(c.callee);
    if (!cls || !c.constructing || !c.thisObject) return Value();
    // The object carries the sound's state: it takes what `new` gave the plain one.
    auto* sound = c.vm.heap().make<SoundObject>(*cls);
    for (const script::Property& p : c.thisObject->properties()) sound->put(p.name, p.value, p.flags);
    Value target = c.arg(0);
    if (target.isObject() && target.object()->kind() == script::ObjectKind::Clip) {
        auto* clip = static_cast<script::ClipObject*>(target.object());
        sound->hasTarget = true;
        sound->absolute = true;
        sound->path = clip->targetPath();
    } else if (!target.isUndefined()) {
        // Anything else names the clip by its text (which may throw).
        sound->hasTarget = true;
        sound->path = c.vm.toString(target);
    }
    return Value(static_cast<Object*>(sound));
}

} // namespace

void exposeTiming(script::VM& vm, SoundClass& cls) {
    if (cls.timingExposed) return;
    cls.timingExposed = true;
    Value proto = vm.get(&cls, "prototype");
    if (!proto.isObject()) return;
    script::addAccessor(vm, proto.object(), "duration", getDuration, ignored);
    script::addAccessor(vm, proto.object(), "position", getPosition, ignored);
}

void installSound(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    auto* cls = vm.heap().make<SoundClass>(construct, bridge);
    cls->setProto(vm.protos().function);
    Object* proto = vm.attachPrototype(cls);
    const std::pair<const char*, script::NativeFunction> methods[] = {
        {"getPan", getPan},       {"getTransform", getTransform}, {"getVolume", getVolume},
        {"setPan", setPan},       {"setTransform", setTransform}, {"setVolume", setVolume},
        {"stop", stop},           {"attachSound", attachSound},   {"start", start}};
    for (auto [name, fn] : methods) vm.defineNative(proto, name, fn);
    const std::pair<const char*, script::NativeFunction> laterMethods[] = {
        {"getDuration", getDuration}, {"setDuration", ignored},   {"getPosition", getPosition},
        {"setPosition", ignored},     {"loadSound", loadSound},     {"getBytesLoaded", ignored},
        {"getBytesTotal", ignored}};
    for (auto [name, fn] : laterMethods) vm.defineNative(proto, name, fn, script::DontEnum | script::OnlySwf6Up);
    vm.global()->put("Sound", Value(static_cast<Object*>(cls)), script::DontEnum);
}

} // namespace tesmar::bridge
