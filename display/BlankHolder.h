#pragma once
// BlankHolder: an empty, enabled control with a transparent background. A
// display window stretches one over the whole screen beneath its other
// controls; it shows nothing and takes no input away from them (the mouse
// passes through it to the window).
//
//   BlankHolder holder(form, {0, 0, 3495, 2655});   // design box in twips
//   holder.setWidth(ReadScreenMetrics().widthTwips);
//   holder.setHeight(ReadScreenMetrics().heightTwips);
#include "display/TwipsPlacement.h"

namespace tesmar {

class BlankHolder : public TwipsPlacement {
public:
    // Created at the bottom of the parent's controls.
    BlankHolder(HWND parent, const TwipsBox& design);
};

} // namespace tesmar
