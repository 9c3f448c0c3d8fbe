#pragma once
// What a player control starts with, taken from a stored player state in
// the program's resources: the embedded movie, if any, and the stored
// properties the control acts on.
#include <cstdint>
#include <optional>
#include <vector>

#include "player/geom/Color.h"
#include "player/render/Renderer.h"

namespace tesmar {

struct PlayerStartState {
    std::vector<uint8_t> movie;          // the embedded movie; empty for none
    int designWidthPixels = 0, designHeightPixels = 0;
    bool play = true;                    // false: the embedded movie waits on its first frame
    bool loop = true;
    render::Quality quality = render::Quality::High;
    std::optional<Rgba> background;      // BGColor, when the record sets one
};

// The record in RCDATA resource resourceId of the running program. A
// missing or malformed record gives a player with no movie and the
// properties' usual values.
PlayerStartState LoadPlayerStartState(int resourceId);

} // namespace tesmar
