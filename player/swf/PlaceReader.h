#pragma once
// PlaceObject 1 to 3, with their clip actions and filter lists.
#include <optional>
#include "player/swf/Reader.h"
#include "player/swf/Timeline.h"

namespace tesmar::swf {

// Clip event flags as stored (SWF 6+ layout, read little-endian).
namespace clipEvent {
enum : uint32_t {
    Load = 1u << 0, EnterFrame = 1u << 1, Unload = 1u << 2, MouseMove = 1u << 3,
    MouseDown = 1u << 4, MouseUp = 1u << 5, KeyDown = 1u << 6, KeyUp = 1u << 7,
    Data = 1u << 8, Initialize = 1u << 9, Press = 1u << 10, Release = 1u << 11,
    ReleaseOutside = 1u << 12, RollOver = 1u << 13, RollOut = 1u << 14, DragOver = 1u << 15,
    DragOut = 1u << 16, KeyPress = 1u << 17, Construct = 1u << 18,
};
} // namespace clipEvent

// body holds the tag's bytes; code is the tag code; version the file's.
std::optional<PlaceObject> readPlaceObject(Reader& body, uint16_t code, uint8_t swfVersion);

// Skips one FILTERLIST and returns its bytes (empty and failed when malformed).
Bytes readFilterList(Reader& r);

} // namespace tesmar::swf
