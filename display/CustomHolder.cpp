#include "display/CustomHolder.h"

#include "display/CustomFormWindow.h"

#include "display/TransparentControl.h"
#include "resources/ResourceIds.h"
#include "startup/Settings.h"

namespace tesmar {

CustomHolder::CustomHolder(HWND parent, const TwipsBox& design)
    : TwipsPlacement(CreateTransparentControl(parent, "CustomHolder"), design),
      player_(window(), IDR_CUSTOM_PLAYER)
{
    EnableWindow(window(), FALSE);
    EnableWindow(player_.window(), FALSE);

    player_.setMovie(gFilePath);
    const ScreenMetrics screen = ReadScreenMetrics();
    if (gFullScreen) {
        player_.setHeight(screen.heightTwips);
        player_.setWidth(screen.widthTwips);
    } else {
        PlaceAtCustomSize(player_, screen);
    }
}

} // namespace tesmar
