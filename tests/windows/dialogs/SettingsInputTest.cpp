// Driving the settings window: options and the check box switch the
// dependent controls, and the size fields refuse what is not a number.
#include "SettingsWindowDriver.h"
#include "StoredChoices.h"

namespace tesmar::test {
namespace {

using SettingsInputTest = ScreenSaverTest;

constexpr DWORD MessageWaitMs = 3000;
constexpr DWORD NoMessageWaitMs = 500;

const Store CustomSizeStore = {{"gFullScreen", "False"}, {"gMovieWidth", "0"}, {"gMovieHeight", "0"}};

TEST_F(SettingsInputTest, ChoosingTheCustomMovieAfterTheShowcaseShowsInitialValues)
{
    Store store = CompleteStore({{"gDefault", "True"}, {"gFilePath", "x.swf"}, {"gInteraction", "True"},
                                 {"gQuitPosition", "3"}, {"gFullScreen", "False"}, {"gMovieWidth", "9"}});
    SettingsWindow settings(store);
    settings.Click(IDC_OPTION_CUSTOM);
    settings.Settle();
    EXPECT_TRUE(settings.IsChecked(IDC_OPTION_CUSTOM));
    EXPECT_FALSE(settings.IsChecked(IDC_OPTION_DEFAULT));
    EXPECT_TRUE(settings.IsEnabled(IDC_FILE_TEXT_BOX));
    EXPECT_EQ(settings.Text(IDC_FILE_TEXT_BOX), "");
    EXPECT_TRUE(settings.IsChecked(IDC_OPTION_FULL_SCREEN));
    EXPECT_FALSE(settings.IsEnabled(IDC_WIDTH_TEXT_BOX));
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "");
    EXPECT_TRUE(settings.IsEnabled(IDC_INTERACTION_CHECK_BOX));
    EXPECT_FALSE(settings.IsChecked(IDC_INTERACTION_CHECK_BOX));
    EXPECT_FALSE(settings.IsEnabled(IDC_TOP_LEFT_OPTION));
    EXPECT_TRUE(settings.IsChecked(IDC_TOP_LEFT_OPTION));

    settings.Click(IDC_OPTION_GAME);
    settings.Settle();
    EXPECT_TRUE(settings.IsChecked(IDC_OPTION_GAME));
    EXPECT_FALSE(settings.IsChecked(IDC_OPTION_CUSTOM));
    EXPECT_FALSE(settings.IsEnabled(IDC_FILE_TEXT_BOX));
    EXPECT_FALSE(settings.IsEnabled(IDC_FRAME5));
}

TEST_F(SettingsInputTest, SizeModeAndInteractionSwitchTheirControls)
{
    SettingsWindow settings(CompleteStore({}));
    EXPECT_FALSE(settings.IsEnabled(IDC_FRAME3));
    settings.Click(IDC_OPTION_CUSTOM_SIZE);
    settings.Settle();
    EXPECT_TRUE(settings.IsChecked(IDC_OPTION_CUSTOM_SIZE));
    EXPECT_FALSE(settings.IsChecked(IDC_OPTION_FULL_SCREEN));
    for (int id : {IDC_FRAME3, IDC_WIDTH_TEXT_BOX, IDC_HEIGHT_TEXT_BOX})
        EXPECT_TRUE(settings.IsEnabled(id)) << id;
    settings.Click(IDC_OPTION_FULL_SCREEN);
    settings.Settle();
    for (int id : {IDC_FRAME3, IDC_WIDTH_TEXT_BOX, IDC_HEIGHT_TEXT_BOX})
        EXPECT_FALSE(settings.IsEnabled(id)) << id;

    settings.Click(IDC_INTERACTION_CHECK_BOX);
    settings.Settle();
    EXPECT_TRUE(settings.IsChecked(IDC_INTERACTION_CHECK_BOX));
    for (int id : {IDC_FRAME6, IDC_TOP_LEFT_OPTION, IDC_TOP_RIGHT_OPTION, IDC_BOTTOM_LEFT_OPTION,
                   IDC_BOTTOM_RIGHT_OPTION})
        EXPECT_TRUE(settings.IsEnabled(id)) << id;
    settings.Click(IDC_BOTTOM_RIGHT_OPTION);
    settings.Settle();
    EXPECT_TRUE(settings.IsChecked(IDC_BOTTOM_RIGHT_OPTION));
    EXPECT_FALSE(settings.IsChecked(IDC_TOP_LEFT_OPTION));
    settings.Click(IDC_INTERACTION_CHECK_BOX);
    settings.Settle();
    EXPECT_FALSE(settings.IsEnabled(IDC_BOTTOM_RIGHT_OPTION));
    EXPECT_TRUE(settings.IsChecked(IDC_BOTTOM_RIGHT_OPTION));  // the corner stays chosen
}

TEST_F(SettingsInputTest, NumbersAreKeptAsTyped)
{
    SettingsWindow settings(CompleteStore(CustomSizeStore));
    settings.Type(IDC_WIDTH_TEXT_BOX, "12.5 ");
    settings.Type(IDC_HEIGHT_TEXT_BOX, "1e3");
    EXPECT_EQ(settings.WaitForMessageBox(NoMessageWaitMs), nullptr);
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "12.5 ");
    EXPECT_EQ(settings.Text(IDC_HEIGHT_TEXT_BOX), "1e3");
    // Pasted at once, a sign and blanks may lead too.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(settings.Control(IDC_HEIGHT_TEXT_BOX), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(" -7 "), SMTO_NORMAL, 5000, &result);
    EXPECT_EQ(settings.WaitForMessageBox(NoMessageWaitMs), nullptr);
    EXPECT_EQ(settings.Text(IDC_HEIGHT_TEXT_BOX), " -7 ");
}

TEST_F(SettingsInputTest, ALetterAfterDigitsShowsTheMessageAndEmptiesTheBox)
{
    SettingsWindow settings(CompleteStore(CustomSizeStore));
    settings.Type(IDC_WIDTH_TEXT_BOX, "64");
    EXPECT_EQ(settings.WaitForMessageBox(NoMessageWaitMs), nullptr);
    settings.Type(IDC_WIDTH_TEXT_BOX, "a");
    HWND box = settings.WaitForMessageBox(MessageWaitMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Tesmar Flash Screen Saver");
    EXPECT_EQ(StaticTexts(box), "You must enter a number!");
    EXPECT_FALSE(IsWindowEnabled(settings.Window()));  // modal
    DismissMessageBox(box);
    settings.Settle();
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "");
    EXPECT_EQ(settings.WaitForMessageBox(NoMessageWaitMs), nullptr);  // emptying passes quietly
}

TEST_F(SettingsInputTest, ALoneMinusSignIsRefusedToo)
{
    SettingsWindow settings(CompleteStore(CustomSizeStore));
    settings.Type(IDC_HEIGHT_TEXT_BOX, "-");
    HWND box = settings.WaitForMessageBox(MessageWaitMs);
    ASSERT_NE(box, nullptr);
    DismissMessageBox(box);
    settings.Settle();
    EXPECT_EQ(settings.Text(IDC_HEIGHT_TEXT_BOX), "");
}

TEST_F(SettingsInputTest, DeletingAllTextShowsNoMessage)
{
    Store store = CompleteStore(CustomSizeStore);
    store["gMovieWidth"] = "64";
    SettingsWindow settings(store);
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "64");
    SendMessageA(settings.Control(IDC_WIDTH_TEXT_BOX), EM_SETSEL, 2, 2);
    settings.Type(IDC_WIDTH_TEXT_BOX, "\b\b");
    EXPECT_EQ(settings.WaitForMessageBox(NoMessageWaitMs), nullptr);
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "");
}

TEST_F(SettingsInputTest, EnterAndEscPressNothingUnlessAButtonHasTheFocus)
{
    SettingsWindow settings(CompleteStore({}));
    HWND window = settings.Window();
    auto postKey = [&](WPARAM key) {
        PostMessageA(window, WM_KEYDOWN, key, 1);
        PostMessageA(window, WM_KEYUP, key, 0xC0000001);
        settings.Settle();
    };
    postKey(VK_ESCAPE);
    postKey(VK_RETURN);
    EXPECT_TRUE(settings.Program().IsRunning());
    EXPECT_TRUE(ReadAllStoredSettings() == CompleteStore({}));
}

} // namespace
} // namespace tesmar::test
