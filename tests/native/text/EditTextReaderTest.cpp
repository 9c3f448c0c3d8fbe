#include <gtest/gtest.h>
#include "player/swf/Movie.h"
#include "player/swf/TextReader.h"
#include "tests/native/swf/SwfBuilder.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

// A DefineEditText body (after the id) with every optional field present.
std::vector<uint8_t> fullEditText() {
    BitWriter w;
    w.rect(-40, 4000, 20, 2000);
    w.u8(0x80 | 0x40 | 0x20 | 0x10 | 0x08 | 0x04 | 0x02 | 0x01);
    w.u8(0x80 | 0x40 | 0x20 | 0x10 | 0x08 | 0x04 | 0x02 | 0x01);
    w.u16(7);                 // font id
    w.cstring("MyFont");      // font class
    w.u16(360);               // height
    w.u8(10); w.u8(20); w.u8(30); w.u8(40);
    w.u16(12);                // max length
    w.u8(2);                  // centre
    w.u16(100); w.u16(200); w.u16(300); w.u16(uint16_t(-50));
    w.cstring("_root.score");
    w.cstring("<b>hi</b>");
    return w.bytes;
}

std::optional<swf::EditTextDef> read(const std::vector<uint8_t>& bytes) {
    swf::Reader r(bytes);
    return swf::readEditText(r);
}

} // namespace

TEST(EditTextReader, ReadsEveryField) {
    auto edit = read(fullEditText());
    ASSERT_TRUE(edit);
    EXPECT_DOUBLE_EQ(edit->bounds.xMin, -40);
    EXPECT_DOUBLE_EQ(edit->bounds.yMax, 2000);
    EXPECT_TRUE(edit->wordWrap && edit->multiline && edit->password && edit->readOnly);
    EXPECT_TRUE(edit->autoSize && edit->border && edit->wasStatic && edit->html && edit->useOutlines);
    EXPECT_FALSE(edit->selectable);
    EXPECT_EQ(edit->fontId, 7);
    EXPECT_EQ(edit->fontClass, "MyFont");
    EXPECT_DOUBLE_EQ(edit->fontHeight, 360);
    EXPECT_EQ(edit->color, (Rgba{10, 20, 30, 40}));
    EXPECT_EQ(edit->maxLength, 12);
    EXPECT_EQ(edit->align, swf::EditTextDef::Align::Center);
    EXPECT_DOUBLE_EQ(edit->leftMargin, 100);
    EXPECT_DOUBLE_EQ(edit->rightMargin, 200);
    EXPECT_DOUBLE_EQ(edit->indent, 300);
    EXPECT_DOUBLE_EQ(edit->leading, -50);
    EXPECT_EQ(edit->variableName, "_root.score");
    EXPECT_EQ(edit->initialText, "<b>hi</b>");
}

TEST(EditTextReader, AbsentFieldsKeepTheirDefaults) {
    BitWriter w;
    w.rect(0, 100, 0, 100);
    w.u8(0);
    w.u8(0);
    w.cstring("");
    auto edit = read(w.bytes);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->fontId, 0);
    EXPECT_TRUE(edit->selectable);
    EXPECT_EQ(edit->color, (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(edit->align, swf::EditTextDef::Align::Left);
    EXPECT_TRUE(edit->initialText.empty());
}

TEST(EditTextReader, TruncatedTagsAreRefusedOrReadSafely) {
    const std::vector<uint8_t> full = fullEditText();
    const size_t textStart = full.size() - std::string("<b>hi</b>").size() - 1;
    for (size_t length = 0; length < full.size(); ++length) {
        auto edit = read(std::vector<uint8_t>(full.begin(), full.begin() + std::ptrdiff_t(length)));
        // Only the last string may lose its end: the text is cut, not invented.
        if (length < textStart) {
            EXPECT_FALSE(edit) << length;
        } else {
            ASSERT_TRUE(edit) << length;
            EXPECT_EQ(edit->initialText, std::string("<b>hi</b>").substr(0, length - textStart));
        }
    }
}

TEST(EditTextReader, OutOfRangeAlignmentFallsBackToLeft) {
    std::vector<uint8_t> bytes = fullEditText();
    BitWriter w;
    w.rect(-40, 4000, 20, 2000);
    const size_t alignAt = w.bytes.size() + 2 + 2 + 7 + 2 + 4 + 2;
    bytes[alignAt] = 9;
    auto edit = read(bytes);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->align, swf::EditTextDef::Align::Left);
}

TEST(EditTextReader, MovieDefinesTheFieldAsACharacter) {
    BitWriter body;
    body.u16(5);
    body.raw(fullEditText());
    auto result = swf::readMovie(movie({tag(37, body.bytes)}));
    ASSERT_TRUE(result.movie);
    const auto* edit = result.movie->get<swf::EditTextDef>(5);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->variableName, "_root.score");
}
