// The program's settings store code, run in this process against the real
// registry, and checked through the harness's independent registry access.
#include "Harness.h"
#include "startup/Settings.h"

namespace tesmar::test {
namespace {

using SettingsStoreTest = ScreenSaverTest;

std::string Read(const std::string& key, const std::string& defaultText = "None")
{
    return ReadSetting(SettingsApplicationName, SettingsSection, key, defaultText);
}

bool Write(const std::string& key, const std::string& text)
{
    return WriteSetting(SettingsApplicationName, SettingsSection, key, text);
}

TEST_F(SettingsStoreTest, WritesTextValuesUnderTheMovieKeyOfTheCurrentUser)
{
    ASSERT_TRUE(Write("gFilePath", "C:\\Movies\\intro one.swf"));
    EXPECT_EQ(ReadStoredSetting("gFilePath"), "C:\\Movies\\intro one.swf");

    DWORD type = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, MovieKeyPath, "gFilePath", RRF_RT_ANY, &type, nullptr,
                           nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsStoreTest, ReadsWhatAnEarlierInstallationStored)
{
    WriteStoredSetting("gMovieWidth", "640");
    WriteStoredSetting("gFilePath", "");
    EXPECT_EQ(Read("gMovieWidth"), "640");
    EXPECT_EQ(Read("gFilePath"), "");
}

TEST_F(SettingsStoreTest, MissingKeysAndSectionsGiveTheDefaultText)
{
    EXPECT_EQ(Read("gDefault"), "None");  // no application key at all
    WriteStoredSetting("gGame", "True");
    EXPECT_EQ(Read("gDefault", "fallback"), "fallback");
    EXPECT_EQ(ReadSetting(SettingsApplicationName, "Other", "gGame", "x"), "x");
}

TEST_F(SettingsStoreTest, RoundTripKeepsEveryTextAsItIs)
{
    const std::vector<std::string> texts = {"",       " ",  "True", "None", " 12.5 ",
                                            "http://example.com/a.swf?x=1&y=2",
                                            std::string(5000, 'w'), "caf\xE9"};
    for (const std::string& text : texts) {
        ASSERT_TRUE(Write("gFilePath", text));
        EXPECT_EQ(Read("gFilePath"), text);
        EXPECT_EQ(ReadStoredSetting("gFilePath"), text);
    }
}

TEST_F(SettingsStoreTest, WritingReplacesAndLeavesOtherKeysAlone)
{
    WriteStoredSetting("gMovieWidth", "640");
    WriteStoredSetting("gMovieHeight", "480");
    ASSERT_TRUE(Write("gMovieWidth", "800"));
    EXPECT_EQ(ReadStoredSetting("gMovieWidth"), "800");
    EXPECT_EQ(ReadStoredSetting("gMovieHeight"), "480");
}

TEST_F(SettingsStoreTest, AValueOfAnotherTypeReadsAsMissing)
{
    DWORD number = 640;
    WriteStoredRawSetting("gMovieWidth", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(Read("gMovieWidth"), "None");
}

TEST_F(SettingsStoreTest, LoadSettingsOnAnEmptyStoreWritesTheDefaultsAndUsesThem)
{
    LoadSettings();
    std::map<std::string, std::string> expected = {
        {"gDefault", "True"},    {"gGame", "False"},        {"gFilePath", ""},
        {"gFullScreen", "True"}, {"gMovieWidth", "0"},      {"gMovieHeight", "0"},
        {"gBackground", "0"},    {"gInteraction", "False"}, {"gQuitPosition", "0"}};
    EXPECT_EQ(ReadAllStoredSettings(), expected);
    EXPECT_TRUE(gDefault);
    EXPECT_TRUE(gFullScreen);
    EXPECT_FALSE(gGame);
    EXPECT_FALSE(gInteraction);
}

TEST_F(SettingsStoreTest, LoadSettingsReadsStoredTexts)
{
    StoreSettings({{"gDefault", "False"},       {"gGame", "False"},        {"gFilePath", "m.swf"},
                   {"gFullScreen", "False"},    {"gMovieWidth", " 320 "},  {"gMovieHeight", "13.5"},
                   {"gBackground", "16777215"}, {"gInteraction", "True"},  {"gQuitPosition", "3"}});
    LoadSettings();
    EXPECT_FALSE(gDefault);
    EXPECT_EQ(gFilePath, "m.swf");
    EXPECT_FALSE(gFullScreen);
    EXPECT_EQ(gMovieWidth, 320);
    EXPECT_EQ(gMovieHeight, 14);
    EXPECT_EQ(gBackground, 16777215);
    EXPECT_TRUE(gInteraction);
    EXPECT_EQ(gQuitPosition, 3);
}

} // namespace
} // namespace tesmar::test
