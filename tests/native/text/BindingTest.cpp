#include <gtest/gtest.h>
#include <functional>
#include "player/stage/EditText.h"
#include "tests/native/bridge/RecordingHost.h"
#include "tests/native/swf/SwfBuilder.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

// DefineEditText id 1: no font, bound to `variable`, with `text` at first.
std::vector<uint8_t> editText(const std::string& variable, const std::string& text) {
    BitWriter w;
    w.u16(1);
    w.rect(0, 2000, 0, 400);
    w.u8(0x80 | 0x08);   // has text, read only
    w.u8(0);
    w.cstring(variable);
    w.cstring(text);
    return w.bytes;
}

// A movie placing that field as "f" at depth 1 and running `script` in frame 1
// and `second` in frame 2.
std::vector<uint8_t> boundMovie(const std::string& variable, const swf::Bytes& script, const swf::Bytes& second) {
    swf::TagWriter tags(6);
    const auto field = editText(variable, "Hello");
    tags.tag(37, field);
    swf::PlaceObject place;
    place.depth = 1;
    place.characterId = 1;
    place.name = "f";
    tags.place(place);
    tags.doAction(script);
    tags.showFrame();
    tags.doAction(second);
    tags.showFrame();
    return movieOf(tags);
}

stage::EditText* fieldOf(ScriptedPlayer& p) {
    return dynamic_cast<stage::EditText*>(p.player.stage().level(0)->childAt(1));
}

swf::Bytes script(std::initializer_list<std::function<void(swf::ActionWriter&)>> steps) {
    swf::ActionWriter a;
    for (const auto& step : steps) step(a);
    return a.finish();
}

auto traceVariable(const std::string& name) {
    return [name](swf::ActionWriter& a) {
        a.push({name});
        a.op(swf::action::GetVariable);
        a.op(swf::action::Trace);
    };
}

auto setVariable(const std::string& name, const std::string& value) {
    return [name, value](swf::ActionWriter& a) {
        a.push({name, value});
        a.op(swf::action::SetVariable);
    };
}

} // namespace

TEST(VariableBinding, ANewFieldGivesItsTextToAVariableThatDoesNotExist) {
    ScriptedPlayer p(boundMovie("v", script({traceVariable("v")}), {}));
    p.tick();
    EXPECT_EQ(p.traces(), std::vector<std::string>{"Hello"});
}

TEST(VariableBinding, TheFieldShowsTheVariableAndScriptsReadItAtOnce) {
    // f.text is read right after the variable changes, in the same script.
    ScriptedPlayer p(boundMovie("v", script({setVariable("v", "World"), [](swf::ActionWriter& a) {
                                                 a.push({"f"});
                                                 a.op(swf::action::GetVariable);
                                                 a.push({"text"});
                                                 a.op(swf::action::GetMember);
                                                 a.op(swf::action::Trace);
                                             }}),
                                {}));
    p.tick();
    EXPECT_EQ(p.traces(), std::vector<std::string>{"World"});
    ASSERT_TRUE(fieldOf(p));
    EXPECT_EQ(fieldOf(p)->text(), "World");
}

TEST(VariableBinding, TextSetOnTheFieldGoesBackIntoTheVariable) {
    ScriptedPlayer p(boundMovie("v", script({[](swf::ActionWriter& a) {
                                                 a.push({"f"});
                                                 a.op(swf::action::GetVariable);
                                                 a.push({"text", "Typed"});
                                                 a.op(swf::action::SetMember);
                                             }}),
                                script({traceVariable("v")})));
    p.tick(2);
    EXPECT_EQ(p.traces(), std::vector<std::string>{"Typed"});
}

TEST(VariableBinding, PathsNameTheClipThatHoldsTheVariable) {
    // "_root.n" is a variable of the root even though it is spelled as a path.
    ScriptedPlayer p(boundMovie("_root.n", script({setVariable("n", "42")}), {}));
    p.tick(2);
    ASSERT_TRUE(fieldOf(p));
    EXPECT_EQ(fieldOf(p)->text(), "42");
}
