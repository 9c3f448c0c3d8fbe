#pragma once
// The Sound class. The player has no audio output: sounds are never heard,
// but a sound object keeps the volume, pan and channel mix of the clip it
// controls, knows the duration of a sound attached from the movie's library
// or loaded from an MP3 file, reports the position of a started sound as
// time passes and tells scripts when it would have finished.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#include "player/script/Function.h"
#include "player/script/Host.h"

namespace tesmar::bridge {

class ScriptBridge;

// What a clip's sounds sound like: a volume and the four channel gains
// (left-to-left, left-to-right, right-to-left, right-to-right), in percent.
struct SoundMix {
    int32_t volume = 100;
    int32_t ll = 100, lr = 0, rl = 0, rr = 100;
};

class SoundObject;

// The Sound constructor. It keeps the mix of every clip that a sound object
// has touched (null: the global sound), so that all sound objects of one clip
// share it and a new clip at the same path starts from the default, and the
// sounds still playing, which hear onSoundComplete when they end.
class SoundClass : public script::FunctionObject {
public:
    SoundClass(script::Heap& heap, script::NativeFunction native, ScriptBridge& bridge)
        : FunctionObject(heap, native), bridge(bridge) {}

    SoundMix& mixOf(script::ClipObject* clip)
    {
        auto it = mixes_.find(clip);
        if (it != mixes_.end()) return it->second;
        // Clips that left the stage keep nothing.
        for (auto i = mixes_.begin(); i != mixes_.end();)
            i = i->first && i->first->removed() ? mixes_.erase(i) : std::next(i);
        return mixes_[clip];
    }

    void trace(script::Tracer& tracer) override;

    ScriptBridge& bridge;
    std::unordered_set<SoundObject*> playing;   // sounds with instances still to end
    bool watching = false;                      // a check is queued for the next frame
    script::FunctionObject* checker = nullptr;  // that check
    bool timingExposed = false;                 // duration and position are on the prototype

private:
    std::unordered_map<script::ClipObject*, SoundMix> mixes_;
};

class SoundObject : public script::Object {
public:
    SoundObject(script::Heap& heap, SoundClass& cls) : Object(heap), cls(cls) {}

    // Where the sound acts: the global sound without a target; otherwise a
    // path, from the level when the target was a clip, else from the clip
    // whose code is running at each call.
    bool hasTarget = false;
    bool absolute = false;
    std::string path;

    std::optional<uint32_t> durationMs;   // set once a sound is attached or loading
    bool playing = false;
    double startedMs = 0;                 // player time at position 0 of the running sound
    double stoppedAtMs = 0;               // position where it was stopped
    std::vector<double> endsMs;           // when each started instance ends

    // loadSound: the request whose answer counts, whether the sound streams
    // (plays as it arrives) and the starts asked for before it arrived.
    uint32_t load = 0;
    bool loading = false;
    bool streaming = false;
    int startsWaiting = 0;

    SoundClass& cls;

    void trace(script::Tracer& tracer) override
    {
        Object::trace(tracer);
        tracer.mark(&cls);
    }
};

void installSound(ScriptBridge& bridge);

// Sound.prototype gains the duration and position properties (which ignore
// assignments) once the first sound is attached or loaded; before that an
// assignment makes a plain property of the object.
void exposeTiming(script::VM& vm, SoundClass& cls);

// Starts an instance of a sound whose data is here, `offsetMs` into it.
void startSound(script::VM& vm, SoundObject& sound, double offsetMs);
// loadSound(url, streaming) and the events of its answer (SoundLoading.cpp).
script::Value loadSound(script::CallContext& c);

} // namespace tesmar::bridge
