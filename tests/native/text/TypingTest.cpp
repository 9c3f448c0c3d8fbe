#include <gtest/gtest.h>
#include "player/stage/EditTextRestrict.h"
#include "tests/native/text/TextFixtures.h"

using namespace tesmar;
using namespace tesmar::stage;
using namespace tesmar::test;

namespace {

// What typing each character of typed enters under pattern.
std::u32string typedUnder(std::u32string_view pattern, std::u32string_view typed) {
    const TypingRestriction r(pattern);
    std::u32string out;
    for (char32_t c : typed)
        if (char32_t entered = r.filter(c)) out.push_back(entered);
    return out;
}

const std::u32string kTyped = U"abcABC012^\\-* &\u0105\u03b4";

} // namespace

TEST(TypingRestriction, RangesAndRefusalsWithTheLaterEntryWinning) {
    EXPECT_EQ(typedUnder(U"a-z", kTyped), U"abcabc");
    EXPECT_EQ(typedUnder(U"a-zA-Z^bC", kTyped), U"aBcABc");
    EXPECT_EQ(typedUnder(U"a^b^c", kTyped), U"acac");
    EXPECT_EQ(typedUnder(U"^\\^", kTyped), U"abcABC012\\-* &\u0105\u03b4");
    EXPECT_EQ(typedUnder(U"^", kTyped), kTyped);
}

TEST(TypingRestriction, DashesEscapesAndBackwardRanges) {
    // A leading dash ranges from the first character; a lone one allows nothing.
    EXPECT_EQ(typedUnder(U"-b", kTyped), U"abCABC012^\\-* &");
    EXPECT_EQ(typedUnder(U"---", kTyped), U"");
    EXPECT_EQ(typedUnder(U"b-a", kTyped), U"bb");
    EXPECT_EQ(typedUnder(U"a\\-z", kTyped), U"aa-");
    EXPECT_EQ(typedUnder(U"a\\", kTyped), U"aa");
    // Only ASCII letters fall back to their other case.
    EXPECT_EQ(typedUnder(U"\u03b1-\u03c9", U"\u03b4\u0394"), U"\u03b4");
}

TEST(Typing, EntersAtTheCaretInPlaceOfTheSelection) {
    TextStage s;
    auto f = s.field();
    f->setText("hello");
    f->setSelection(1, 3);
    EXPECT_TRUE(f->typeText(U"EY"));
    EXPECT_EQ(f->text(), "hEYlo");
    EXPECT_EQ(f->selectionBegin(), 3u);
    EXPECT_EQ(f->selectionEnd(), 3u);
    EXPECT_TRUE(f->editKey(EditText::EditKey::Backspace));
    EXPECT_TRUE(f->editKey(EditText::EditKey::Delete));
    EXPECT_EQ(f->text(), "hEo");
    f->editKey(EditText::EditKey::Home);
    EXPECT_FALSE(f->editKey(EditText::EditKey::Backspace));
    f->editKey(EditText::EditKey::End);
    EXPECT_FALSE(f->editKey(EditText::EditKey::Delete));
    EXPECT_EQ(f->selectionBegin(), 3u);
}

TEST(Typing, BreaksOnlyInMultilineFieldsAndNoMoreThanMaxChars) {
    TextStage s;
    auto f = s.field();
    f->setText("ab");
    f->setSelection(2, 2);
    f->maxChars = 4;
    EXPECT_FALSE(f->editKey(EditText::EditKey::Enter));
    EXPECT_TRUE(f->typeText(U"c\nde"));
    EXPECT_EQ(f->text(), "abcd");
    EXPECT_FALSE(f->typeText(U"x"));
    f->maxChars = 0;
    f->multiline = true;
    EXPECT_TRUE(f->editKey(EditText::EditKey::Enter));
    EXPECT_EQ(f->text(), "abcd\r");
    f->restrict = "0-9";
    EXPECT_FALSE(f->typeText(U"x"));
    // A script shortening the text keeps the caret inside it.
    f->setText("z");
    EXPECT_EQ(f->selectionEnd(), 1u);
}
