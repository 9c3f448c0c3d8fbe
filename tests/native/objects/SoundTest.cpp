// Sound objects in a playing movie: the mix a clip's sounds share, the
// player's conversions of volume and pan, targets named by path, and the
// duration of library sounds.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/Player.h"
#include "player/swf/WriterActions.h"
#include "player/swf/WriterTags.h"

namespace tesmar {
namespace {

struct TraceHost : Host {
    std::vector<std::string> traces;
    double clock = 0;
    void fetch(uint32_t, const std::string&) override {}
    void openInBrowser(const std::string&) override {}
    void fsCommand(const std::string&, const std::string&) override {}
    void trace(const std::string& line) override { traces.push_back(line); }
    double nowMs() override { return clock; }
    std::optional<Image> decodeImage(std::span<const uint8_t>) override { return std::nullopt; }
};

using Arg = swf::ActionWriter::Value;
constexpr uint8_t kNewObject = 0x40;

// Script building blocks: each leaves its result on the stack.
struct Script {
    swf::ActionWriter a;

    Script& newObject(const char* cls, std::vector<Arg> args = {}) {
        pushArgs(args);
        a.push({cls});
        a.op(kNewObject);
        return *this;
    }
    Script& setVariable(const char* name) {
        // The value is on the stack: put the name beneath it.
        a.push({name});
        a.op(0x4D);   // StackSwap
        a.op(swf::action::SetVariable);
        return *this;
    }
    Script& call(const char* variable, const char* method, std::vector<Arg> args = {}) {
        pushArgs(args);
        a.push({variable});
        a.op(swf::action::GetVariable);
        a.push({method});
        a.op(swf::action::CallMethod);
        return *this;
    }
    Script& trace() {
        a.op(swf::action::Trace);
        return *this;
    }
    Script& pop() {
        a.op(swf::action::Pop);
        return *this;
    }
    void pushArgs(const std::vector<Arg>& args) {
        for (auto it = args.rbegin(); it != args.rend(); ++it) a.push({*it});
        a.push({int32_t(args.size())});
    }
};

// A movie with one library sound exported as "beep": 22050 samples at
// 11 kHz, so two seconds long.
std::vector<uint8_t> movieWith(Script& script, bool withSound = true) {
    swf::TagWriter tags(8);
    if (withSound) {
        const std::vector<uint8_t> sound = {1, 0, 0x36, 0x22, 0x56, 0, 0, 0, 0};   // id 1, PCM 11 kHz 16-bit mono
        tags.tag(14, sound);
        const std::vector<uint8_t> exports = {1, 0, 1, 0, 'b', 'e', 'e', 'p', 0};
        tags.tag(56, exports);
    }
    tags.doAction(script.a.finish());
    tags.showFrame();
    tags.end();
    return swf::movieFile(8, Rect{0, 0, 8000, 6000}, 12, tags);
}

std::vector<std::string> run(Script& script, int ticks = 1) {
    TraceHost host;
    Player player(host);
    EXPECT_TRUE(player.load(movieWith(script), "http://example.com/a.swf"));
    for (int i = 0; i < ticks; ++i) {
        player.tick();
        host.clock += 1000 / 12.0;
    }
    return host.traces;
}

TEST(Sound, SoundsOfOneTargetShareTheirMix) {
    Script s;
    s.newObject("Sound").setVariable("a");
    s.newObject("Sound").setVariable("b");
    s.call("a", "setVolume", {int32_t(30)}).pop();
    s.call("b", "getVolume").trace();
    s.call("b", "setPan", {int32_t(-40)}).pop();
    s.call("a", "getPan").trace();
    EXPECT_EQ(run(s), (std::vector<std::string>{"30", "-40"}));
}

TEST(Sound, VolumeAndPanConvertAsThePlayerDoes) {
    Script s;
    s.newObject("Sound").setVariable("a");
    s.call("a", "setVolume", {50.7}).pop();
    s.call("a", "getVolume").trace();
    s.call("a", "setVolume", {3e9}).pop();
    s.call("a", "getVolume").trace();
    s.call("a", "setVolume").pop();
    s.call("a", "getVolume").trace();
    // A pan past full right turns the left channel negative; its pan reads back as 0.
    s.call("a", "setPan", {200.0}).pop();
    s.call("a", "getPan").trace();
    s.call("a", "setPan", {25.0}).pop();
    s.call("a", "getPan").trace();
    EXPECT_EQ(run(s), (std::vector<std::string>{"50", "-2147483648", "0", "0", "25"}));
}

TEST(Sound, TransformTakesOnlyOwnFieldsAndWrapsThem) {
    Script s;
    s.newObject("Sound").setVariable("a");
    s.newObject("Object").setVariable("mix");
    // mix.rr = 3e9; mix.__proto__ = {ll: 7}
    s.a.push({"mix"});
    s.a.op(swf::action::GetVariable);
    s.a.push({"rr", 3e9});
    s.a.op(swf::action::SetMember);
    s.a.push({"mix"});
    s.a.op(swf::action::GetVariable);
    s.a.push({"__proto__"});
    s.a.push({"ll", int32_t(7), int32_t(1)});
    s.a.op(0x43);   // InitObject
    s.a.op(swf::action::SetMember);
    s.call("a", "setTransform", {}).pop();   // no object: nothing changes
    s.pushArgs({});
    s.a.push({"mix"});
    s.a.op(swf::action::GetVariable);
    s.a.push({int32_t(1), "a"});
    s.a.op(swf::action::GetVariable);
    s.a.push({"setTransform"});
    s.a.op(swf::action::CallMethod);
    s.pop();
    s.call("a", "getTransform").setVariable("t");
    for (const char* field : {"ll", "rr"}) {
        s.a.push({"t"});
        s.a.op(swf::action::GetVariable);
        s.a.push({field});
        s.a.op(swf::action::GetMember);
        s.trace();
    }
    EXPECT_EQ(run(s), (std::vector<std::string>{"100", "-1294967296"}));
}

TEST(Sound, LibrarySoundGivesDurationAndPositionStartsAtZero) {
    Script s;
    s.newObject("Sound").setVariable("a");
    s.call("a", "getDuration").trace();
    s.call("a", "attachSound", {"nothing"}).pop();
    s.call("a", "getDuration").trace();
    s.call("a", "attachSound", {"BEEP"}).pop();
    s.call("a", "getDuration").trace();
    s.call("a", "getPosition").trace();
    EXPECT_EQ(run(s), (std::vector<std::string>{"undefined", "undefined", "2000", "0"}));
}

TEST(Sound, TargetNamedByPathMustExistAtEachCall) {
    Script s;
    s.newObject("Sound", {"clip"}).setVariable("a");
    s.call("a", "getVolume").trace();
    // createEmptyMovieClip("clip", 1)
    s.a.push({int32_t(1), "clip", int32_t(2), "createEmptyMovieClip"});
    s.a.op(swf::action::CallFunction);
    s.pop();
    s.call("a", "getVolume").trace();
    s.call("a", "setVolume", {int32_t(5)}).pop();
    s.newObject("Sound").setVariable("global");
    s.call("global", "getVolume").trace();
    EXPECT_EQ(run(s), (std::vector<std::string>{"undefined", "100", "100"}));
}

} // namespace
} // namespace tesmar
