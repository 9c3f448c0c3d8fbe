#include <gtest/gtest.h>
#include "player/bridge/UrlEncoding.h"

using namespace tesmar::bridge;

TEST(UrlEncoding, EscapesEverythingButLettersAndDigits) {
    EXPECT_EQ(urlEscape("abcXYZ019"), "abcXYZ019");
    EXPECT_EQ(urlEscape("a b"), "a%20b");
    EXPECT_EQ(urlEscape("-_.*~!"), "%2D%5F%2E%2A%7E%21");
    // Bytes above 127 (UTF-8) escape one by one, in upper-case hex.
    EXPECT_EQ(urlEscape("\xC3\xA9"), "%C3%A9");
    EXPECT_EQ(urlEscape(std::string("\0x", 2)), "%00x");
    // Requests send spaces as plus signs; a plus sign itself is escaped.
    EXPECT_EQ(urlEscape("a b+c", true), "a+b%2Bc");
    EXPECT_EQ(encodeForm({{"x y", "1 2"}}, true), "x+y=1+2");
}

TEST(UrlEncoding, UnescapesPercentBytesAndPlusSigns) {
    EXPECT_EQ(urlUnescape("The%20test+passed"), "The test passed");
    EXPECT_EQ(urlUnescape("%c3%A9"), "\xC3\xA9");
    // A percent sign without two hex digits stays as it is.
    EXPECT_EQ(urlUnescape("100%"), "100%");
    EXPECT_EQ(urlUnescape("%4"), "%4");
    EXPECT_EQ(urlUnescape("%zz1"), "%zz1");
}

TEST(UrlEncoding, DecodesPairsInOrder) {
    const FormVariables got = decodeForm("myVar=Hurray&also=The%20test%20passed&&flag&=x&a=b=c");
    const FormVariables want = {
        {"myVar", "Hurray"}, {"also", "The test passed"}, {"flag", ""}, {"", "x"}, {"a", "b=c"}};
    EXPECT_EQ(got, want);
    EXPECT_TRUE(decodeForm("").empty());
    EXPECT_TRUE(decodeForm("&&&").empty());
}

TEST(UrlEncoding, EncodingRoundTrips) {
    const FormVariables variables = {{"k y", "a&b=c"}, {"\xE2\x82\xAC", "100% sure"}, {"empty", ""}};
    const std::string text = encodeForm(variables);
    EXPECT_EQ(text, "k%20y=a%26b%3Dc&%E2%82%AC=100%25%20sure&empty=");
    EXPECT_EQ(decodeForm(text), variables);
    EXPECT_EQ(encodeForm({}), "");
}
