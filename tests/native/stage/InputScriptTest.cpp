// Input as movies see it through a whole player: pointer events on clips
// that have pointer handlers, the order of mouse and press events, the Key
// object's state, and focus moved by Tab.
#include <gtest/gtest.h>
#include "player/swf/PlaceReader.h"
#include "tests/native/bridge/RecordingHost.h"
#include "tests/native/swf/SwfBuilder.h"

using namespace tesmar;
using namespace tesmar::test;
using Lines = std::vector<std::string>;
namespace e = swf::clipEvent;

namespace {

// Traces object.method(args...).
swf::Bytes traceCall(const std::string& object, const std::string& method, std::vector<int32_t> args = {}) {
    swf::ActionWriter a;
    for (auto it = args.rbegin(); it != args.rend(); ++it) a.push({*it});
    a.push({int32_t(args.size()), object});
    a.op(swf::action::GetVariable);
    a.push({method});
    a.op(swf::action::CallMethod);
    a.op(swf::action::Trace);
    return a.finish();
}

// Sets name.property = true.
swf::Bytes setTrue(const std::string& name, const std::string& property) {
    swf::ActionWriter a;
    a.push({name});
    a.op(swf::action::GetVariable);
    a.push({property, true});
    a.op(swf::action::SetMember);
    return a.finish();
}

// A movie whose clips (40 x 40 pixel squares) are placed at the given
// pixel positions with the given clip actions.
struct ClipSpec {
    std::string name;
    int x, y;
    std::vector<swf::ClipAction> actions;
};

std::vector<uint8_t> clipsMovie(const std::vector<ClipSpec>& clips, const swf::Bytes& frameScript = {}) {
    swf::TagWriter placed(6);
    uint16_t depth = 1;
    for (const ClipSpec& clip : clips) {
        swf::PlaceObject p;
        p.depth = depth++;
        p.characterId = 2;
        p.name = clip.name;
        p.matrix = Matrix{1, 0, 0, 1, clip.x * 20.0, clip.y * 20.0};
        p.clipActions = clip.actions;
        placed.place(p);
    }
    if (!frameScript.empty()) placed.doAction(frameScript);
    return movie({rectangleShape(1, 800, 800, 0, 0, 255), sprite(2, {place(1, 1), showFrame()}, 1), placed.bytes(),
                  showFrame()});
}

swf::ClipAction traceOn(uint32_t event, const std::string& text) { return {event, 0, traceScript(text)}; }

} // namespace

TEST(InputPointer, ClipWithPressHandlerHearsRollPressAndReleaseAfterMouseEvents) {
    ScriptedPlayer run(clipsMovie({{"box", 100, 100,
                                    {traceOn(e::RollOver, "rollOver"), traceOn(e::RollOut, "rollOut"),
                                     traceOn(e::Press, "press"), traceOn(e::Release, "release"),
                                     traceOn(e::MouseDown, "mouseDown"), traceOn(e::MouseUp, "mouseUp")}}}));
    run.tick();
    run.player.mouseMove(110, 110);
    run.player.mouseDown();
    run.player.mouseUp();
    run.player.mouseMove(300, 300);
    EXPECT_EQ(run.traces(), (Lines{"rollOver", "mouseDown", "press", "mouseUp", "release", "rollOut"}));
}

TEST(InputPointer, PressedClipHearsDragsAndReleaseOutsideOnly) {
    ScriptedPlayer run(clipsMovie({{"box", 100, 100,
                                    {traceOn(e::Press, "press"), traceOn(e::DragOut, "dragOut"),
                                     traceOn(e::DragOver, "dragOver"), traceOn(e::ReleaseOutside, "releaseOutside"),
                                     traceOn(e::Release, "release")}},
                                   {"other", 300, 100, {traceOn(e::RollOver, "other rollOver")}}}));
    run.tick();
    run.player.mouseMove(110, 110);
    run.player.mouseDown();
    run.player.mouseMove(10, 10);
    run.player.mouseMove(120, 120);
    run.player.mouseMove(310, 110);   // over the other clip while pressed: no roll over yet
    run.player.mouseUp();
    EXPECT_EQ(run.traces(), (Lines{"press", "dragOut", "dragOver", "dragOut", "releaseOutside", "other rollOver"}));
}

TEST(InputPointer, ClipWithoutPointerHandlersLetsTheClipBeneathTakeThePress) {
    ScriptedPlayer run(clipsMovie({{"below", 100, 100, {traceOn(e::Press, "below press")}},
                                   {"above", 110, 110, {traceOn(e::EnterFrame, "")}}}));
    run.tick();
    run.traces();
    run.player.mouseMove(120, 120);
    run.player.mouseDown();
    EXPECT_EQ(run.traces(), (Lines{"below press"}));
}

TEST(InputKeys, KeyObjectReportsTheLastKeyAndWhatIsHeld) {
    ScriptedPlayer run(clipsMovie({{"box", 100, 100,
                                    {{e::KeyDown, 0, traceCall("Key", "getCode")},
                                     {e::KeyDown, 0, traceCall("Key", "getAscii")},
                                     {e::KeyDown, 0, traceCall("Key", "isDown", {65})},
                                     {e::KeyUp, 0, traceCall("Key", "isDown", {65})},
                                     {e::KeyUp, 0, traceCall("Key", "isToggled", {20})}}}}));
    run.tick();
    run.player.keyDown(65, 'a');
    run.player.keyUp(65, 'a');
    run.player.keyDown(20);
    run.player.keyUp(20);
    EXPECT_EQ(run.traces(), (Lines{"65", "97", "true", "false", "false", "20", "0", "false", "false", "true"}));
}

TEST(InputFocus, TabVisitsTabbableClipsTopToBottomThenLeftToRightAndWraps) {
    ScriptedPlayer run(clipsMovie({{"low", 100, 300, {}},
                                   {"right", 300, 100, {}},
                                   {"left", 100, 100, {{e::KeyUp, 0, traceCall("Selection", "getFocus")}}}},
                                  [] {
                                      swf::Bytes all;
                                      for (const char* name : {"low", "right", "left"}) {
                                          swf::Bytes one = setTrue(name, "tabEnabled");
                                          all.insert(all.end(), one.begin(), one.end() - 1);   // drop End
                                      }
                                      all.push_back(0);
                                      return all;
                                  }()));
    run.tick();
    for (int i = 0; i < 4; ++i) {
        run.player.keyDown(9, 9);
        run.player.keyUp(9, 9);
    }
    run.player.keyDown(16);
    run.player.keyDown(9, 9);
    run.player.keyUp(9, 9);
    EXPECT_EQ(run.traces(), (Lines{"_level0.left", "_level0.right", "_level0.low", "_level0.left", "_level0.low"}));
}
