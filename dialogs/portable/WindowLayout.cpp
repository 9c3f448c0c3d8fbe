#include "dialogs/portable/WindowLayout.h"

#include <cmath>

#include "dialogs/portable/ControlIds.h"

namespace tesmar {
namespace {

using K = ControlKind;
constexpr float kSmall = 8.25f;
constexpr float kLarge = 9.75f;

// In tab order; the controls without a tab stop follow.
constexpr ControlPlacement kSettingsControls[] = {
    {IDC_OPTION_DEFAULT, K::OptionButton,
     "Use the product showcase from Tesmar Games (requires internet connection)", kOnWindow, 240, 240,
     5775, 255, 0, kSmall},
    {IDC_OPTION_GAME, K::OptionButton, "Use Flash games from Tesmar Games (requires internet connection)",
     kOnWindow, 240, 600, 5655, 255, 1, kSmall},
    {IDC_OPTION_CUSTOM, K::OptionButton, "Use a custom Flash movie", kOnWindow, 240, 960, 2415, 255, 2,
     kSmall},
    {IDC_FRAME1, K::Frame, "Flash Movie Location", kOnWindow, 240, 1320, 7215, 1215, 3, kSmall},
    {IDC_FILE_TEXT_BOX, K::TextBox, "", IDC_FRAME1, 3960, 480, 1815, 285, 4, kSmall},
    {IDC_BROWSE_BUTTON, K::Button, "Browse", IDC_FRAME1, 5880, 480, 975, 375, 5, kSmall},
    {IDC_FRAME2, K::Frame, "Movie Size", kOnWindow, 240, 2640, 3855, 1575, 6, kSmall},
    {IDC_OPTION_FULL_SCREEN, K::OptionButton, "Full Screen", IDC_FRAME2, 240, 360, 1095, 255, 7, kSmall},
    {IDC_FRAME3, K::Frame, "Width X Height (pixels)", IDC_FRAME2, 1560, 720, 2175, 735, 8, kSmall},
    {IDC_OPTION_CUSTOM_SIZE, K::OptionButton, "Custom Size", IDC_FRAME2, 240, 720, 1215, 255, 9, kSmall},
    {IDC_WIDTH_TEXT_BOX, K::TextBox, "", IDC_FRAME3, 120, 360, 735, 285, 10, kSmall},
    {IDC_LABEL1, K::Label, "X", IDC_FRAME3, 960, 360, 255, 255, 11, kSmall},
    {IDC_HEIGHT_TEXT_BOX, K::TextBox, "", IDC_FRAME3, 1200, 360, 735, 285, 12, kSmall},
    {IDC_FRAME4, K::Frame, "Background Colour", kOnWindow, 240, 4320, 3855, 855, 13, kSmall},
    {IDC_COLOUR_BUTTON, K::Button, "Browse", IDC_FRAME4, 1320, 315, 975, 375, 14, kSmall},
    {IDC_FRAME5, K::Frame, "Interaction", kOnWindow, 4200, 2640, 3255, 1935, 15, kSmall},
    {IDC_INTERACTION_CHECK_BOX, K::CheckBox, "Allow interaction with Flash movie", IDC_FRAME5, 240, 240,
     2775, 375, 16, kSmall},
    {IDC_FRAME6, K::Frame, "Quit Button Position", IDC_FRAME5, 120, 720, 3015, 1095, 17, kSmall},
    {IDC_TOP_LEFT_OPTION, K::OptionButton, "Top Left", IDC_FRAME6, 240, 360, 975, 255, 18, kSmall},
    {IDC_TOP_RIGHT_OPTION, K::OptionButton, "Top Right", IDC_FRAME6, 1560, 360, 1095, 255, 19, kSmall},
    {IDC_BOTTOM_LEFT_OPTION, K::OptionButton, "Bottom Left", IDC_FRAME6, 240, 720, 1215, 255, 20, kSmall},
    {IDC_BOTTOM_RIGHT_OPTION, K::OptionButton, "Bottom Right", IDC_FRAME6, 1560, 720, 1335, 255, 21,
     kSmall},
    {IDC_OK_BUTTON, K::Button, "OK", kOnWindow, 4320, 4800, 975, 375, 22, kSmall},
    {IDC_CANCEL_BUTTON, K::Button, "Cancel", kOnWindow, 5400, 4800, 975, 375, 23, kSmall},
    {IDC_ABOUT_BUTTON, K::Button, "About", kOnWindow, 6480, 4800, 975, 375, 24, kSmall},
    {IDC_LABEL2, K::Label, "e.g. C:\\flashmovies\\flashmovie.swf", IDC_FRAME1, 240, 480, 3135, 255, 25,
     kSmall},
    {IDC_LABEL3, K::Label, "e.g. https://www.tesmargames.com/flashmovie.swf", IDC_FRAME1, 240, 720, 3615,
     255, 26, kSmall},
    {IDC_COLOUR_SHAPE, K::Shape, "", IDC_FRAME4, 720, 315, 375, 375, kNoTabStop, kSmall},
};

constexpr ControlPlacement kAboutControls[] = {
    {IDC_ABOUT_TITLE, K::Label, "Tesmar Flash Screen Saver", kOnWindow, 120, 120, 3135, 255, 0, kLarge},
    {IDC_ABOUT_RIGHTS, K::Label, "Copyright (C) Tesmar Games. All rights reserved.", kOnWindow, 120, 960,
     4095, 255, 1, kSmall},
    {IDC_ABOUT_VISIT, K::Label, "Visit us at:", kOnWindow, 120, 1440, 975, 255, 2, kLarge},
    {IDC_ABOUT_OK, K::Button, "OK", kOnWindow, 1800, 1920, 855, 375, 3, kSmall},
    {IDC_ABOUT_LINK, K::LinkLabel, kMakerHomePage, kOnWindow, 1200, 1440, 2175, 255, 4, kSmall},
    {IDC_ABOUT_VERSION, K::Label, "Version 3.5", kOnWindow, 120, 480, 855, 255, 5, kSmall},
};

} // namespace

std::span<const ControlPlacement> SettingsWindowControls() { return kSettingsControls; }
std::span<const ControlPlacement> AboutWindowControls() { return kAboutControls; }

namespace {

// Calls visit(frame) for each frame that holds the control, innermost first;
// returns how many there are. The bound keeps a bad table from looping.
template <typename Visit>
int ForEachContainer(std::span<const ControlPlacement> layout, const ControlPlacement& control, Visit visit) {
  int depth = 0;
  int containerId = control.containerId;
  while (containerId != kOnWindow && static_cast<size_t>(depth) < layout.size()) {
    const ControlPlacement* container = nullptr;
    for (const ControlPlacement& candidate : layout) {
      if (candidate.id == containerId) container = &candidate;
    }
    if (container == nullptr) break;
    visit(*container);
    ++depth;
    containerId = container->containerId;
  }
  return depth;
}

} // namespace

TwipRect PlaceOnWindow(std::span<const ControlPlacement> layout, const ControlPlacement& control) {
  TwipRect place{control.left, control.top, control.width, control.height};
  ForEachContainer(layout, control, [&](const ControlPlacement& frame) {
    place.left += frame.left;
    place.top += frame.top;
  });
  return place;
}

int NestingDepth(std::span<const ControlPlacement> layout, const ControlPlacement& control) {
  return ForEachContainer(layout, control, [](const ControlPlacement&) {});
}

int TwipsToPixels(float twips, float twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

} // namespace tesmar
