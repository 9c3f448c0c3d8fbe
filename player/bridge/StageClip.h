#pragma once
// A display object as scripts see it: a movie clip (or a button) named by
// its serial, so that a script value holding it never dangles. Its
// variables are the object's own properties; `_x`, `_name`, child names and
// the like come from the display list.
#include <string>
#include "player/script/Host.h"
#include "player/stage/MovieClip.h"

namespace tesmar::bridge {

class ScriptBridge;

class StageClip : public script::ClipObject {
public:
    StageClip(script::Heap& heap, ScriptBridge& bridge, stage::DisplayObject& object);

    // The display object, or nullptr once it has left the stage.
    stage::DisplayObject* object() const;
    stage::MovieClip* clip() const;
    uint64_t serial() const { return serial_; }

    ClipObject* parentClip() override;
    ClipObject* rootClip() override;
    ClipObject* childClip(std::string_view name) override;
    std::string targetPath() override;
    std::string slashPath() override;
    bool removed() override { return object() == nullptr; }
    int swfVersion() override { return version_; }
    bool isMovieClip() override { return movieClip_; }

    int currentFrame() override;
    int totalFrames() override;
    int framesLoaded() override;
    void gotoFrame(int frame, bool play) override;
    int labelFrame(std::string_view label) override;
    std::vector<script::ActionBytes> frameScripts(int frame) override;
    void play() override;
    void stop() override;

    void duplicate(const std::string& name, int depth) override;
    void removeSelf() override;
    void startDrag(bool lockCenter, std::optional<std::array<double, 4>> bounds) override;

    bool getVirtual(script::VM& vm, const std::string& name, script::Value& out) override;
    bool setVirtual(script::VM& vm, const std::string& name, const script::Value& value) override;
    void virtualNames(std::vector<std::string>& names) override;

private:
    // The display object's name path from its level ("_level0", "a", "b").
    std::vector<std::string> names();
    bool getProperty(script::VM& vm, const std::string& key, script::Value& out);
    bool setProperty(script::VM& vm, const std::string& key, const script::Value& value);

    ScriptBridge& bridge_;
    uint64_t serial_;
    int version_;
    bool movieClip_;
    std::string lastPath_;       // the dot path when last seen on stage
    std::string lastSlashPath_;
};

} // namespace tesmar::bridge
