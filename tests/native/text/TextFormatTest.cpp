#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include "player/bridge/TextFormat.h"
#include "tests/native/bridge/RecordingHost.h"
#include "tests/native/swf/SwfBuilder.h"

using namespace tesmar;
using namespace tesmar::test;
using bridge::TextFormatValues;

namespace {

using Writer = swf::ActionWriter;

// Frame 1 script: f = new TextFormat(args...); then for each (name, value)
// f[name] = value; trace(f[name]).
swf::Bytes assignAndTrace(std::initializer_list<Writer::Value> constructorArgs,
                          std::vector<std::pair<std::string, Writer::Value>> assignments,
                          std::vector<std::string> reads = {}) {
    Writer a;
    a.push({"f"});
    for (auto it = std::rbegin(constructorArgs); it != std::rend(constructorArgs); ++it) a.push({*it});
    a.push({int32_t(constructorArgs.size()), "TextFormat"});
    a.op(0x40);   // NewObject
    a.op(swf::action::SetVariable);
    for (const auto& [name, value] : assignments) {
        a.push({"f"});
        a.op(swf::action::GetVariable);
        a.push({name, value});
        a.op(swf::action::SetMember);
        reads.push_back(name);
    }
    for (const std::string& name : reads) {
        a.push({"f"});
        a.op(swf::action::GetVariable);
        a.push({name});
        a.op(swf::action::GetMember);
        a.op(swf::action::Trace);
    }
    return a.finish();
}

std::vector<std::string> run(const swf::Bytes& script, uint8_t version) {
    swf::TagWriter tags(version);
    tags.doAction(script);
    tags.showFrame();
    ScriptedPlayer p(movieOf(tags, version));
    p.tick();
    return p.traces();
}

} // namespace

TEST(TextFormatNumbers, TruncateOrRoundHalvesToEvenAndOverflowToTheSmallestInteger) {
    EXPECT_EQ(bridge::formatInteger(-10.9, false), -10);
    EXPECT_EQ(bridge::formatInteger(-10.9, true), -11);
    EXPECT_EQ(bridge::formatInteger(2.5, true), 2);
    EXPECT_EQ(bridge::formatInteger(3.5, true), 4);
    EXPECT_EQ(bridge::formatInteger(-2.5, true), -2);
    EXPECT_EQ(bridge::formatInteger(NAN, false), INT_MIN);
    EXPECT_EQ(bridge::formatInteger(INFINITY, true), INT_MIN);
    EXPECT_EQ(bridge::formatInteger(4294967295.0, true), INT_MIN);
    EXPECT_EQ(bridge::formatInteger(305419896, false), 305419896);
}

TEST(TextFormatValues, CommonKeepsOnlyWhatEveryFormatShares) {
    stage::TextFormat a, b;
    a.size = b.size = 240;
    a.bold = true;
    a.tabStops = b.tabStops = {40, 100};
    a.leftMargin = b.leftMargin = 60;
    const TextFormatValues common = TextFormatValues::common({a, b});
    EXPECT_FALSE(common.bold.has_value());
    ASSERT_TRUE(common.size.has_value());
    EXPECT_EQ(*common.size, 12);
    EXPECT_EQ(*common.leftMargin, 3);
    EXPECT_EQ(*common.tabStops, (std::vector<double>{2, 5}));
    EXPECT_TRUE(TextFormatValues::common({}).font == std::nullopt);
}

TEST(TextFormatValues, ApplyingChangesOnlyTheAttributesThatAreSet) {
    stage::TextFormat f;
    f.font = "Arial";
    f.bold = true;
    TextFormatValues v;
    v.size = 20;
    v.color = 0x123456;
    v.letterSpacing = NAN;   // not a length: ignored
    v.applyTo(f);
    EXPECT_EQ(f.font, "Arial");
    EXPECT_TRUE(f.bold);
    EXPECT_EQ(f.size, 400);
    EXPECT_EQ(f.color, (Rgba{0x12, 0x34, 0x56, 255}));
    EXPECT_EQ(f.letterSpacing, 0);
}

TEST(TextFormatScript, UnsetAttributesReadAsNullAndTheConstructorTruncates) {
    const auto traces = run(assignAndTrace({"Arial", -10.9, -2.5, Writer::Undefined{}}, {},
                                           {"font", "size", "color", "bold", "align", "leftMargin", "display"}),
                            8);
    EXPECT_EQ(traces, (std::vector<std::string>{"Arial", "-10", "4294967294", "null", "null", "null", "block"}));
}

TEST(TextFormatScript, AssignmentsRoundFromSwf8AndClampMargins) {
    const std::vector<std::pair<std::string, Writer::Value>> assignments{
        {"size", 2.5}, {"leftMargin", -3.0}, {"indent", -10.9}, {"align", "center"}, {"align", "middle"},
        {"letterSpacing", 1.5}, {"font", Writer::Null{}}};
    EXPECT_EQ(run(assignAndTrace({}, assignments), 8),
              (std::vector<std::string>{"2", "0", "-11", "center", "center", "1.5", "null"}));
    // Before SWF 8 an assignment cuts fractions and keeps indents from going negative.
    EXPECT_EQ(run(assignAndTrace({}, assignments), 7),
              (std::vector<std::string>{"2", "0", "0", "center", "center", "1.5", "null"}));
}
