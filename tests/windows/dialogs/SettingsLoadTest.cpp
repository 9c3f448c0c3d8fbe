// The settings window as each kind of stored settings opens it: selections,
// texts, which controls take input, and the colours that show it.
#include "SettingsWindowDriver.h"
#include "StoredChoices.h"

namespace tesmar::test {
namespace {

using SettingsLoadTest = ScreenSaverTest;

struct Groups {
    bool location, sizeMode, sizeFields, colour, interaction, corners;
};

// A point inside a control's client area, clear of any text.
COLORREF BackgroundOf(const SettingsWindow& settings, int id)
{
    RECT client;
    GetClientRect(settings.Control(id), &client);
    return ScreenColourAt(settings.Control(id), client.right - 2, client.bottom - 2);
}

COLORREF SwatchCentre(const SettingsWindow& settings)
{
    RECT client;
    GetClientRect(settings.Control(IDC_COLOUR_SHAPE), &client);
    return ScreenColourAt(settings.Control(IDC_COLOUR_SHAPE), client.right / 2, client.bottom / 2);
}

void ExpectGroups(const SettingsWindow& settings, Groups groups)
{
    auto expect = [&](std::initializer_list<int> ids, bool enabled) {
        for (int id : ids)
            EXPECT_EQ(settings.IsEnabled(id), enabled) << "control " << id;
    };
    expect({IDC_OPTION_DEFAULT, IDC_OPTION_GAME, IDC_OPTION_CUSTOM, IDC_OK_BUTTON, IDC_CANCEL_BUTTON,
            IDC_ABOUT_BUTTON},
           true);
    expect({IDC_FRAME1, IDC_FILE_TEXT_BOX, IDC_BROWSE_BUTTON}, groups.location);
    expect({IDC_FRAME2, IDC_OPTION_FULL_SCREEN, IDC_OPTION_CUSTOM_SIZE}, groups.sizeMode);
    expect({IDC_FRAME3, IDC_WIDTH_TEXT_BOX, IDC_HEIGHT_TEXT_BOX}, groups.sizeFields);
    expect({IDC_FRAME4, IDC_COLOUR_BUTTON}, groups.colour);
    expect({IDC_FRAME5, IDC_INTERACTION_CHECK_BOX}, groups.interaction);
    expect({IDC_FRAME6, IDC_TOP_LEFT_OPTION, IDC_TOP_RIGHT_OPTION, IDC_BOTTOM_LEFT_OPTION,
            IDC_BOTTOM_RIGHT_OPTION},
           groups.corners);

    const COLORREF editable = GetSysColor(COLOR_WINDOW);
    const COLORREF disabled = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(BackgroundOf(settings, IDC_FILE_TEXT_BOX), groups.location ? editable : disabled);
    EXPECT_EQ(BackgroundOf(settings, IDC_WIDTH_TEXT_BOX), groups.sizeFields ? editable : disabled);
    EXPECT_EQ(BackgroundOf(settings, IDC_HEIGHT_TEXT_BOX), groups.sizeFields ? editable : disabled);
}

void ExpectSelected(const SettingsWindow& settings, std::initializer_list<int> group, int selected)
{
    for (int id : group)
        EXPECT_EQ(settings.IsChecked(id), id == selected) << "option " << id;
}

constexpr std::initializer_list<int> MovieOptions = {IDC_OPTION_DEFAULT, IDC_OPTION_GAME, IDC_OPTION_CUSTOM};
constexpr std::initializer_list<int> CornerOptions = {IDC_TOP_LEFT_OPTION, IDC_TOP_RIGHT_OPTION,
                                                      IDC_BOTTOM_LEFT_OPTION, IDC_BOTTOM_RIGHT_OPTION};

const Store StoredCustomValues = {{"gFilePath", "C:\\movies\\a.swf"}, {"gFullScreen", "False"},
                                  {"gMovieWidth", "640"},             {"gMovieHeight", "480"},
                                  {"gBackground", "255"},             {"gInteraction", "True"},
                                  {"gQuitPosition", "2"}};

TEST_F(SettingsLoadTest, WindowHasItsCaptionClassAndControls)
{
    SettingsWindow settings(CompleteStore({}));
    EXPECT_EQ(WindowText(settings.Window()), "Tesmar Flash Screen Saver Properties");
    const LONG style = GetWindowLongA(settings.Window(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT client;
    GetClientRect(settings.Window(), &client);
    EXPECT_EQ(client.right, 511);
    EXPECT_EQ(client.bottom, 355);
    EXPECT_EQ(settings.Text(IDC_OPTION_CUSTOM), "Use a custom Flash movie");
    EXPECT_EQ(settings.Text(IDC_FRAME6), "Quit Button Position");
    EXPECT_EQ(settings.Text(IDC_ABOUT_BUTTON), "About");
    // Places are relative to the window: the height box sits in Frame3 in Frame2.
    RECT box;
    GetWindowRect(settings.Control(IDC_HEIGHT_TEXT_BOX), &box);
    MapWindowPoints(nullptr, settings.Window(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, (240 + 1560 + 1200) / 15);
    EXPECT_EQ(box.top, (2640 + 720 + 360) / 15);
    EXPECT_EQ(box.right - box.left, 735 / 15);
}

TEST_F(SettingsLoadTest, ShowcaseDisablesEveryCustomControlAndHidesTheStoredValues)
{
    Store store = CompleteStore(StoredCustomValues);
    store["gDefault"] = "True";
    store["gGame"] = "True";  // the showcase wins
    SettingsWindow settings(store);
    ExpectSelected(settings, MovieOptions, IDC_OPTION_DEFAULT);
    ExpectGroups(settings, {false, false, false, false, false, false});
    EXPECT_EQ(settings.Text(IDC_FILE_TEXT_BOX), "");
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "");
    EXPECT_TRUE(settings.IsChecked(IDC_OPTION_FULL_SCREEN));
    EXPECT_FALSE(settings.IsChecked(IDC_INTERACTION_CHECK_BOX));
    ExpectSelected(settings, CornerOptions, IDC_TOP_LEFT_OPTION);
    EXPECT_EQ(SwatchCentre(settings), GetSysColor(COLOR_BTNFACE));  // not painted
}

TEST_F(SettingsLoadTest, GameCollectionLooksLikeTheShowcase)
{
    Store store = CompleteStore(StoredCustomValues);
    store["gGame"] = "True";
    SettingsWindow settings(store);
    ExpectSelected(settings, MovieOptions, IDC_OPTION_GAME);
    ExpectGroups(settings, {false, false, false, false, false, false});
    EXPECT_EQ(settings.Text(IDC_FILE_TEXT_BOX), "");
}

TEST_F(SettingsLoadTest, CustomSizeWithInteractionShowsEveryStoredValue)
{
    SettingsWindow settings(CompleteStore(StoredCustomValues));
    ExpectSelected(settings, MovieOptions, IDC_OPTION_CUSTOM);
    ExpectGroups(settings, {true, true, true, true, true, true});
    EXPECT_EQ(settings.Text(IDC_FILE_TEXT_BOX), "C:\\movies\\a.swf");
    EXPECT_TRUE(settings.IsChecked(IDC_OPTION_CUSTOM_SIZE));
    EXPECT_FALSE(settings.IsChecked(IDC_OPTION_FULL_SCREEN));
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "640");
    EXPECT_EQ(settings.Text(IDC_HEIGHT_TEXT_BOX), "480");
    EXPECT_TRUE(settings.IsChecked(IDC_INTERACTION_CHECK_BOX));
    ExpectSelected(settings, CornerOptions, IDC_BOTTOM_LEFT_OPTION);
    EXPECT_EQ(SwatchCentre(settings), RGB(255, 0, 0));
}

TEST_F(SettingsLoadTest, CustomFullScreenWithoutInteraction)
{
    Store store = CompleteStore(StoredCustomValues);
    store["gFullScreen"] = "True";
    store["gInteraction"] = "False";
    store["gBackground"] = "16777215";
    SettingsWindow settings(store);
    ExpectGroups(settings, {true, true, false, true, true, false});
    EXPECT_TRUE(settings.IsChecked(IDC_OPTION_FULL_SCREEN));
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "");
    EXPECT_EQ(settings.Text(IDC_HEIGHT_TEXT_BOX), "");
    EXPECT_FALSE(settings.IsChecked(IDC_INTERACTION_CHECK_BOX));
    ExpectSelected(settings, CornerOptions, IDC_BOTTOM_LEFT_OPTION);  // shown, though disabled
    EXPECT_EQ(SwatchCentre(settings), RGB(255, 255, 255));
}

TEST_F(SettingsLoadTest, ZeroSizesLeaveTheirBoxesEmpty)
{
    SettingsWindow settings(CompleteStore({{"gFullScreen", "False"}, {"gMovieWidth", "640"}}));
    EXPECT_EQ(settings.Text(IDC_WIDTH_TEXT_BOX), "640");
    EXPECT_EQ(settings.Text(IDC_HEIGHT_TEXT_BOX), "");
}

TEST_F(SettingsLoadTest, StoredCornerSelectsItsOptionAndOthersKeepTopLeft)
{
    const std::pair<const char*, int> cases[] = {
        {"0", IDC_TOP_LEFT_OPTION},     {"1", IDC_TOP_RIGHT_OPTION}, {"2", IDC_BOTTOM_LEFT_OPTION},
        {"3", IDC_BOTTOM_RIGHT_OPTION}, {"7", IDC_TOP_LEFT_OPTION},  {"-1", IDC_TOP_LEFT_OPTION}};
    for (const auto& [stored, option] : cases) {
        Store store = CompleteStore(StoredCustomValues);
        store["gQuitPosition"] = stored;
        SettingsWindow settings(store);
        SCOPED_TRACE(stored);
        ExpectSelected(settings, CornerOptions, option);
        settings.Program().Terminate();
    }
}

TEST_F(SettingsLoadTest, EmptyStoreOpensOnTheShowcase)
{
    ClearStoredSettings();
    ScreenSaver program = ScreenSaver::Start("/c");
    HWND window = program.WaitForWindow("SettingsDialog", WindowWaitMs);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(GetDlgItem(window, IDC_OPTION_DEFAULT), BM_GETCHECK, 0, 0), BST_CHECKED);
    for (int id : {IDC_FILE_TEXT_BOX, IDC_BROWSE_BUTTON, IDC_OPTION_FULL_SCREEN, IDC_OPTION_CUSTOM_SIZE,
                   IDC_WIDTH_TEXT_BOX, IDC_HEIGHT_TEXT_BOX, IDC_COLOUR_BUTTON, IDC_INTERACTION_CHECK_BOX,
                   IDC_TOP_LEFT_OPTION})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, id))) << id;
}

} // namespace
} // namespace tesmar::test
