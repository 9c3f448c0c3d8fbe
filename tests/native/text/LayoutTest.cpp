#include <gtest/gtest.h>
#include "tests/native/text/TextFixtures.h"

using namespace tesmar;
using namespace tesmar::test;

// With the box font at 400 twips: each letter advances 240 twips, a line
// is 320 ascent + 80 descent = 400 twips high; the room for text is the
// box width less two 40-twip gutters.

TEST(TextLayout, WrapsAtSpacesAndBreaksLongWordsWhereTheyOverflow) {
    TextStage s;
    s.def.wordWrap = true;
    s.def.bounds = Rect{0, 0, 240 * 7 + 80, 2000};   // room for 7 letters
    s.def.initialText = "abc defg hijklmnopq";
    auto field = s.field();
    const auto& lines = field->layout().lines;
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(field->text().substr(lines[0].first, lines[0].end - lines[0].first), "abc ");
    EXPECT_EQ(field->text().substr(lines[1].first, lines[1].end - lines[1].first), "defg ");
    EXPECT_EQ(field->text().substr(lines[2].first, lines[2].end - lines[2].first), "hijklmn");
    EXPECT_EQ(field->text().substr(lines[3].first, lines[3].end - lines[3].first), "opq");
    // The trailing space takes no room.
    EXPECT_DOUBLE_EQ(lines[0].width, 3 * 240);
    EXPECT_DOUBLE_EQ(lines[3].top, 3 * 400);
}

TEST(TextLayout, WithoutWordWrapOnlyBreaksMakeLines) {
    TextStage s;
    s.def.bounds = Rect{0, 0, 500, 2000};
    s.def.initialText = "abcdefghij\nxy\r\nz";
    auto field = s.field();
    // "\r\n" is two breaks, the second making an empty line.
    EXPECT_EQ(field->text(), "abcdefghij\rxy\r\rz");
    ASSERT_EQ(field->layout().lines.size(), 4u);
    EXPECT_DOUBLE_EQ(field->textWidth(), 10 * 240);
    EXPECT_DOUBLE_EQ(field->textHeight(), 4 * 400);
}

TEST(TextLayout, AlignmentMarginsIndentAndLeading) {
    TextStage s;
    s.def.bounds = Rect{0, 0, 2080, 2000};   // room 2000
    s.def.leading = 100;
    s.def.leftMargin = 200;
    s.def.rightMargin = 100;
    s.def.indent = 60;
    s.def.align = swf::EditTextDef::Align::Right;
    s.def.initialText = "ab\rcd";
    auto right = s.field();
    const auto& lines = right->layout().lines;
    ASSERT_EQ(lines.size(), 2u);
    // Right edge at 2000 - 100; each paragraph's first line is indented, so
    // the room and the start shift together.
    EXPECT_DOUBLE_EQ(lines[0].left + lines[0].width, 1900);
    EXPECT_DOUBLE_EQ(lines[1].top, 400 + 100);

    s.def.align = swf::EditTextDef::Align::Center;
    auto center = s.field();
    const auto& c = center->layout().lines[0];
    EXPECT_DOUBLE_EQ(c.left, 260 + (2000 - 300 - 60 - 480) / 2.0);

    s.def.align = swf::EditTextDef::Align::Left;
    auto left = s.field();
    EXPECT_DOUBLE_EQ(left->layout().lines[0].left, 260);
    ASSERT_FALSE(left->layout().glyphs.empty());
    EXPECT_DOUBLE_EQ(left->layout().glyphs[0].baseline, 320);
}

TEST(TextLayout, AutoSizeFitsTheBoxToTheText) {
    TextStage s;
    s.def.autoSize = true;
    s.def.bounds = Rect{100, 100, 5000, 5000};
    s.def.initialText = "abcd";
    auto field = s.field();
    EXPECT_DOUBLE_EQ(field->box().xMin, 100);
    EXPECT_DOUBLE_EQ(field->box().width(), 4 * 240 + 80);
    EXPECT_DOUBLE_EQ(field->box().height(), 400 + 80);

    field->setAutoSize(stage::EditText::AutoSize::Right);
    field->setText("ab");
    EXPECT_DOUBLE_EQ(field->box().xMax, 100 + 4 * 240 + 80);
    EXPECT_DOUBLE_EQ(field->box().width(), 2 * 240 + 80);
}

TEST(TextLayout, EmbeddedFontsMatchNameAndStyleAndUnknownCharactersDrawNothing) {
    TextStage s;
    s.def.html = true;
    s.def.initialText = "<b>ab</b>c\xC3\xA9";   // the é is not in the font
    auto field = s.field();
    const auto& glyphs = field->layout().glyphs;
    ASSERT_EQ(glyphs.size(), 3u);
    const auto* regular = s.movie->movie().get<swf::FontDef>(1);
    const auto* bold = s.movie->movie().get<swf::FontDef>(3);
    EXPECT_EQ(glyphs[0].outline, &bold->glyphs[2]);     // 'a' of the bold font
    EXPECT_EQ(glyphs[2].outline, &regular->glyphs[4]);  // 'c' of the regular one
    EXPECT_EQ(field->text(), "abc\xC3\xA9");
}

TEST(TextLayout, PasswordFieldsShowStars) {
    TextStage s;
    s.def.password = true;
    s.def.initialText = "ab";
    auto field = s.field();
    const auto* font = s.movie->movie().get<swf::FontDef>(1);
    ASSERT_EQ(field->layout().glyphs.size(), 2u);
    EXPECT_EQ(field->layout().glyphs[0].outline, &font->glyphs[1]);
    EXPECT_EQ(field->text(), "ab");
}

TEST(TextLayout, DeviceTextWithoutAHostDrawsNothingButKeepsItsText) {
    TextStage s;
    s.def.useOutlines = false;
    s.def.initialText = "ab";
    auto field = s.field();
    EXPECT_TRUE(field->layout().glyphs.empty());
    EXPECT_EQ(field->text(), "ab");
}
