#pragma once
// Runs the scripts of a player's movies: one script machine for the
// player, the action blocks the stage queues (frames, init actions,
// buttons, clip events) run in order, event methods such as onEnterFrame
// called on the clips that have them, and the script host services
// (levels, trace, time, get-URL) taken from the player.
#include <memory>
#include <unordered_map>
#include "player/Host.h"
#include "player/bridge/FocusManager.h"
#include "player/script/VM.h"
#include "player/stage/Stage.h"

namespace tesmar {
class Player;
}

namespace tesmar::bridge {

class StageClip;

class ScriptBridge : public script::ScriptHost {
public:
    ScriptBridge(Player& player, stage::Stage& stage, Host& host);
    ~ScriptBridge() override;

    // Makes the script machine for a movie of this SWF version (once: a
    // later level-0 movie keeps the machine of the first).
    void start(const swf::Movie& movie);
    script::VM* vm() { return vm_.get(); }
    stage::Stage& stage() { return stage_; }
    FocusManager& focus() { return focus_; }
    Player& player() { return player_; }

    // A new frame: the script budget starts again.
    void beginTick();
    // Runs one block the stage queued, and the event method it stands for.
    void run(const stage::QueuedActions& queued);
    // After a frame's blocks: due intervals, then collection now and then.
    void endTick();

    // Object.registerClass: clips of an exported symbol get the class's
    // prototype and run its constructor once, before their first script.
    void registerClass(const std::string& exportName, const script::Value& constructor);
    // The name a constructor was last registered under (exact spelling, as
    // AMF writes typed objects); empty when it has none.
    std::string classAlias(script::Object* constructor) const;
    // The script object of a display object (made on first use).
    StageClip* objectFor(stage::DisplayObject* object);
    StageClip* objectFor(uint64_t serial) { return objectFor(stage_.find(serial)); }
    // The script object that stood for an object, also after the object has
    // gone (until the next collection); nullptr when there is none.
    StageClip* knownObject(uint64_t serial) const {
        auto it = clips_.find(serial);
        return it == clips_.end() ? nullptr : it->second;
    }

    // ScriptHost.
    script::ClipObject* level(int number) override;
    void trace(const std::string& line) override;
    double timeMs() override;
    double wallClockMs() override;
    double localOffsetMinutes() override;
    void getUrl(const script::UrlRequest& request, script::ClipObject* caller) override;
    void fsCommand(const std::string& command, const std::string& args) override;
    void stopDrag() override;
    void traceRoots(script::Tracer& tracer) override;

private:
    void callEventMethod(StageClip* clip, uint32_t event);
    // The class registered for an object's symbol, if any.
    script::Value registeredClass(stage::DisplayObject& object);
    void construct(StageClip* clip);

    Player& player_;
    stage::Stage& stage_;
    Host& host_;
    std::unique_ptr<script::VM> vm_;
    FocusManager focus_{*this};
    std::unordered_map<uint64_t, StageClip*> clips_;   // by serial; pruned when their objects go
    std::unordered_map<std::string, script::Value> classes_;   // by lower-case export name
    std::vector<std::pair<std::string, script::Value>> aliases_;   // in order of registration
    std::unordered_map<uint64_t, script::Value> unconstructed_; // clips whose constructor is due
    double startMs_ = 0;
    uint64_t ticks_ = 0;
};

// The method a clip event calls on a clip ("onEnterFrame"), or nullptr.
// Key methods are no clip events: only the focused object hears them.
const char* eventMethodName(uint32_t clipEvent);

// The bridge behind a native method: the host of every bridged script machine.
inline ScriptBridge& bridgeOf(script::CallContext& c) { return static_cast<ScriptBridge&>(c.vm.host()); }

} // namespace tesmar::bridge
