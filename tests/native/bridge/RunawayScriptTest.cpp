// Hostile scripts: a frame script that never ends, recursion without end
// and an array that grows without end stop that movie's scripts, and the
// timeline still plays.
#include <gtest/gtest.h>
#include "RecordingHost.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

// Frame 1 runs `script`; the movie has 3 frames and keeps playing.
std::vector<uint8_t> runawayMovie(const swf::Bytes& script) {
    swf::TagWriter tags(6);
    tags.doAction(script);
    tags.showFrame();
    tags.showFrame();
    tags.showFrame();
    tags.end();
    return movieOf(tags);
}

void expectTimelinePlaysOn(ScriptedPlayer& run) {
    run.tick(2);
    EXPECT_EQ(run.player.stage().level(0)->currentFrame(), 2);
    run.tick();
    EXPECT_EQ(run.player.stage().level(0)->currentFrame(), 3);
}

} // namespace

TEST(RunawayScript, EndlessLoopEndsTheFrame) {
    swf::ActionWriter a;
    auto top = a.label();
    a.bind(top);
    a.jump(top);
    ScriptedPlayer run(runawayMovie(a.finish()));
    expectTimelinePlaysOn(run);
}

TEST(RunawayScript, EndlessRecursionIsAbandoned) {
    // function f() { f(); } f(); trace("after");
    swf::ActionWriter body;
    body.push({int32_t(0), "f"});
    body.op(swf::action::CallFunction);
    body.op(swf::action::Pop);
    swf::Bytes bodyBytes = body.finish();
    bodyBytes.pop_back();   // no End inside a function body
    swf::Bytes define = {0x9B};
    const uint16_t length = 2 + 2 + 2;   // "f\0", no parameters, body size
    define.push_back(uint8_t(length));
    define.push_back(uint8_t(length >> 8));
    define.insert(define.end(), {'f', 0, 0, 0});
    define.push_back(uint8_t(bodyBytes.size()));
    define.push_back(uint8_t(bodyBytes.size() >> 8));
    define.insert(define.end(), bodyBytes.begin(), bodyBytes.end());
    swf::Bytes tail;
    {
        swf::ActionWriter call;
        call.push({int32_t(0), "f"});
        call.op(swf::action::CallFunction);
        call.op(swf::action::Pop);
        call.push({"after"});
        call.op(swf::action::Trace);
        tail = call.finish();
    }
    define.insert(define.end(), tail.begin(), tail.end());
    ScriptedPlayer run(runawayMovie(define));
    expectTimelinePlaysOn(run);
}

TEST(RunawayScript, EndlessArrayStopsTheScripts) {
    // a = new Array(); while (true) a.push(a.length);
    swf::ActionWriter a;
    a.push({"a", int32_t(0), "Array"});
    a.op(0x40);   // NewObject
    a.op(swf::action::SetVariable);
    auto top = a.label();
    a.bind(top);
    a.push({"a"});
    a.op(swf::action::GetVariable);
    a.push({"length"});
    a.op(swf::action::GetMember);
    a.push({int32_t(1), "a"});
    a.op(swf::action::GetVariable);
    a.push({"push"});
    a.op(swf::action::CallMethod);
    a.op(swf::action::Pop);
    a.jump(top);
    ScriptedPlayer run(runawayMovie(a.finish()));
    expectTimelinePlaysOn(run);
}
