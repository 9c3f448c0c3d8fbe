#pragma once
// CustomHolder: the user control that carries the non-interactive window's
// player. It is disabled and transparent: neither it nor the player inside
// takes any input (mouse and keys go to the window beneath), and where the
// player does not cover it the window's background shows through. Creating
// it loads the custom movie and lays the player out, full screen or at the
// movie's pixel size centred on the screen.
#include "display/PlayerControl.h"
#include "display/TwipsPlacement.h"

namespace tesmar {

class CustomHolder : public TwipsPlacement {
public:
    CustomHolder(HWND parent, const TwipsBox& design);

    PlayerControl& player() { return player_; }

private:
    PlayerControl player_;
};

} // namespace tesmar
