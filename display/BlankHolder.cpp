#include "display/BlankHolder.h"

#include "display/TransparentControl.h"

namespace tesmar {

BlankHolder::BlankHolder(HWND parent, const TwipsBox& design)
    : TwipsPlacement(CreateTransparentControl(parent, "BlankHolder"), design)
{
    SetWindowPos(window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace tesmar
