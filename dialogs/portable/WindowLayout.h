#pragma once
// The fixed layouts of the settings window and the About window: every
// control with its kind, caption, container, place and tab order, in twips
// (1440 to the inch) as they were designed. The Windows code turns them into
// child windows at pixel positions.
#include <span>

namespace tesmar {

enum class ControlKind { OptionButton, CheckBox, TextBox, Button, Frame, Label, Shape, LinkLabel };

inline constexpr int kNoTabStop = -1;
inline constexpr int kOnWindow = 0;  // container id of a control placed directly on the window

struct ControlPlacement {
  int id;
  ControlKind kind;
  const char* caption;
  int containerId;  // kOnWindow or the id of the frame that holds the control
  int left, top, width, height;  // twips, relative to the container
  int tabIndex;     // kNoTabStop for a control that takes no input
  float fontPoints; // MS Sans Serif at this size
};

struct TwipRect {
  int left, top, width, height;
};

inline constexpr int kSettingsClientWidth = 7665;
inline constexpr int kSettingsClientHeight = 5325;
inline constexpr int kAboutClientWidth = 4335;
inline constexpr int kAboutClientHeight = 2460;

// The maker's home page: the About window's link shows and opens it.
inline constexpr const char* kMakerHomePage = "https://www.tesmargames.com";

std::span<const ControlPlacement> SettingsWindowControls();
std::span<const ControlPlacement> AboutWindowControls();

// The control's rectangle relative to the window's client area: its own place
// plus the places of the frames that hold it.
TwipRect PlaceOnWindow(std::span<const ControlPlacement> layout, const ControlPlacement& control);

// How many frames hold the control: 0 for a control placed on the window.
int NestingDepth(std::span<const ControlPlacement> layout, const ControlPlacement& control);

// Twips to whole pixels, rounded to the nearest pixel.
int TwipsToPixels(float twips, float twipsPerPixel);

} // namespace tesmar
