// Sound.loadSound and the life of a started sound: the MP3 arrives through
// the host, its ID3 tag becomes the sound's id3 object (onID3), its frame
// headers give the duration (onLoad), and each started instance ends after
// that duration (onSoundComplete), checked once a frame.

#include "player/bridge/SoundObject.h"

#include "player/Player.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/SoundMp3.h"
#include "player/script/VM.h"

#include <algorithm>
#include <utility>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

void watch(script::VM& vm, SoundClass& cls)
{
    if (cls.watching || !cls.checker) return;
    cls.watching = true;
    vm.callAfterFrame(Value(static_cast<script::Object*>(cls.checker)), Value(static_cast<script::Object*>(&cls)),
                      {});
}

// Ends the instances whose time is up, each with onSoundComplete.
Value checkEnded(CallContext& c)
{
    auto* cls = dynamic_cast<SoundClass*>(c.thisObject);
    if (!cls) return Value();
    cls->watching = false;
    const double now = c.vm.host().timeMs();
    std::vector<SoundObject*> sounds(cls->playing.begin(), cls->playing.end());
    for (SoundObject* sound : sounds) {
        auto ended = std::partition(sound->endsMs.begin(), sound->endsMs.end(), [now](double end) { return end > now; });
        const auto count = std::distance(ended, sound->endsMs.end());
        sound->endsMs.erase(ended, sound->endsMs.end());
        if (sound->endsMs.empty()) cls->playing.erase(sound);
        for (auto i = count; i > 0; --i) c.vm.callMethod(Value(static_cast<script::Object*>(sound)), "onSoundComplete", {});
    }
    if (!cls->playing.empty()) watch(c.vm, *cls);
    return Value();
}

// The id3 object: every text frame under its own id, the common ones also
// under a plain name (given first), comments gathered in an array. It has no
// prototype, so it prints as undefined.
Value id3Object(script::VM& vm, const Mp3Info& info)
{
    static const std::pair<const char*, const char*> plainNames[] = {
        {"TIT2", "songname"}, {"TPE1", "artist"}, {"TALB", "album"}, {"TYER", "year"},
        {"COMM", "comment"},  {"TCON", "genre"},  {"TRCK", "track"}};
    script::Object* tags = vm.heap().make<script::Object>();
    for (const Id3Frame& frame : info.frames) {
        for (const auto& [id, plain] : plainNames)
            if (frame.id == id) tags->put(plain, Value(frame.text));
        if (frame.id != "COMM") {
            tags->put(frame.id, Value(frame.text));
            continue;
        }
        script::Property* comments = tags->findOwn("COMM");
        if (comments && comments->value.isObject() && comments->value.object()->kind() == script::ObjectKind::Array)
            static_cast<script::ArrayObject*>(comments->value.object())->push(Value(frame.text));
        else
            tags->put("COMM", Value(static_cast<script::Object*>(vm.newArray({Value(frame.text)}))));
    }
    return Value(tags);
}

void arrived(script::VM& vm, SoundObject& sound, uint32_t load, bool ok, std::span<const uint8_t> bytes)
{
    if (load != sound.load) return;   // a later loadSound replaced this one
    sound.loading = false;
    const Value self(static_cast<script::Object*>(&sound));
    if (!ok) {
        sound.durationMs.reset();
        sound.startsWaiting = 0;
        vm.callMethod(self, "onLoad", {Value(false)});
        return;
    }
    const Mp3Info info = readMp3(bytes);
    if (info.hasTag) {
        // The tags become a fixed id3 property, unless the script made one first.
        if (!sound.findOwn("id3")) sound.put("id3", id3Object(vm, info), script::DontEnum | script::ReadOnly);
        vm.callMethod(self, "onID3", {Value(true)});
    }
    sound.durationMs = info.durationMs;
    vm.callMethod(self, "onLoad", {Value(true)});
    // A streaming sound plays as it arrives; an event sound plays once for
    // every start asked for while it loaded.
    int starts = std::exchange(sound.startsWaiting, 0) + (sound.streaming ? 1 : 0);
    for (; starts > 0; --starts) startSound(vm, sound, 0);
}

} // namespace

void startSound(script::VM& vm, SoundObject& sound, double offsetMs)
{
    if (!sound.durationMs) return;
    sound.playing = true;
    sound.startedMs = vm.host().timeMs() - offsetMs;
    sound.endsMs.push_back(sound.startedMs + *sound.durationMs);
    sound.cls.playing.insert(&sound);
    if (!sound.cls.checker) sound.cls.checker = vm.newNative(checkEnded);
    watch(vm, sound.cls);
}

Value loadSound(CallContext& c)
{
    auto* sound = dynamic_cast<SoundObject*>(c.thisObject);
    if (!sound || c.count() < 1) return Value();
    LoadQueue& loads = sound->cls.bridge.player().loads();
    sound->streaming = c.vm.toBoolean(c.arg(1));
    sound->loading = true;
    sound->startsWaiting = 0;
    sound->durationMs = 0;
    exposeTiming(c.vm, sound->cls);
    sound->playing = false;
    sound->stoppedAtMs = 0;
    sound->endsMs.clear();
    sound->cls.playing.erase(sound);
    const uint32_t load = ++sound->load;
    script::VM* vm = &c.vm;
    loads.loadBytes(sound, loads.request(c.vm.toString(c.arg(0)), 0, {}),
                    [vm, sound, load](bool ok, std::span<const uint8_t> bytes) { arrived(*vm, *sound, load, ok, bytes); });
    return Value();
}

} // namespace tesmar::bridge
