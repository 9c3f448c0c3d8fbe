#include "dialogs/portable/NumericText.h"

#include <gtest/gtest.h>

namespace tesmar {
namespace {

const NumberSeparators kEnglish{".", ","};
const NumberSeparators kGerman{",", "."};
const NumberSeparators kFrench{",", "\xA0"};  // no-break space groups digits

TEST(IsLocaleNumber, AcceptsNumbersAsTyped) {
  for (const char* text : {"640", "0", "12.5", " 7 ", "\t7", "-3", "+3", "1e3", "1E-3", "2.5e+2", "1,024",
                           "12.", ".5", "-.5", "007", "  -12.50  ",
                           "1e", "1E-"}) {
    EXPECT_TRUE(IsLocaleNumber(text, kEnglish)) << '"' << text << '"';
  }
}

TEST(IsLocaleNumber, RefusesPartialAndMixedTexts) {
  for (const char* text : {"", " ", "-", "+", ".", "-.", "64a", "12a", "a", "6 4", "e3", "1e3.5", "1e3e",
                           "--1", "1-", ",5", "1..2", "0x10", "$5", "1.2.3", "(5)"}) {
    EXPECT_FALSE(IsLocaleNumber(text, kEnglish)) << '"' << text << '"';
  }
}

TEST(IsLocaleNumber, UsesTheLocaleSeparators) {
  EXPECT_TRUE(IsLocaleNumber("12,5", kGerman));
  EXPECT_TRUE(IsLocaleNumber("1.024", kGerman));
  EXPECT_TRUE(IsLocaleNumber("1.024,5", kGerman));
  EXPECT_FALSE(IsLocaleNumber("1,024.5", kGerman));
  EXPECT_TRUE(IsLocaleNumber("1\xA0" "024,5", kFrench));
  EXPECT_FALSE(IsLocaleNumber("12.5", kFrench));
}

TEST(IsLocaleNumber, ToleratesMultiCharacterAndEmptySeparators) {
  EXPECT_TRUE(IsLocaleNumber("1'''000", {".", "'''"}));
  EXPECT_FALSE(IsLocaleNumber("1''000", {".", "'''"}));
  EXPECT_TRUE(IsLocaleNumber("1000", {".", ""}));
  EXPECT_FALSE(IsLocaleNumber("1.5", {"", ""}));
}

} // namespace
} // namespace tesmar
