#pragma once
// A host for the bridge tests: records what movies ask of the outside
// world, answers fetches only when told, and keeps a clock the test moves.
#include <map>
#include <string>
#include <vector>
#include "player/Player.h"
#include "player/swf/WriterActions.h"
#include "player/swf/WriterTags.h"

namespace tesmar::test {

struct RecordingHost : Host {
    std::vector<std::pair<uint32_t, std::string>> fetches;
    std::vector<std::string> opened, commands, traces;
    double clock = 0;

    void fetch(uint32_t request, const std::string& url) override { fetches.emplace_back(request, url); }
    void openInBrowser(const std::string& url) override { opened.push_back(url); }
    void fsCommand(const std::string& command, const std::string& args) override {
        commands.push_back(command + "|" + args);
    }
    void trace(const std::string& line) override { traces.push_back(line); }
    double nowMs() override { return clock; }
    std::optional<Image> decodeImage(std::span<const uint8_t>) override { return std::nullopt; }
};

// A movie and the host it plays in; ticks move the clock by one frame.
struct ScriptedPlayer {
    RecordingHost host;
    Player player{host};

    explicit ScriptedPlayer(const std::vector<uint8_t>& file, const std::string& url = "http://example.com/a.swf") {
        EXPECT_TRUE(player.load(file, url)) << player.error();
    }
    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            player.tick();
            host.clock += 1000 / player.frameRate();
        }
    }
    // Traces since the last call.
    std::vector<std::string> traces() {
        std::vector<std::string> out;
        out.swap(host.traces);
        return out;
    }
};

// Script byte code: trace(text).
inline swf::Bytes traceScript(const std::string& text) {
    swf::ActionWriter a;
    a.push({text});
    a.op(swf::action::Trace);
    return a.finish();
}

inline std::vector<uint8_t> movieOf(const swf::TagWriter& tags, uint8_t version = 6, double fps = 12) {
    return swf::movieFile(version, Rect{0, 0, 11000, 8000}, fps, tags);
}

} // namespace tesmar::test
