// How timelines loop and jump as scripts see them: a last frame left open,
// a sprite still loading, frame arguments of the goto methods, and the
// names of objects placed without one.
#include <gtest/gtest.h>
#include "RecordingHost.h"
#include "player/swf/PlaceReader.h"

using namespace tesmar;
using namespace tesmar::test;
using Lines = std::vector<std::string>;

namespace {

// trace(<name>._currentframe) after <name>.<method>(<argument>).
swf::Bytes callThenTraceFrame(const std::string& clip, const std::string& method, swf::ActionWriter::Value arg) {
    swf::ActionWriter a;
    a.push({arg, 1, clip});
    a.op(swf::action::GetVariable);
    a.push({method});
    a.op(swf::action::CallMethod);
    a.op(swf::action::Pop);
    a.push({clip});
    a.op(swf::action::GetVariable);
    a.push({"_currentframe"});
    a.op(swf::action::GetMember);
    a.op(swf::action::Trace);
    return a.finish();
}

// trace(this._name)
swf::Bytes traceOwnName() {
    swf::ActionWriter a;
    a.push({"this"});
    a.op(swf::action::GetVariable);
    a.push({"_name"});
    a.op(swf::action::GetMember);
    a.op(swf::action::Trace);
    return a.finish();
}

swf::PlaceObject placeAt(uint16_t depth, uint16_t id, std::optional<std::string> name = {}) {
    swf::PlaceObject p;
    p.depth = depth;
    p.characterId = id;
    p.name = std::move(name);
    return p;
}

// A root timeline of one frame that places sprite 1 at depth 1.
std::vector<uint8_t> movieWithSprite(const swf::TagWriter& sprite) {
    swf::TagWriter tags(6);
    tags.defineSprite(1, sprite);
    tags.place(placeAt(1, 1, "s"));
    tags.showFrame();
    tags.end();
    return movieOf(tags);
}

} // namespace

TEST(TimelineRules, ALastFrameLeftOpenPlaysOnceAndIsNotCounted) {
    swf::TagWriter sprite(6);
    sprite.doAction(traceScript("s 1"));
    sprite.showFrame();
    sprite.doAction(traceScript("s 2"));
    sprite.end();
    ScriptedPlayer run(movieWithSprite(sprite));
    run.tick(4);
    EXPECT_EQ(run.traces(), (Lines{"s 1", "s 2"}));
}

TEST(TimelineRules, ASpriteWithoutEndWaitsOnItsLastFrame) {
    swf::TagWriter sprite(6);
    sprite.doAction(traceScript("s 1"));
    sprite.showFrame();
    sprite.doAction(traceScript("s 2"));
    sprite.showFrame();
    ScriptedPlayer run(movieWithSprite(sprite));
    run.tick(5);
    EXPECT_EQ(run.traces(), (Lines{"s 1", "s 2"}));
}

TEST(TimelineRules, AFinishedSpriteLoops) {
    swf::TagWriter sprite(6);
    sprite.doAction(traceScript("s 1"));
    sprite.showFrame();
    sprite.doAction(traceScript("s 2"));
    sprite.showFrame();
    sprite.end();
    ScriptedPlayer run(movieWithSprite(sprite));
    run.tick(3);
    EXPECT_EQ(run.traces(), (Lines{"s 1", "s 2", "s 1"}));
}

TEST(TimelineRules, GotoMethodsWrapFrameNumbersAndIgnoreThoseBeforeTheFirst) {
    swf::TagWriter sprite(6);
    sprite.doAction([] {
        swf::ActionWriter a;
        a.op(swf::action::Stop);
        return a.finish();
    }());
    for (int i = 0; i < 3; ++i) sprite.showFrame();
    sprite.end();
    swf::TagWriter tags(6);
    tags.defineSprite(1, sprite);
    tags.place(placeAt(1, 1, "clip"));
    tags.showFrame();
    tags.doAction(callThenTraceFrame("clip", "gotoAndStop", 999));               // past the end: last
    tags.doAction(callThenTraceFrame("clip", "gotoAndStop", 0));                 // ignored
    tags.doAction(callThenTraceFrame("clip", "gotoAndStop", 4294967298.0));      // wraps to 2
    tags.doAction(callThenTraceFrame("clip", "gotoAndStop", -2147483647));       // ignored
    tags.doAction(callThenTraceFrame("clip", "gotoAndStop", -2147483648.0));     // wraps past the end
    tags.doAction(callThenTraceFrame("clip", "gotoAndStop", "1"));               // a numeric text
    tags.doAction(callThenTraceFrame("clip", "gotoAndStop", "no such label"));   // ignored
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags));
    run.tick(2);
    EXPECT_EQ(run.traces(), (Lines{"3", "3", "2", "2", "3", "1", "1"}));
}

TEST(TimelineRules, UnnamedObjectsAreNumberedParentsBeforeTheirChildren) {
    swf::TagWriter inner(6);
    inner.doAction(traceOwnName());
    inner.showFrame();
    inner.end();
    swf::TagWriter outer(6);
    outer.doAction(traceOwnName());
    outer.place(placeAt(1, 1));
    outer.place(placeAt(2, 1, "named"));
    outer.place(placeAt(3, 1));
    outer.showFrame();
    outer.end();
    swf::TagWriter tags(6);
    tags.defineSprite(1, inner);
    tags.defineSprite(2, outer);
    tags.place(placeAt(1, 2));
    tags.place(placeAt(2, 1));
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{"instance1", "instance2", "named", "instance3", "instance4"}));
}

TEST(TimelineRules, ALevelHasNoNameOfItsOwn) {
    swf::TagWriter tags(6);
    tags.doAction(traceOwnName());
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{""}));
}

TEST(TimelineRules, ActionsOfARemovedClipActOnTheRoot) {
    // The child's script sends the root to frame 2, which removes the child;
    // the rest of the script then finds the root's variables.
    swf::ActionWriter child;
    child.push({"_root"});
    child.op(swf::action::SetTarget2);
    child.gotoFrame(1);
    child.push({""});
    child.op(swf::action::SetTarget2);
    child.push({"foo"});
    child.op(swf::action::GetVariable);
    child.op(swf::action::Trace);
    swf::TagWriter sprite(6);
    sprite.doAction(child.finish());
    sprite.showFrame();
    sprite.end();
    swf::ActionWriter root;
    root.push({"foo", "root's foo"});
    root.op(swf::action::SetVariable);
    root.op(swf::action::Stop);
    swf::TagWriter tags(6);
    tags.defineSprite(1, sprite);
    tags.doAction(root.finish());
    tags.place(placeAt(1, 1, "child"));
    tags.showFrame();
    tags.remove(1);
    tags.showFrame();
    tags.end();
    ScriptedPlayer run(movieOf(tags));
    run.tick();
    EXPECT_EQ(run.traces(), (Lines{"root's foo"}));
}
