#include "startup/portable/SettingsLoad.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tesmar {
namespace {

// A store in memory that records the writes in order.
struct FakeStore {
    std::map<std::string, std::string> texts;
    std::vector<std::string> writes;

    SettingValues Load()
    {
        return LoadSettingValues(
            [this](const std::string& key) {
                auto found = texts.find(key);
                return found == texts.end() ? std::string(MissingSettingMarker) : found->second;
            },
            [this](const std::string& key, const std::string& text) {
                texts[key] = text;
                writes.push_back(key);
            });
    }
};

const std::map<std::string, std::string> Defaults = {
    {"gDefault", "True"},    {"gGame", "False"},       {"gFilePath", ""},
    {"gFullScreen", "True"}, {"gMovieWidth", "0"},     {"gMovieHeight", "0"},
    {"gBackground", "0"},    {"gInteraction", "False"}, {"gQuitPosition", "0"}};

TEST(LoadSettings, EmptyStoreGetsEveryDefaultInLoadOrder)
{
    FakeStore store;
    SettingValues values = store.Load();
    EXPECT_EQ(store.texts, Defaults);
    EXPECT_EQ(store.writes, (std::vector<std::string>{"gDefault", "gGame", "gFilePath", "gFullScreen",
                                                      "gMovieWidth", "gMovieHeight", "gBackground",
                                                      "gInteraction", "gQuitPosition"}));
    // The values are those of the written defaults: the showcase, full screen.
    EXPECT_TRUE(values.showcase);
    EXPECT_FALSE(values.gameCollection);
    EXPECT_EQ(values.filePath, "");
    EXPECT_TRUE(values.fullScreen);
    EXPECT_EQ(values.movieWidth, 0);
    EXPECT_EQ(values.movieHeight, 0);
    EXPECT_EQ(values.background, 0);
    EXPECT_FALSE(values.interaction);
    EXPECT_EQ(values.quitPosition, 0);
}

TEST(LoadSettings, StoredTextsAreReadAndNothingIsWritten)
{
    FakeStore store;
    store.texts = {{"gDefault", "False"},      {"gGame", "True"},         {"gFilePath", "C:\\a b\\m.swf"},
                   {"gFullScreen", "False"},   {"gMovieWidth", "640"},    {"gMovieHeight", "12.5"},
                   {"gBackground", "16777215"}, {"gInteraction", "True"}, {"gQuitPosition", "7"}};
    const auto before = store.texts;
    SettingValues values = store.Load();
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.texts, before);
    EXPECT_FALSE(values.showcase);
    EXPECT_TRUE(values.gameCollection);
    EXPECT_EQ(values.filePath, "C:\\a b\\m.swf");
    EXPECT_FALSE(values.fullScreen);
    EXPECT_EQ(values.movieWidth, 640);
    EXPECT_EQ(values.movieHeight, 12);
    EXPECT_EQ(values.background, 16777215);
    EXPECT_TRUE(values.interaction);
    EXPECT_EQ(values.quitPosition, 7);
}

TEST(LoadSettings, OnlyTheMissingKeyIsWrittenAndTakesItsDefault)
{
    FakeStore store;
    store.texts = Defaults;
    store.texts.erase("gMovieWidth");
    store.texts["gMovieHeight"] = "480";
    store.texts["gDefault"] = "False";
    SettingValues values = store.Load();
    EXPECT_EQ(store.writes, std::vector<std::string>{"gMovieWidth"});
    EXPECT_EQ(store.texts["gMovieWidth"], "0");
    EXPECT_EQ(values.movieWidth, 0);
    EXPECT_EQ(values.movieHeight, 480);
    EXPECT_FALSE(values.showcase);
}

TEST(LoadSettings, TheTextNoneCountsAsMissing)
{
    FakeStore store;
    store.texts = Defaults;
    store.texts["gFilePath"] = "None";
    store.texts["gFullScreen"] = "None";
    SettingValues values = store.Load();
    EXPECT_EQ(store.texts["gFilePath"], "");
    EXPECT_EQ(values.filePath, "");
    EXPECT_EQ(store.texts["gFullScreen"], "True");
    EXPECT_TRUE(values.fullScreen);
    EXPECT_EQ(store.writes, (std::vector<std::string>{"gFilePath", "gFullScreen"}));
}

TEST(LoadSettings, BooleansAreTrueOnlyForTheExactText)
{
    FakeStore store;
    store.texts = Defaults;
    store.texts["gDefault"] = "true";
    store.texts["gFullScreen"] = "1";
    store.texts["gInteraction"] = " True";
    SettingValues values = store.Load();
    EXPECT_FALSE(values.showcase);
    EXPECT_FALSE(values.fullScreen);
    EXPECT_FALSE(values.interaction);
    EXPECT_TRUE(store.writes.empty());
}

TEST(LoadSettings, UnconvertibleIntegersTakeTheDefaultAndStayStored)
{
    for (const char* bad : {"abc", "100000", "", "1e3", "-32769"}) {
        FakeStore store;
        store.texts = Defaults;
        store.texts["gMovieWidth"] = bad;
        store.texts["gMovieHeight"] = "300";
        store.texts["gQuitPosition"] = bad;
        store.texts["gBackground"] = "99999999999";
        SettingValues values = store.Load();
        EXPECT_EQ(values.movieWidth, 0) << bad;
        EXPECT_EQ(values.movieHeight, 300) << bad;
        EXPECT_EQ(values.quitPosition, 0) << bad;
        EXPECT_EQ(values.background, 0) << bad;
        EXPECT_EQ(store.texts["gMovieWidth"], bad);
        EXPECT_EQ(store.texts["gQuitPosition"], bad);
        EXPECT_EQ(store.texts["gBackground"], "99999999999");
        EXPECT_TRUE(store.writes.empty()) << bad;
    }
}

TEST(LoadSettings, AStoreThatCannotBeWrittenStillGivesTheDefaults)
{
    SettingValues values = LoadSettingValues(
        [](const std::string&) { return std::string(MissingSettingMarker); },
        [](const std::string&, const std::string&) {});
    EXPECT_TRUE(values.showcase);
    EXPECT_TRUE(values.fullScreen);
    EXPECT_FALSE(values.gameCollection);
    EXPECT_FALSE(values.interaction);
}

} // namespace
} // namespace tesmar
