#include "dialogs/portable/SettingsChoices.h"

#include <gtest/gtest.h>

#include "dialogs/portable/DependentControls.h"

namespace tesmar {
namespace {

StoredSettings StoredCustom() {
  StoredSettings stored;
  stored.filePath = "C:\\movies\\a.swf";
  stored.fullScreen = false;
  stored.movieWidth = 640;
  stored.movieHeight = 480;
  stored.background = 16777215;
  stored.interaction = true;
  stored.quitPosition = 2;
  return stored;
}

TEST(ChoicesFromSettings, WebModesHideTheStoredCustomValues) {
  StoredSettings stored = StoredCustom();
  stored.showcase = true;
  stored.game = true;
  const SettingsChoices showcase = ChoicesFromSettings(stored);
  EXPECT_EQ(showcase.movie, MovieKind::Showcase);
  EXPECT_EQ(showcase.filePath, "");
  EXPECT_TRUE(showcase.fullScreen);
  EXPECT_EQ(showcase.widthText, "");
  EXPECT_EQ(showcase.colour, 0u);
  EXPECT_FALSE(showcase.interaction);
  EXPECT_EQ(showcase.corner, QuitCorner::TopLeft);

  stored.showcase = false;
  const SettingsChoices game = ChoicesFromSettings(stored);
  EXPECT_EQ(game.movie, MovieKind::GameCollection);
  EXPECT_EQ(game.filePath, "");
  EXPECT_EQ(game.corner, QuitCorner::TopLeft);
}

TEST(ChoicesFromSettings, CustomModeShowsEveryStoredValue) {
  const SettingsChoices choices = ChoicesFromSettings(StoredCustom());
  EXPECT_EQ(choices.movie, MovieKind::Custom);
  EXPECT_EQ(choices.filePath, "C:\\movies\\a.swf");
  EXPECT_FALSE(choices.fullScreen);
  EXPECT_EQ(choices.widthText, "640");
  EXPECT_EQ(choices.heightText, "480");
  EXPECT_EQ(choices.colour, 0x00FFFFFFu);
  EXPECT_TRUE(choices.interaction);
  EXPECT_EQ(choices.corner, QuitCorner::BottomLeft);
}

TEST(ChoicesFromSettings, SizesOfZeroAndFullScreenLeaveTheBoxesEmpty) {
  StoredSettings stored = StoredCustom();
  stored.movieHeight = 0;
  stored.movieWidth = -20;
  SettingsChoices choices = ChoicesFromSettings(stored);
  EXPECT_EQ(choices.widthText, "-20");
  EXPECT_EQ(choices.heightText, "");

  stored.fullScreen = true;
  choices = ChoicesFromSettings(stored);
  EXPECT_TRUE(choices.fullScreen);
  EXPECT_EQ(choices.widthText, "");
  EXPECT_EQ(choices.heightText, "");
}

TEST(ChoicesFromSettings, CornersOutsideZeroToThreeKeepTopLeft) {
  StoredSettings stored = StoredCustom();
  const QuitCorner expected[] = {QuitCorner::TopLeft, QuitCorner::TopRight, QuitCorner::BottomLeft,
                                 QuitCorner::BottomRight};
  for (int16_t position = 0; position <= 3; ++position) {
    stored.quitPosition = position;
    EXPECT_EQ(ChoicesFromSettings(stored).corner, expected[position]);
  }
  for (int16_t position : {int16_t{7}, int16_t{-1}, int16_t{4}, int16_t{-32768}}) {
    stored.quitPosition = position;
    EXPECT_EQ(ChoicesFromSettings(stored).corner, QuitCorner::TopLeft) << position;
  }
}

TEST(ChoicesFromSettings, EmptyStoreOpensOnACustomMovieWithCustomSize) {
  const SettingsChoices choices = ChoicesFromSettings(StoredSettings{});
  EXPECT_EQ(choices.movie, MovieKind::Custom);
  EXPECT_FALSE(choices.fullScreen);
  EXPECT_EQ(choices.widthText, "");
  EXPECT_FALSE(choices.interaction);
  EXPECT_EQ(EnabledGroupsFor(choices),
            (EnabledGroups{true, true, true, true, true, false}));
}

TEST(EnabledGroupsFor, FollowsTheChoices) {
  SettingsChoices choices;
  const EnabledGroups none{false, false, false, false, false, false};
  choices.fullScreen = false;
  choices.interaction = true;
  EXPECT_EQ(EnabledGroupsFor(choices), none);
  choices.movie = MovieKind::GameCollection;
  EXPECT_EQ(EnabledGroupsFor(choices), none);

  choices.movie = MovieKind::Custom;
  EXPECT_EQ(EnabledGroupsFor(choices), (EnabledGroups{true, true, true, true, true, true}));
  choices.fullScreen = true;
  choices.interaction = false;
  EXPECT_EQ(EnabledGroupsFor(choices), (EnabledGroups{true, true, false, true, true, false}));
}

using Writes = std::vector<SettingWrite>;

TEST(SettingsToWrite, WebModesWriteOnlyTheTwoModeKeys) {
  SettingsChoices choices = ChoicesFromSettings(StoredCustom());
  choices.movie = MovieKind::Showcase;
  EXPECT_EQ(SettingsToWrite(choices), (Writes{{"gDefault", "True"}, {"gGame", "False"}}));
  choices.movie = MovieKind::GameCollection;
  EXPECT_EQ(SettingsToWrite(choices), (Writes{{"gDefault", "False"}, {"gGame", "True"}}));
}

TEST(SettingsToWrite, CustomFullScreenSkipsTheSizesAndInteractionOffSkipsTheCorner) {
  SettingsChoices choices;
  choices.movie = MovieKind::Custom;
  choices.filePath = " http://x/y.swf ";
  choices.widthText = "99";
  choices.corner = QuitCorner::BottomRight;
  EXPECT_EQ(SettingsToWrite(choices),
            (Writes{{"gDefault", "False"}, {"gGame", "False"}, {"gFilePath", " http://x/y.swf "},
                    {"gFullScreen", "True"}, {"gBackground", "0"}, {"gInteraction", "False"}}));
}

TEST(SettingsToWrite, CustomSizeWithInteractionWritesEveryKeyInOrder) {
  SettingsChoices choices;
  choices.movie = MovieKind::Custom;
  choices.fullScreen = false;
  choices.widthText = "12.5";
  choices.heightText = "";
  choices.colour = 0x00FF0000;
  choices.interaction = true;
  choices.corner = QuitCorner::TopRight;
  EXPECT_EQ(SettingsToWrite(choices),
            (Writes{{"gDefault", "False"}, {"gGame", "False"}, {"gFilePath", ""}, {"gFullScreen", "False"},
                    {"gMovieWidth", "12.5"}, {"gMovieHeight", "0"}, {"gBackground", "16711680"},
                    {"gInteraction", "True"}, {"gQuitPosition", "1"}}));
}

TEST(ColourText, IsTheSignedDecimalValue) {
  EXPECT_EQ(ColourText(0), "0");
  EXPECT_EQ(ColourText(0x000000FF), "255");
  EXPECT_EQ(ColourText(0x00FFFFFF), "16777215");
  EXPECT_EQ(ColourText(0x8000000F), "-2147483633");
}

} // namespace
} // namespace tesmar
