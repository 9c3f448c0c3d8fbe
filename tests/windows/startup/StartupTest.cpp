// The real program started with each kind of command line: what it writes
// to the store and which window, if any, it opens.
#include "Harness.h"

namespace tesmar::test {
namespace {

using StartupTest = ScreenSaverTest;

constexpr DWORD FiveSeconds = 5000;
constexpr DWORD WindowWaitMs = 10000;

const std::map<std::string, std::string> WrittenDefaults = {
    {"gDefault", "True"},    {"gGame", "False"},        {"gFilePath", ""},
    {"gFullScreen", "True"}, {"gMovieWidth", "0"},      {"gMovieHeight", "0"},
    {"gBackground", "0"},    {"gInteraction", "False"}, {"gQuitPosition", "0"}};

// A complete store that selects the given movie kind.
std::map<std::string, std::string> StoreFor(const std::string& showcase, const std::string& game,
                                            const std::string& interaction)
{
    std::map<std::string, std::string> texts = WrittenDefaults;
    texts["gDefault"] = showcase;
    texts["gGame"] = game;
    texts["gInteraction"] = interaction;
    return texts;
}

TEST_F(StartupTest, PreviewOnAnEmptyStoreWritesTheDefaultsAndEndsWithoutAWindow)
{
    ScreenSaver program = ScreenSaver::Start("/p 1234");
    std::vector<std::string> windowsSeen;
    EXPECT_TRUE(program.WaitForExit(FiveSeconds, &windowsSeen));
    EXPECT_TRUE(windowsSeen.empty()) << windowsSeen.front();
    EXPECT_EQ(ReadAllStoredSettings(), WrittenDefaults);
    for (const std::string& key : SettingKeys)
        EXPECT_EQ(ReadStoredSetting(key), WrittenDefaults.at(key)) << key;
}

TEST_F(StartupTest, EveryPreviewSwitchEndsWithoutAWindow)
{
    StoreSettings(WrittenDefaults);
    for (const char* arguments : {"/P", "-p", "-P 99", "p", "P", "px"}) {
        ScreenSaver program = ScreenSaver::Start(arguments);
        std::vector<std::string> windowsSeen;
        EXPECT_TRUE(program.WaitForExit(FiveSeconds, &windowsSeen)) << arguments;
        EXPECT_TRUE(windowsSeen.empty()) << arguments;
    }
}

TEST_F(StartupTest, OnlyMissingKeysAreWritten)
{
    StoreSettings({{"gDefault", "False"}, {"gMovieHeight", "480"}, {"gFilePath", "None"},
                   {"gQuitPosition", "7"}});
    ScreenSaver program = ScreenSaver::Start("/p 1");
    ASSERT_TRUE(program.WaitForExit(FiveSeconds));
    std::map<std::string, std::string> expected = WrittenDefaults;
    expected["gDefault"] = "False";
    expected["gMovieHeight"] = "480";
    expected["gQuitPosition"] = "7";
    EXPECT_EQ(ReadAllStoredSettings(), expected);  // "None" counted as missing: now ""
}

TEST_F(StartupTest, FirstRunOnAnEmptyStoreShowsTheShowcase)
{
    ScreenSaver program = ScreenSaver::Start("/s");
    EXPECT_TRUE(program.WaitForWindow("DefaultForm", WindowWaitMs));
    EXPECT_EQ(program.VisibleWindowClasses(), std::vector<std::string>{"DefaultForm"});
    EXPECT_EQ(ReadAllStoredSettings(), WrittenDefaults);
}

TEST_F(StartupTest, EveryRunSwitchOpensADisplayWindow)
{
    StoreSettings(WrittenDefaults);
    for (const char* arguments : {"/s", "/S", "-s", "-S", "s", "S", "/s1", "start"}) {
        ScreenSaver program = ScreenSaver::Start(arguments);
        EXPECT_TRUE(program.WaitForWindow("DefaultForm", WindowWaitMs)) << arguments;
        program.Terminate();
    }
}

TEST_F(StartupTest, AnyOtherCommandLineOpensTheSettings)
{
    StoreSettings(WrittenDefaults);
    for (const char* arguments : {"/c", "/c:1234", "/a", "", "/x"}) {
        ScreenSaver program = ScreenSaver::Start(arguments);
        EXPECT_TRUE(program.WaitForWindow("SettingsDialog", WindowWaitMs)) << '"' << arguments << '"';
        program.Terminate();
    }
}

TEST_F(StartupTest, RunModeOpensTheWindowTheSettingsChoose)
{
    struct Case {
        const char *showcase, *game, *interaction, *window;
    };
    const Case cases[] = {
        {"True", "True", "True", "DefaultForm"},
        {"True", "False", "False", "DefaultForm"},
        {"False", "True", "True", "GameForm"},
        {"False", "False", "True", "CustomInteractForm"},
        {"False", "False", "False", "CustomNoInteractForm"},
        {"true", "TRUE", "1", "CustomNoInteractForm"},  // booleans are exactly "True"
    };
    for (const Case& c : cases) {
        ClearStoredSettings();
        StoreSettings(StoreFor(c.showcase, c.game, c.interaction));
        ScreenSaver program = ScreenSaver::Start("/s");
        EXPECT_EQ(program.WaitForAnyWindowClass(WindowWaitMs), c.window)
            << c.showcase << " " << c.game << " " << c.interaction;
        program.Terminate();
    }
}

TEST_F(StartupTest, UnconvertibleStoredWidthStartsNormallyAndStaysStored)
{
    for (const char* width : {"abc", "100000"}) {
        ClearStoredSettings();
        StoreSettings(StoreFor("False", "False", "False"));
        WriteStoredSetting("gFullScreen", "False");
        WriteStoredSetting("gMovieWidth", width);
        ScreenSaver program = ScreenSaver::Start("/s");
        EXPECT_TRUE(program.WaitForWindow("CustomNoInteractForm", WindowWaitMs)) << width;
        EXPECT_TRUE(program.IsRunning()) << width;
        program.Terminate();
        EXPECT_EQ(ReadStoredSetting("gMovieWidth"), width);
    }
}

// A first copy showing the given window, for the second-instance tests.
ScreenSaver StartFirstCopy(const std::string& arguments, const std::string& window)
{
    ScreenSaver first = ScreenSaver::Start(arguments);
    EXPECT_TRUE(first.WaitForWindow(window, WindowWaitMs)) << arguments;
    return first;
}

TEST_F(StartupTest, ASecondCopyBesideTheScreenSaverEndsAndShowsNothing)
{
    ScreenSaver first = StartFirstCopy("/s", "DefaultForm");
    for (const char* arguments : {"/s", "/p 1234", "/c", ""}) {
        ScreenSaver second = ScreenSaver::Start(arguments);
        std::vector<std::string> windowsSeen;
        EXPECT_TRUE(second.WaitForExit(FiveSeconds, &windowsSeen)) << arguments;
        EXPECT_TRUE(windowsSeen.empty()) << arguments;
    }
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(first.VisibleWindowClasses(), std::vector<std::string>{"DefaultForm"});
}

TEST_F(StartupTest, ASecondCopyBesideTheSettingsEndsAndShowsNothing)
{
    ScreenSaver first = StartFirstCopy("/c", "SettingsDialog");
    for (const char* arguments : {"/s", "/c"}) {
        ScreenSaver second = ScreenSaver::Start(arguments);
        std::vector<std::string> windowsSeen;
        EXPECT_TRUE(second.WaitForExit(FiveSeconds, &windowsSeen)) << arguments;
        EXPECT_TRUE(windowsSeen.empty()) << arguments;
    }
    EXPECT_TRUE(first.IsRunning());
}

TEST_F(StartupTest, ASecondCopyStillWritesMissingDefaultsBeforeItEnds)
{
    ScreenSaver first = StartFirstCopy("/s", "DefaultForm");
    ClearStoredSettings();
    ScreenSaver second = ScreenSaver::Start("/s");
    EXPECT_TRUE(second.WaitForExit(FiveSeconds));
    EXPECT_EQ(ReadAllStoredSettings(), WrittenDefaults);
}

TEST_F(StartupTest, TheProgramRunsAgainOnceTheFirstCopyHasEnded)
{
    StoreSettings(WrittenDefaults);
    {
        ScreenSaver first = StartFirstCopy("/s", "DefaultForm");
    }  // ended here
    ScreenSaver again = ScreenSaver::Start("/s");
    EXPECT_TRUE(again.WaitForWindow("DefaultForm", WindowWaitMs));
}

} // namespace
} // namespace tesmar::test
