#pragma once
// Which groups of the settings window take input, as a function of the
// choices: the custom-movie controls only with a custom movie, the size
// fields only with a custom size, the quit corners only with interaction.
#include "dialogs/portable/SettingsChoices.h"

namespace tesmar {

struct EnabledGroups {
  bool location;    // Frame1, the path box, Browse
  bool sizeMode;    // Frame2, Full Screen, Custom Size
  bool sizeFields;  // Frame3, the width and height boxes
  bool colour;      // Frame4, the colour button; the swatch is painted
  bool interaction; // Frame5, the check box
  bool corners;     // Frame6, the four corner options
  bool operator==(const EnabledGroups&) const = default;
};

EnabledGroups EnabledGroupsFor(const SettingsChoices& choices);

} // namespace tesmar
