// Loaded text into the player's strings: code page bytes, and UTF-8 read
// leniently so that text in another encoding still gives one character per
// sequence instead of being dropped.
#include "player/bridge/LoadedText.h"

#include <gtest/gtest.h>

namespace tesmar::bridge {
namespace {

TEST(LoadedText, CodePageMapsEveryByteToOneCharacter) {
    EXPECT_EQ(decodeLoadedText("\xC3\x84 \x80\x95\x81", true), "\xC3\x83\xE2\x80\x9E \xE2\x82\xAC\xE2\x80\xA2\xC2\x81");
}

TEST(LoadedText, ValidUtf8StaysAsItIs) {
    EXPECT_EQ(decodeLoadedText("\xC3\x84 \xE7\x89\x87 \xF0\x9F\x98\x80", false), "\xC3\x84 \xE7\x89\x87 \xF0\x9F\x98\x80");
}

TEST(LoadedText, InvalidSequencesTakeTheirBytesWhateverTheyAre) {
    // C4 D6: a lead and a non-continuation byte make U+0156; a lone
    // continuation byte (95) stands for itself; a lead cut short by the end goes.
    EXPECT_EQ(decodeLoadedText("\xC4\xD6", false), "\xC5\x96");
    EXPECT_EQ(decodeLoadedText("\x95", false), "\xC2\x95");
    EXPECT_EQ(decodeLoadedText("a\xE7\x89", false), "a");
}

} // namespace
} // namespace tesmar::bridge
