// Number printing and parsing as the player does them.

#include "player/script/Convert.h"
#include "player/script/Strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tesmar::script {
namespace {

TEST(NumberToString, IntegersAndFractions)
{
    EXPECT_EQ(numberToString(0), "0");
    EXPECT_EQ(numberToString(-0.0), "0");
    EXPECT_EQ(numberToString(42), "42");
    EXPECT_EQ(numberToString(-7), "-7");
    EXPECT_EQ(numberToString(0.5), "0.5");
    EXPECT_EQ(numberToString(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberToString(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(numberToString(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberToString(-2.5), "-2.5");
}

TEST(NumberToString, ExponentForms)
{
    EXPECT_EQ(numberToString(1e15), "1e+15");
    EXPECT_EQ(numberToString(999999999999999.0), "999999999999999");
    EXPECT_EQ(numberToString(1.5e20), "1.5e+20");
    EXPECT_EQ(numberToString(123456789012345680000.0), "1.23456789012346e+20");
    EXPECT_EQ(numberToString(0.0001), "0.0001");
    EXPECT_EQ(numberToString(0.00001), "0.00001");
    EXPECT_EQ(numberToString(0.000001), "1e-6");
    EXPECT_EQ(numberToString(-1.25e-7), "-1.25e-7");
    EXPECT_EQ(numberToString(5e-324), "4.94065645841247e-324");
    EXPECT_EQ(numberToString(1.7976931348623157e308), "1.79769313486231e+308");
    EXPECT_EQ(numberToString(-1.7976931348623157e308), "-1.79769313486231e+308");
    EXPECT_EQ(numberToString(1.79769313486232e307), "1.79769313486232e+307");
}

TEST(NumberToString, SpecialValues)
{
    EXPECT_EQ(numberToString(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(numberToString(INFINITY), "Infinity");
    EXPECT_EQ(numberToString(-INFINITY), "-Infinity");
}

TEST(NumberToString, Radix)
{
    EXPECT_EQ(numberToRadix(255, 16), "ff");
    EXPECT_EQ(numberToRadix(-255, 2), "-11111111");
    EXPECT_EQ(numberToRadix(35, 36), "z");
    EXPECT_EQ(numberToRadix(1.5, 10), "1.5");
    // NaN reads as the smallest 32-bit integer, whose digits fall below '0'.
    EXPECT_EQ(numberToRadix(NAN, 2), "-/" + std::string(31, '0'));
    EXPECT_EQ(numberToRadix(NAN, 16), "-(0000000");
    EXPECT_EQ(numberToRadix(NAN, 10), "NaN");
    EXPECT_EQ(numberToRadix(NAN, 1), "NaN");
}

TEST(StringToNumber, ByVersion)
{
    EXPECT_TRUE(std::isnan(stringToNumber("", 5)));
    EXPECT_EQ(stringToNumber("", 4), 0);
    EXPECT_EQ(stringToNumber("12abc", 4), 12);
    EXPECT_EQ(stringToNumber("abc", 4), 0);
    EXPECT_TRUE(std::isnan(stringToNumber("12abc", 6)));
    EXPECT_EQ(stringToNumber("  \t\n12.5", 6), 12.5);
    EXPECT_TRUE(std::isnan(stringToNumber("12 ", 6)));
    EXPECT_EQ(stringToNumber("1e3", 6), 1000);
    EXPECT_EQ(stringToNumber("-.5", 6), -0.5);
    EXPECT_TRUE(std::isnan(stringToNumber("Infinity", 7)));
}

TEST(StringToNumber, HexAndOctalFromSwf6)
{
    EXPECT_EQ(stringToNumber("0x1A", 6), 26);
    EXPECT_EQ(stringToNumber("0xFFFFFFFF", 7), -1);
    EXPECT_TRUE(std::isnan(stringToNumber("0x1A", 5)));
    EXPECT_EQ(stringToNumber("010", 6), 8);
    EXPECT_EQ(stringToNumber("-010", 6), -8);
    EXPECT_EQ(stringToNumber("010", 5), 10);
    EXPECT_EQ(stringToNumber("019", 6), 19);
    EXPECT_TRUE(std::isnan(stringToNumber("0xG", 6)));
    // Octal needs the zero first: white space before it reads as decimal.
    EXPECT_EQ(stringToNumber(" 010", 6), 10);
    EXPECT_EQ(stringToNumber("+010", 6), 8);
    // Both read as 32-bit integers; longer hexadecimal keeps its last eight digits.
    EXPECT_EQ(stringToNumber("037777777777", 6), -1);
    EXPECT_EQ(stringToNumber("-037777777777", 6), 1);
    EXPECT_EQ(stringToNumber("0x1999999981ffffff", 6), -2113929217);
    EXPECT_EQ(stringToNumber("0x-10", 6), -16);
    EXPECT_TRUE(std::isnan(stringToNumber("0x-", 6)));
}

TEST(ParseFloatPrefix, TakesLongestNumber)
{
    EXPECT_EQ(parseFloatPrefix(" 3.5px"), 3.5);
    EXPECT_EQ(parseFloatPrefix("1e2e3"), 100);
    EXPECT_EQ(parseFloatPrefix("7e"), 7);
    EXPECT_TRUE(std::isnan(parseFloatPrefix("px")));
}

TEST(ParseFloatPrefix, ReadsPastFurtherPointsAndWrapsTheExponent)
{
    EXPECT_EQ(parseFloatPrefix("1.2345.678"), 1.2345678);
    EXPECT_EQ(parseFloatPrefix("1.2345.6e50"), 1.23456);   // no exponent after a second point
    EXPECT_EQ(parseFloatPrefix("1e4294967297"), 10);
    EXPECT_EQ(parseFloatPrefix("-034.1+e20"), -34.1);
    EXPECT_TRUE(std::isnan(parseFloatPrefix("-")));
}

TEST(IntegerConversions, WrapLikeThePlayer)
{
    EXPECT_EQ(toInt32(4294967295.0), -1);
    EXPECT_EQ(toInt32(2147483648.0), -2147483647 - 1);
    EXPECT_EQ(toInt32(-1.9), -1);
    EXPECT_EQ(toInt32(NAN), 0);
    EXPECT_EQ(toInt32(INFINITY), 0);
    EXPECT_EQ(toUint32(-1), 4294967295u);
}

TEST(Utf16, RoundTripsAndCountsCodeUnits)
{
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("\xC3\xA9"), 1u);           // é
    EXPECT_EQ(utf16Length("\xF0\x9F\x98\x8B"), 2u);   // outside the basic plane: a pair
    EXPECT_EQ(toUtf8(toUtf16("h\xC3\xA9llo")), "h\xC3\xA9llo");
    // A stray byte becomes the Latin-1 character of that value.
    EXPECT_EQ(toUtf16("\xE9"), std::u16string(1, u'\u00E9'));
    // A lone surrogate prints as the replacement character.
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD83D))), "\xEF\xBF\xBD");
}

} // namespace
} // namespace tesmar::script
