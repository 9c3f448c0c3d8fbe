// OK writes exactly the keys of the chosen kind of movie and ends the
// program; Cancel and the close box end it without writing anything.
#include "SettingsWindowDriver.h"
#include "StoredChoices.h"

namespace tesmar::test {
namespace {

using SettingsSaveTest = ScreenSaverTest;

constexpr DWORD ExitWaitMs = 5000;

// Old texts that no choice in the window would write, so that every key
// the program writes shows.
const Store OldCustomValues = {{"gFilePath", "old.swf"},  {"gFullScreen", "False"},
                               {"gMovieWidth", "11"},     {"gMovieHeight", "22"},
                               {"gBackground", "255"},    {"gInteraction", "True"},
                               {"gQuitPosition", "1"}};

Store With(Store store, const Store& changes)
{
    for (const auto& [key, text] : changes)
        store[key] = text;
    return store;
}

void PressOkAndWait(SettingsWindow& settings)
{
    settings.Click(IDC_OK_BUTTON);
    ASSERT_TRUE(settings.Program().WaitForExit(ExitWaitMs));
}

TEST_F(SettingsSaveTest, ShowcaseWritesOnlyTheModeKeys)
{
    const Store before = CompleteStore(OldCustomValues);
    SettingsWindow settings(With(before, {{"gGame", "True"}}));
    settings.Click(IDC_OPTION_DEFAULT);
    PressOkAndWait(settings);
    EXPECT_EQ(ReadAllStoredSettings(), With(before, {{"gDefault", "True"}, {"gGame", "False"}}));
}

TEST_F(SettingsSaveTest, GameCollectionWritesOnlyTheModeKeys)
{
    const Store before = CompleteStore(OldCustomValues);
    SettingsWindow settings(With(before, {{"gDefault", "True"}}));
    settings.Click(IDC_OPTION_GAME);
    PressOkAndWait(settings);
    EXPECT_EQ(ReadAllStoredSettings(), With(before, {{"gDefault", "False"}, {"gGame", "True"}}));
}

TEST_F(SettingsSaveTest, CustomFullScreenKeepsTheStoredSizes)
{
    // Loaded in showcase mode, the custom controls hold their initial values.
    const Store before = With(CompleteStore(OldCustomValues), {{"gDefault", "True"}});
    SettingsWindow settings(before);
    settings.Click(IDC_OPTION_CUSTOM);
    settings.Settle();
    SendMessageA(settings.Control(IDC_FILE_TEXT_BOX), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(" http://x/m.swf "));
    PressOkAndWait(settings);
    EXPECT_EQ(ReadAllStoredSettings(),
              With(before, {{"gDefault", "False"}, {"gGame", "False"}, {"gFilePath", " http://x/m.swf "},
                            {"gFullScreen", "True"}, {"gBackground", "0"}, {"gInteraction", "False"}}));
}

TEST_F(SettingsSaveTest, CustomSizeWithInteractionWritesEveryKey)
{
    const Store before = CompleteStore({{"gQuitPosition", "3"}, {"gBackground", "16711680"}});
    SettingsWindow settings(before);
    settings.Click(IDC_OPTION_CUSTOM_SIZE);
    settings.Click(IDC_INTERACTION_CHECK_BOX);
    settings.Click(IDC_TOP_RIGHT_OPTION);
    settings.Settle();
    settings.Type(IDC_WIDTH_TEXT_BOX, "12.5");
    PressOkAndWait(settings);
    EXPECT_EQ(ReadAllStoredSettings(),
              With(before, {{"gFullScreen", "False"}, {"gMovieWidth", "12.5"}, {"gMovieHeight", "0"},
                            {"gInteraction", "True"}, {"gQuitPosition", "1"}}));
}

TEST_F(SettingsSaveTest, InteractionOffKeepsTheStoredCorner)
{
    const Store before = CompleteStore(With(OldCustomValues, {{"gQuitPosition", "2"}}));
    SettingsWindow settings(before);
    settings.Click(IDC_INTERACTION_CHECK_BOX);  // off
    PressOkAndWait(settings);
    EXPECT_EQ(ReadAllStoredSettings(), With(before, {{"gInteraction", "False"}}));
}

TEST_F(SettingsSaveTest, CancelAndTheCloseBoxWriteNothing)
{
    const Store before = CompleteStore(OldCustomValues);
    {
        SettingsWindow settings(before);
        settings.Click(IDC_OPTION_GAME);
        settings.Click(IDC_CANCEL_BUTTON);
        EXPECT_TRUE(settings.Program().WaitForExit(ExitWaitMs));
    }
    EXPECT_EQ(ReadAllStoredSettings(), before);
    {
        SettingsWindow settings(before);
        settings.Click(IDC_OPTION_DEFAULT);
        PostMessageA(settings.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(settings.Program().WaitForExit(ExitWaitMs));
    }
    EXPECT_EQ(ReadAllStoredSettings(), before);
}

TEST_F(SettingsSaveTest, ChoicesMadeOnAnEmptyStoreAreShownByTheNextRun)
{
    ClearStoredSettings();
    {
        SettingsWindow settings({});
        settings.Click(IDC_OPTION_CUSTOM);
        settings.Click(IDC_OPTION_CUSTOM_SIZE);
        settings.Settle();
        settings.Type(IDC_WIDTH_TEXT_BOX, "640");
        settings.Type(IDC_HEIGHT_TEXT_BOX, "480");
        settings.Click(IDC_INTERACTION_CHECK_BOX);
        settings.Settle();
        settings.Click(IDC_BOTTOM_RIGHT_OPTION);
        PressOkAndWait(settings);
    }
    const Store expected = {{"gDefault", "False"},   {"gGame", "False"},       {"gFilePath", ""},
                            {"gFullScreen", "False"}, {"gMovieWidth", "640"},   {"gMovieHeight", "480"},
                            {"gBackground", "0"},    {"gInteraction", "True"}, {"gQuitPosition", "3"}};
    EXPECT_EQ(ReadAllStoredSettings(), expected);

    SettingsWindow again(expected);
    EXPECT_TRUE(again.IsChecked(IDC_OPTION_CUSTOM));
    EXPECT_TRUE(again.IsChecked(IDC_OPTION_CUSTOM_SIZE));
    EXPECT_EQ(again.Text(IDC_WIDTH_TEXT_BOX), "640");
    EXPECT_EQ(again.Text(IDC_HEIGHT_TEXT_BOX), "480");
    EXPECT_TRUE(again.IsChecked(IDC_INTERACTION_CHECK_BOX));
    EXPECT_TRUE(again.IsChecked(IDC_BOTTOM_RIGHT_OPTION));
    EXPECT_TRUE(again.IsEnabled(IDC_BOTTOM_RIGHT_OPTION));
}

} // namespace
} // namespace tesmar::test
