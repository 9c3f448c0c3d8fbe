#pragma once
// Frames as the reader leaves them: the display-list commands, action bytes
// and labels of each frame of the main timeline or of a sprite.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>
#include "player/geom/Color.h"
#include "player/geom/Geometry.h"

namespace tesmar::swf {

using Bytes = std::vector<uint8_t>;

// One handler of a PlaceObject2/3 clip action record.
struct ClipAction {
    uint32_t events = 0;      // event flags as stored (SWF 6+ layout, 32 bits)
    uint8_t keyCode = 0;      // for the key-press event
    Bytes actions;
};

// PlaceObject 1 to 3. Absent fields leave the object's value unchanged.
struct PlaceObject {
    uint8_t version = 2;      // 1, 2 or 3
    uint16_t depth = 0;
    bool move = false;        // modifies the object already at depth
    std::optional<uint16_t> characterId;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<uint16_t> clipDepth;
    std::optional<std::string> className;
    std::optional<uint8_t> blendMode;
    bool cacheAsBitmap = false;
    Bytes filters;            // FILTERLIST as stored
    uint32_t clipEventsAll = 0;
    std::vector<ClipAction> clipActions;
};

struct RemoveObject {
    uint16_t depth = 0;
    std::optional<uint16_t> characterId;   // RemoveObject (version 1) names it
};

using DisplayCommand = std::variant<PlaceObject, RemoveObject>;

struct InitAction {
    uint16_t spriteId = 0;
    Bytes actions;
};

struct Frame {
    std::vector<DisplayCommand> display;   // in file order
    std::vector<Bytes> actions;            // DoAction blocks, in file order
    std::vector<size_t> actionsAfter;      // per DoAction block: display commands before it
    std::vector<InitAction> initActions;   // DoInitAction blocks
    std::vector<std::string> labels;
};

struct Timeline {
    uint16_t declaredFrameCount = 0;       // as the header or sprite tag says
    std::vector<Frame> frames;             // at least one
    // Tags after the last ShowFrame make a last frame that was never closed:
    // it plays once but does not count among the frames a timeline loops over.
    bool lastFrameOpen = false;
    // An End tag finished the list. Without one the timeline is still
    // loading: it plays to its last frame and waits there.
    bool ended = false;
};

} // namespace tesmar::swf
