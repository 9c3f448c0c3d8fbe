// The order in which a player runs frame scripts, the first frames of the
// clips they place, clip events and jumps made by scripts.
#include <gtest/gtest.h>
#include "RecordingHost.h"
#include "player/swf/PlaceReader.h"

using namespace tesmar;
using namespace tesmar::test;
using Lines = std::vector<std::string>;

namespace {

// A sprite of `frames` frames, each tracing "<name> <frame>".
void defineTracingSprite(swf::TagWriter& tags, uint16_t id, const std::string& name, int frames) {
    swf::TagWriter sprite(tags.version());
    for (int f = 1; f <= frames; ++f) {
        sprite.doAction(traceScript(name + " " + std::to_string(f)));
        sprite.showFrame();
    }
    sprite.end();
    tags.defineSprite(id, sprite);
}

swf::PlaceObject placeAt(uint16_t depth, uint16_t id, const std::string& name) {
    swf::PlaceObject p;
    p.depth = depth;
    p.characterId = id;
    p.name = name;
    return p;
}

} // namespace

TEST(ScriptOrder, ParentScriptFirstThenNewClipsThenNewestFirstOnLaterFrames) {
    swf::TagWriter tags(6);
    defineTracingSprite(tags, 1, "a", 3);
    defineTracingSprite(tags, 2, "b", 3);
    tags.doAction(traceScript("root 1"));
    tags.place(placeAt(1, 1, "a"));
    tags.place(placeAt(2, 2, "b"));
    tags.showFrame();
    tags.doAction(traceScript("root 2"));
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{"root 1", "a 1", "b 1"}));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{"b 2", "a 2", "root 2"}));
}

TEST(ScriptOrder, EnterFrameEventsPrecedeTheClipsFrameAndMethodsFollowHandlers) {
    swf::TagWriter tags(6);
    defineTracingSprite(tags, 1, "a", 2);
    swf::PlaceObject p = placeAt(1, 1, "a");
    p.clipActions.push_back({swf::clipEvent::EnterFrame, 0, traceScript("enterFrame")});
    p.clipActions.push_back({swf::clipEvent::Load, 0, traceScript("load")});
    tags.place(p);
    tags.showFrame();
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{"a 1", "load"}));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{"enterFrame", "a 2"}));
}

TEST(ScriptOrder, AJumpRunsTheTargetFrameAfterTheCurrentBlock) {
    swf::TagWriter tags(6);
    swf::ActionWriter jump;
    jump.push({"before"});
    jump.op(swf::action::Trace);
    jump.gotoFrame(2);   // frame 3
    jump.push({"after"});
    jump.op(swf::action::Trace);
    tags.doAction(jump.finish());
    tags.showFrame();
    tags.doAction(traceScript("frame 2"));
    tags.showFrame();
    swf::ActionWriter third;
    third.push({"frame 3"});
    third.op(swf::action::Trace);
    third.op(swf::action::Stop);
    tags.doAction(third.finish());
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{"before", "after", "frame 3"}));
    run.tick(3);
    EXPECT_TRUE(run.traces().empty());
}
