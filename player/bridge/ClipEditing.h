#pragma once
// Display-list changes that scripts make: copies, removals, new clips.
// Script depths are offset from timeline depths: the timeline places at
// depths 1..16383 below script depth 0, as the reference player numbers them.
#include <memory>
#include <string>
#include "player/stage/MovieClip.h"

namespace tesmar::bridge {

class ScriptBridge;

constexpr int kScriptDepthOffset = 16384;
// The highest depth a script may use (the reference player's limit).
constexpr int kMaxScriptDepth = 2130706428;
// From this script depth up, removeMovieClip leaves a clip in place.
constexpr int kFirstFixedScriptDepth = 2130690032;

// A depth as scripts see it, and the display-list depth of a script depth.
inline int scriptDepth(const stage::DisplayObject& object) { return object.depth() - kScriptDepthOffset; }
inline int listDepth(double depth) { return int(depth) + kScriptDepthOffset; }

// duplicateMovieClip: a copy of a clip beside it, with its placement and clip events.
stage::DisplayObject* duplicateClip(ScriptBridge& bridge, stage::DisplayObject& source, const std::string& name,
                                    int depth);
// removeMovieClip: only objects at script depths go.
bool removable(const stage::DisplayObject& object);
void removeClip(stage::DisplayObject& object);
// Puts a new object made by a script into parent at a script depth.
stage::DisplayObject* addScriptChild(stage::MovieClip& parent, std::unique_ptr<stage::DisplayObject> object,
                                     const std::string& name, int depth);
// createEmptyMovieClip: a clip of one empty frame.
std::unique_ptr<stage::MovieClip> makeEmptyClip(stage::DisplayObject& near);

} // namespace tesmar::bridge
