// Keys in the corpus's event lists: named keys and characters become the
// virtual-key codes and characters that a Windows keyboard gives.
#include <gtest/gtest.h>
#include "host/InputEvents.h"

using namespace tesmar::host;

namespace {

InputEvent only(const std::string& json) {
    std::string error;
    auto events = parseInputEvents("[" + json + "]", error);
    EXPECT_TRUE(events) << error;
    return events && events->size() == 1 ? events->front() : InputEvent{};
}

} // namespace

TEST(InputEventKeys, NamedKeysGiveTheirCodeAndTheCharacterTheyType) {
    InputEvent tab = only(R"({ "type": "KeyDown", "key": "Tab" })");
    EXPECT_EQ(tab.type, InputEvent::Type::KeyDown);
    EXPECT_EQ(tab.keyCode, 9);
    EXPECT_EQ(tab.ascii, 9);
    InputEvent left = only(R"({ "type": "KeyUp", "key": "ArrowLeft" })");
    EXPECT_EQ(left.type, InputEvent::Type::KeyUp);
    EXPECT_EQ(left.keyCode, 37);
    EXPECT_EQ(left.ascii, 0);
    EXPECT_EQ(only(R"({ "type": "KeyDown", "key": "LeftShift" })").keyCode, 16);
    EXPECT_EQ(only(R"({ "type": "KeyDown", "key": "Escape" })").ascii, 27);
    // A key we do not know is no key at all.
    EXPECT_EQ(only(R"({ "type": "KeyDown", "key": "F13" })").keyCode, 0);
}

TEST(InputEventKeys, CharactersGiveTheKeyThatTypesThem) {
    InputEvent a = only(R"({ "type": "KeyDown", "key": { "Char": "a" } })");
    EXPECT_EQ(a.keyCode, 'A');
    EXPECT_EQ(a.ascii, 'a');
    InputEvent quote = only(R"({ "type": "KeyDown", "key": { "Char": "\"" } })");
    EXPECT_EQ(quote.keyCode, 222);
    EXPECT_EQ(quote.ascii, '"');
    EXPECT_EQ(only(R"({ "type": "KeyDown", "key": { "Char": "7" } })").keyCode, '7');
    EXPECT_EQ(only(R"({ "type": "KeyDown", "key": { "Char": "ab" } })").keyCode, 0);
}

TEST(InputEventKeys, TypedTextCarriesItsFirstCharacter) {
    EXPECT_EQ(only(R"({ "type": "TextInput", "codepoint": "\t" })").codepoint, U'\t');
    EXPECT_EQ(only(R"({ "type": "TextInput", "codepoint": "\u20ac" })").codepoint, U'\u20ac');
    EXPECT_EQ(only(R"({ "type": "TextInput", "codepoint": "" })").codepoint, 0u);
}
