#pragma once
// A stand-in for the stage: one root clip with a timeline of action blocks,
// optional named children, and a host that records traces, URLs and
// FSCommands. Enough to run scripts that draw nothing.

#include "player/script/VM.h"

#include <map>
#include <string>
#include <vector>

namespace tesmar::script::testing {

class FakeClip : public ClipObject {
public:
    FakeClip(Heap& heap, std::string name, FakeClip* parent, int swfVersion)
        : ClipObject(heap), name_(std::move(name)), parent_(parent), swfVersion_(swfVersion) {}

    std::vector<std::vector<ActionBytes>> frames;   // action blocks of each frame
    std::map<std::string, int> labels;
    std::map<std::string, FakeClip*> children;
    int current = 1;
    bool playing = true;
    int pendingGoto = 0;                          // frame jumped to by a script
    bool isRemoved = false;
    std::vector<std::string> calls;               // timeline actions received

    ClipObject* parentClip() override { return parent_; }
    ClipObject* rootClip() override { return parent_ ? parent_->rootClip() : this; }
    ClipObject* childClip(std::string_view name) override;
    std::string targetPath() override;
    std::string slashPath() override;
    bool removed() override { return isRemoved; }
    int swfVersion() override { return swfVersion_; }
    int currentFrame() override { return current; }
    int totalFrames() override { return int(std::max<size_t>(frames.size(), 1)); }
    int framesLoaded() override { return totalFrames(); }
    void gotoFrame(int frame, bool play) override;
    int labelFrame(std::string_view label) override;
    std::vector<ActionBytes> frameScripts(int frame) override;
    void play() override { playing = true; calls.push_back("play"); }
    void stop() override { playing = false; calls.push_back("stop"); }
    void duplicate(const std::string& name, int depth) override;
    void removeSelf() override;
    void startDrag(bool, std::optional<std::array<double, 4>>) override { calls.push_back("startDrag"); }

    bool getVirtual(VM& vm, const std::string& name, Value& out) override;
    void trace(Tracer& tracer) override;

    const std::string& name() const { return name_; }

private:
    std::string name_;
    FakeClip* parent_;
    int swfVersion_;
};

class FakeHost : public ScriptHost {
public:
    FakeClip* root = nullptr;
    std::vector<std::string> lines;
    std::vector<UrlRequest> urls;
    std::vector<std::pair<std::string, std::string>> commands;
    double now = 0;
    double wallClock = 981152406000.0;   // 2001-02-03 04:05:06 at +05:45
    double zoneMinutes = 345;

    ClipObject* level(int number) override { return number == 0 ? root : nullptr; }
    void trace(const std::string& line) override { lines.push_back(line); }
    double timeMs() override { return now; }
    double wallClockMs() override { return wallClock + now; }
    double localOffsetMinutes() override { return zoneMinutes; }
    void getUrl(const UrlRequest& request, ClipObject*) override { urls.push_back(request); }
    void fsCommand(const std::string& command, const std::string& args) override
    {
        commands.emplace_back(command, args);
    }
    void stopDrag() override {}
    void traceRoots(Tracer& tracer) override { tracer.mark(root); }
};

// Runs a root timeline the way a movie plays: each tick shows the next frame
// (looping at the end unless stopped), runs its scripts, then due intervals.
class FakeMovie {
public:
    FakeMovie(int swfVersion, std::vector<std::vector<ActionBytes>> frames, Limits limits = {});
    void runFrames(int count, double frameRate = 24);
    std::string output() const;

    FakeHost host;
    VM vm;
    FakeClip* root;

private:
    void runFrame(int frame);
    bool started_ = false;
};

} // namespace tesmar::script::testing
