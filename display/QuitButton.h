#pragma once
// QuitButton: the interactive custom movie window's way out. A picture box
// used as a button: its picture (35 x 16 pixels, "Quit" in a white frame)
// on black, the hand pointer over it, the tooltip "Quit", and a click - a
// press and a release of the left button on it - ends the program.
#include "display/TwipsPlacement.h"

namespace tesmar {

class QuitButton : public TwipsPlacement {
public:
    // Created at the parent's top-left corner, the size of its picture at
    // 15 twips per pixel (525 x 240 twips).
    explicit QuitButton(HWND parent);
    ~QuitButton();

private:
    HWND tooltip_ = nullptr;
};

} // namespace tesmar
