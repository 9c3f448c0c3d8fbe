#include <gtest/gtest.h>

#include <set>

#include "dialogs/portable/ControlIds.h"
#include "dialogs/portable/DialogRecords.h"
#include "dialogs/portable/WindowLayout.h"

namespace tesmar {
namespace {

const ControlPlacement& Find(std::span<const ControlPlacement> layout, int id) {
  for (const ControlPlacement& control : layout) {
    if (control.id == id) return control;
  }
  throw std::runtime_error("no control " + std::to_string(id));
}

void ExpectConsistent(std::span<const ControlPlacement> layout, int clientWidth, int clientHeight) {
  std::set<int> ids;
  std::set<int> tabs;
  for (const ControlPlacement& control : layout) {
    EXPECT_TRUE(ids.insert(control.id).second) << "duplicate id " << control.id;
    if (control.tabIndex != kNoTabStop) {
      EXPECT_TRUE(tabs.insert(control.tabIndex).second) << "duplicate tab " << control.tabIndex;
    }
    if (control.containerId != kOnWindow) {
      const ControlPlacement& frame = Find(layout, control.containerId);
      EXPECT_EQ(frame.kind, ControlKind::Frame) << control.caption;
      EXPECT_LE(control.left + control.width, frame.width) << control.id;
      EXPECT_LE(control.top + control.height, frame.height) << control.id;
    }
    const TwipRect place = PlaceOnWindow(layout, control);
    EXPECT_LE(place.left + place.width, clientWidth) << control.id;
    EXPECT_LE(place.top + place.height, clientHeight) << control.id;
  }
  // Tab indexes run from 0 without gaps.
  EXPECT_EQ(*tabs.begin(), 0);
  EXPECT_EQ(*tabs.rbegin(), static_cast<int>(tabs.size()) - 1);
}

TEST(WindowLayout, BothWindowsAreConsistent) {
  ExpectConsistent(SettingsWindowControls(), kSettingsClientWidth, kSettingsClientHeight);
  ExpectConsistent(AboutWindowControls(), kAboutClientWidth, kAboutClientHeight);
  EXPECT_EQ(SettingsWindowControls().size(), 28u);
  EXPECT_EQ(AboutWindowControls().size(), 6u);
}

TEST(WindowLayout, NestedControlsAddTheirFramesPlaces) {
  const auto layout = SettingsWindowControls();
  const TwipRect height = PlaceOnWindow(layout, Find(layout, IDC_HEIGHT_TEXT_BOX));
  EXPECT_EQ(height.left, 240 + 1560 + 1200);
  EXPECT_EQ(height.top, 2640 + 720 + 360);
  const TwipRect corner = PlaceOnWindow(layout, Find(layout, IDC_BOTTOM_RIGHT_OPTION));
  EXPECT_EQ(corner.left, 4200 + 120 + 1560);
  EXPECT_EQ(corner.top, 2640 + 720 + 720);
  EXPECT_EQ(corner.width, 1335);
  EXPECT_EQ(NestingDepth(layout, Find(layout, IDC_HEIGHT_TEXT_BOX)), 2);
  EXPECT_EQ(NestingDepth(layout, Find(layout, IDC_FRAME6)), 1);
  EXPECT_EQ(NestingDepth(layout, Find(layout, IDC_FRAME1)), 0);
  const TwipRect ok = PlaceOnWindow(layout, Find(layout, IDC_OK_BUTTON));
  EXPECT_EQ(ok.left, 4320);
  EXPECT_EQ(ok.top, 4800);
}

TEST(WindowLayout, TwipsBecomePixelsAtTheScreensScale) {
  EXPECT_EQ(TwipsToPixels(kSettingsClientWidth, 15), 511);
  EXPECT_EQ(TwipsToPixels(kSettingsClientHeight, 15), 355);
  EXPECT_EQ(TwipsToPixels(255, 15), 17);
  EXPECT_EQ(TwipsToPixels(255, 12), 21);  // 120 dots per inch: 21.25
  EXPECT_EQ(TwipsToPixels(7215, 10), 722);  // 144 dots per inch: 721.5 rounds up
}

TEST(DialogRecords, FileDialogValues) {
  const std::string filter(kMovieFileFilter, sizeof kMovieFileFilter);
  EXPECT_EQ(filter, std::string("Flash Movie (*.swf)\0*.SWF\0\0", 27));
  EXPECT_STREQ(kMovieFileInitialFolder, "C:\\");
  EXPECT_STREQ(kMovieFileDialogTitle, "Choose Flash Movie");
  EXPECT_EQ(kFileNameBufferChars, 257u);
  EXPECT_EQ(kFileNameMaxChars, 256u);
  EXPECT_EQ(kCustomColourCount, 16u);
}

TEST(DialogRecords, ChosenPathStopsAtTheFirstNulAndDropsBlanks) {
  using namespace std::string_literals;
  EXPECT_EQ(ChosenPath("C:\\a b\\m.swf\0junk\0"s), "C:\\a b\\m.swf");
  EXPECT_EQ(ChosenPath("  C:\\m.swf  \0"s), "C:\\m.swf");
  EXPECT_EQ(ChosenPath("no terminator"), "no terminator");
  EXPECT_EQ(ChosenPath("   \0"s), "");
  EXPECT_EQ(ChosenPath(std::string(257, '\0')), "");
}

} // namespace
} // namespace tesmar
