#pragma once
// The seam between the script machine and the stage. Movie clips are script
// objects whose properties come from the display list (ClipObject); the
// stage implements it and ScriptHost for what concerns the whole player.

#include "player/script/Function.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmar::script {

class ClipObject : public Object {
public:
    explicit ClipObject(Heap& heap) : Object(heap, ObjectKind::Clip) {}

    virtual ClipObject* parentClip() = 0;
    virtual ClipObject* rootClip() = 0;
    virtual ClipObject* childClip(std::string_view name) = 0;
    // Dot path from the level: "_level0.a.b"; follows the clip after removal.
    virtual std::string targetPath() = 0;
    // The slash form of `_target`: "/a/b".
    virtual std::string slashPath() = 0;
    // A removed clip answers through the clip now at its path, if any.
    virtual bool removed() = 0;
    // The SWF version of the movie the clip belongs to.
    virtual int swfVersion() = 0;
    // Buttons and text fields are clip objects too, but typeof calls them "object".
    virtual bool isMovieClip() { return true; }

    // Timeline actions; frames are 1-based as in scripts.
    virtual int currentFrame() = 0;
    virtual int totalFrames() = 0;
    virtual int framesLoaded() = 0;
    virtual void gotoFrame(int frame, bool play) = 0;
    // The frame carrying a label, 0 when none does.
    virtual int labelFrame(std::string_view label) = 0;
    // The action blocks of a frame, for the Call action.
    virtual std::vector<ActionBytes> frameScripts(int frame) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;

    // CloneSprite / RemoveSprite / drags.
    virtual void duplicate(const std::string& name, int depth) = 0;
    virtual void removeSelf() = 0;
    virtual void startDrag(bool lockCenter, std::optional<std::array<double, 4>> bounds) = 0;
};

// How a get-URL request came: the flags of GetURL2.
struct UrlRequest {
    std::string url;
    std::string target;
    int method = 0;           // 0 none, 1 GET, 2 POST
    bool loadTarget = false;  // target names a clip/level to load into
    bool loadVariables = false;
};

class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    virtual ClipObject* level(int number) = 0;
    virtual void trace(const std::string& line) = 0;
    // Milliseconds since the movie started (getTimer, intervals, budgets).
    virtual double timeMs() = 0;
    // Wall-clock time (milliseconds since 1970 UTC) and the local zone's
    // distance from UTC in minutes (east positive), for Date.
    virtual double wallClockMs() = 0;
    virtual double localOffsetMinutes() = 0;
    virtual void getUrl(const UrlRequest& request, ClipObject* caller) = 0;
    virtual void fsCommand(const std::string& command, const std::string& args) = 0;
    virtual void stopDrag() = 0;
    // The clips the stage keeps alive, for the collector.
    virtual void traceRoots(Tracer& tracer) = 0;
};

} // namespace tesmar::script
