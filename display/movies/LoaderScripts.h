#pragma once
// The loaders' action blocks: the first frame's script, the watcher's
// enter-frame handler, the last frame's reveal and the two buttons.
#include <string>
#include "player/swf/Timeline.h"

namespace tesmar::movies {

// Which loader the script belongs to: its content variable and address,
// and whether the reveal restarts the content from its first frame.
struct LoaderKind {
    std::string contentVariable;   // "showcasePage" or "collectionPage"
    std::string contentPath;       // path on the maker's site
    bool restartContent = false;
    // Where the logo reads the home page from: "" for the timeline it is
    // on, "_root" when it sits inside a clip.
    std::string homepageOwner;
};

// The maker's home page; the content lives on the same host.
inline const std::string kHomepage = "https://www.tesmargames.com";

// Frame 1: define the addresses, load the content into level 2, stop.
swf::Bytes firstFrameScript(const LoaderKind& kind);
// Enter-frame: once level 2 has a frame, play the main timeline and keep
// level 2 hidden.
swf::Bytes watcherScript();
// Last frame: stop, show level 2 and (showcase) restart it from frame 1.
swf::Bytes revealScript(const LoaderKind& kind);
// Release on the logo: open the home page, then ask the host to quit.
swf::Bytes logoReleaseScript(const LoaderKind& kind);
// Release on "Exit": ask the host to quit.
swf::Bytes exitReleaseScript();

} // namespace tesmar::movies
