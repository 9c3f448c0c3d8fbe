#include <gtest/gtest.h>
#include <zlib.h>
#include "player/swf/Movie.h"
#include "tests/native/swf/SwfBuilder.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

std::vector<uint8_t> deflate(const std::vector<uint8_t>& data) {
    uLongf size = compressBound(data.size());
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, data.data(), data.size(), 9);
    out.resize(size);
    return out;
}

std::vector<uint8_t> lossless(uint16_t code, uint16_t id, uint8_t format, uint16_t w, uint16_t h,
                              const std::vector<uint8_t>& head, const std::vector<uint8_t>& pixels) {
    BitWriter b;
    b.u16(id);
    b.u8(format);
    b.u16(w);
    b.u16(h);
    b.raw(head);
    b.raw(deflate(pixels));
    return tag(code, b.bytes, true);
}

} // namespace

TEST(Bitmaps, ColourMappedRowsArePaddedToFourBytes) {
    // Two colours (red, green with alpha 128), 2 x 2 pixels, rows of 4 bytes.
    std::vector<uint8_t> data = {255, 0, 0, 255, 0, 255, 0, 128, 0, 1, 9, 9, 1, 0, 9, 9};
    auto result = swf::readMovie(movie({lossless(36, 4, 3, 2, 2, {1}, data)}));
    ASSERT_TRUE(result.movie);
    const auto* bitmap = result.movie->get<swf::BitmapDef>(4);
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->image.width, 2);
    EXPECT_EQ(bitmap->image.pixels[0], 0xFFFF0000u);
    EXPECT_EQ(bitmap->image.pixels[1], 0x80008000u);   // premultiplied
    EXPECT_EQ(bitmap->image.pixels[2], 0x80008000u);
}

TEST(Bitmaps, DirectFormatWithoutAlphaIsOpaque) {
    std::vector<uint8_t> data = {0, 10, 20, 30};
    auto result = swf::readMovie(movie({lossless(20, 4, 5, 1, 1, {}, data)}));
    ASSERT_TRUE(result.movie);
    const auto* bitmap = result.movie->get<swf::BitmapDef>(4);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->image.pixels[0], 0xFF0A141Eu);
}

TEST(Bitmaps, HugeOrShortBitmapsAreRefused) {
    // 65535 x 65535 claims four billion pixels from a few bytes.
    auto huge = lossless(36, 4, 5, 65535, 65535, {}, std::vector<uint8_t>(16, 0));
    // 4 x 4 pixels but data for one row only.
    auto shortData = lossless(36, 5, 5, 4, 4, {}, std::vector<uint8_t>(16, 0));
    auto result = swf::readMovie(movie({huge, shortData}));
    ASSERT_TRUE(result.movie);
    EXPECT_FALSE(result.movie->character(4));
    EXPECT_FALSE(result.movie->character(5));
    EXPECT_EQ(result.movie->warnings.size(), 2u);
}

TEST(Bitmaps, JpegGoesToTheDecoderWithTablesJoined) {
    std::vector<uint8_t> seen;
    swf::ImageDecoder decoder = [&](std::span<const uint8_t> data) {
        seen.assign(data.begin(), data.end());
        return std::optional<Image>(Image(1, 1, 0xFF000000u));
    };
    BitWriter bits;
    bits.u16(7);
    bits.raw({0xFF, 0xD9, 0xFF, 0xD8, 0xFF, 0xD8, 0xAA, 0xFF, 0xD9});
    auto file = movie({tag(8, {0xFF, 0xD8, 0x11, 0xFF, 0xD9}), tag(6, bits.bytes)});
    auto result = swf::readMovie(file, decoder);
    ASSERT_TRUE(result.movie);
    EXPECT_EQ(seen, (std::vector<uint8_t>{0xFF, 0xD8, 0x11, 0xAA, 0xFF, 0xD9}));
    EXPECT_TRUE(result.movie->get<swf::BitmapDef>(7));
}

TEST(Buttons, RecordsAndConditionActions) {
    BitWriter b;
    b.u16(9);
    b.u8(0);                  // not a menu
    b.u16(2 + 1 + 2 + 2 + 6 + 1 + 1);   // action offset: this field, one record, the end byte
    b.u8(0x01 | 0x08);        // up and hit states
    b.u16(1);
    b.u16(1);
    b.matrix();
    b.u8(0);                  // colour transform: nothing
    b.u8(0);                  // end of records
    b.u16(0);                 // last condition record
    b.u8(0x08);               // OverDownToOverUp (release)
    b.u8(0);
    b.raw({0x07, 0x00});
    auto result = swf::readMovie(movie({rectangleShape(1, 20, 20, 0, 0, 0), tag(34, b.bytes)}));
    ASSERT_TRUE(result.movie);
    const auto* button = result.movie->get<swf::ButtonDef>(9);
    ASSERT_TRUE(button);
    ASSERT_EQ(button->records.size(), 1u);
    EXPECT_EQ(button->records[0].states, swf::button::Up | swf::button::HitTest);
    ASSERT_EQ(button->actions.size(), 1u);
    EXPECT_EQ(button->actions[0].conditions, swf::button::OverDownToOverUp);
    EXPECT_EQ(button->actions[0].actions, (swf::Bytes{0x07, 0x00}));
}

TEST(Text, GlyphsArePlacedByAdvances) {
    // DefineFont with one empty glyph, then DefineText with two glyphs.
    BitWriter font;
    font.u16(3);
    font.u16(2);              // offset table: one glyph at offset 2
    font.ubits(1, 4); font.ubits(0, 4); font.ubits(0, 6);   // glyph: no edges
    font.flush();
    BitWriter text;
    text.u16(8);
    text.rect(0, 400, 0, 400);
    text.matrix();
    text.u8(1);               // glyph bits
    text.u8(8);               // advance bits
    text.u8(0x80 | 0x08 | 0x04 | 0x01 | 0x02);
    text.u16(3);
    text.u8(255); text.u8(0); text.u8(0);
    text.u16(40);             // x
    text.u16(300);            // y
    text.u16(240);            // height
    text.u8(2);
    text.ubits(0, 1); text.sbits(100, 8);
    text.ubits(0, 1); text.sbits(90, 8);
    text.flush();
    text.u8(0);
    auto result = swf::readMovie(movie({tag(10, font.bytes), tag(11, text.bytes)}));
    ASSERT_TRUE(result.movie);
    const auto* def = result.movie->get<swf::TextDef>(8);
    ASSERT_TRUE(def);
    ASSERT_EQ(def->runs.size(), 1u);
    const swf::TextRun& run = def->runs[0];
    EXPECT_EQ(run.fontId, 3);
    EXPECT_EQ(run.color, (Rgba{255, 0, 0, 255}));
    EXPECT_DOUBLE_EQ(run.height, 240);
    ASSERT_EQ(run.glyphs.size(), 2u);
    EXPECT_DOUBLE_EQ(run.glyphs[0].x, 40);
    EXPECT_DOUBLE_EQ(run.glyphs[1].x, 140);
    EXPECT_DOUBLE_EQ(run.glyphs[1].y, 300);
    EXPECT_EQ(result.movie->get<swf::FontDef>(3)->glyphs.size(), 1u);
}
