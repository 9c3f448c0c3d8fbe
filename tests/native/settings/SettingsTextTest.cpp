#include "startup/portable/SettingsText.h"

#include <gtest/gtest.h>

namespace tesmar {
namespace {

TEST(BooleanText, OnlyTheExactTextTrueIsTrue)
{
    EXPECT_TRUE(BooleanFromText("True"));
    for (const char* text : {"true", "TRUE", "False", "1", "-1", " True", "True ", "", "Tru", "Truee"})
        EXPECT_FALSE(BooleanFromText(text)) << '"' << text << '"';
}

TEST(BooleanText, WritesTrueAndFalseAndReadsThemBack)
{
    EXPECT_EQ(TextFromBoolean(true), "True");
    EXPECT_EQ(TextFromBoolean(false), "False");
    EXPECT_TRUE(BooleanFromText(TextFromBoolean(true)));
    EXPECT_FALSE(BooleanFromText(TextFromBoolean(false)));
}

TEST(IntegerText, PlainSignedAndBlankSurroundedNumbers)
{
    EXPECT_EQ(Int16FromText("640"), 640);
    EXPECT_EQ(Int16FromText("0"), 0);
    EXPECT_EQ(Int16FromText("-12"), -12);
    EXPECT_EQ(Int16FromText("+12"), 12);
    EXPECT_EQ(Int16FromText("  480 "), 480);
    EXPECT_EQ(Int16FromText("\t7\t"), 7);
    EXPECT_EQ(Int16FromText("007"), 7);
    EXPECT_EQ(Int16FromText("-0"), 0);
    EXPECT_EQ(Int32FromText("16777215"), 16777215);
}

TEST(IntegerText, FractionsRoundHalfToEven)
{
    EXPECT_EQ(Int16FromText("12.5"), 12);
    EXPECT_EQ(Int16FromText("13.5"), 14);
    EXPECT_EQ(Int16FromText("12.51"), 13);
    EXPECT_EQ(Int16FromText("12.500"), 12);
    EXPECT_EQ(Int16FromText("12.5000001"), 13);
    EXPECT_EQ(Int16FromText("12.49999"), 12);
    EXPECT_EQ(Int16FromText("-2.5"), -2);
    EXPECT_EQ(Int16FromText("-3.5"), -4);
    EXPECT_EQ(Int16FromText("-0.4"), 0);
    EXPECT_EQ(Int16FromText("0.5"), 0);
    EXPECT_EQ(Int16FromText("1.5"), 2);
    EXPECT_EQ(Int16FromText(".5"), 0);
    EXPECT_EQ(Int16FromText(".51"), 1);
    EXPECT_EQ(Int16FromText("5."), 5);
}

TEST(IntegerText, SixteenBitRangeAfterRounding)
{
    EXPECT_EQ(Int16FromText("32767"), 32767);
    EXPECT_EQ(Int16FromText("-32768"), -32768);
    EXPECT_EQ(Int16FromText("32767.4"), 32767);
    EXPECT_EQ(Int16FromText("-32768.5"), -32768);  // the even neighbour is in range
    EXPECT_EQ(Int16FromText("32768"), std::nullopt);
    EXPECT_EQ(Int16FromText("32767.5"), std::nullopt);
    EXPECT_EQ(Int16FromText("-32769"), std::nullopt);
    EXPECT_EQ(Int16FromText("100000"), std::nullopt);
}

TEST(IntegerText, ThirtyTwoBitRange)
{
    EXPECT_EQ(Int32FromText("2147483647"), 2147483647);
    EXPECT_EQ(Int32FromText("-2147483648"), INT32_MIN);
    EXPECT_EQ(Int32FromText("2147483648"), std::nullopt);
    EXPECT_EQ(Int32FromText("-2147483649"), std::nullopt);
    EXPECT_EQ(Int32FromText("2147483646.5"), 2147483646);
    EXPECT_EQ(Int32FromText("2147483647.5"), std::nullopt);
}

TEST(IntegerText, HugeDigitStringsAreOutOfRangeNotOverflowed)
{
    EXPECT_EQ(Int32FromText("99999999999999999999999999999999"), std::nullopt);
    EXPECT_EQ(Int32FromText("-99999999999999999999999999999999"), std::nullopt);
    EXPECT_EQ(Int16FromText("18446744073709551616"), std::nullopt);  // 2^64 wraps to 0 if unchecked
    EXPECT_EQ(Int32FromText(std::string(100000, '9')), std::nullopt);
}

TEST(IntegerText, TextsThatAreNoPlainDecimalNumberGiveNothing)
{
    for (const char* text : {"", " ", "abc", "12abc", "1 2", "- 5", "+-5", "--5", "+", "-", ".",
                             "1e3", "1E3", "0x10", "&H10", "1,000", "1.000.000", "$5", "5$", "None",
                             "True", "1.5.2", "١٢"})
        EXPECT_EQ(Int16FromText(text), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(Int16FromText(std::string_view("1\0" "2", 3)), std::nullopt);
}

} // namespace
} // namespace tesmar
