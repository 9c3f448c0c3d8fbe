#pragma once
// A movie clip: a timeline of frames and a display list ordered by depth.
// The main timeline of each level is one too.
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>
#include "player/stage/DisplayObject.h"
#include "player/stage/Drawing.h"
#include "player/swf/Timeline.h"

namespace tesmar::stage {

// Depths from here up belong to scripts; the timeline's lie below.
constexpr int kFirstScriptDepth = 16384;

class MovieClip : public DisplayObject {
public:
    using DisplayList = std::map<int, std::unique_ptr<DisplayObject>>;

    MovieClip(Context& context, const LoadedMovie& movie, uint16_t characterId, const swf::Timeline& timeline);
    ~MovieClip() override;

    // Shows the first frame; called once, when the clip is placed.
    void enterFirstFrame();
    // A clip that a script makes empty steps (its enter-frame events run)
    // but stays before its first frame: `_currentframe` is 0.
    void startWithoutFrame() { started_ = true; }
    // Whether the clip has begun playing (it steps with the others).
    bool started() const { return started_; }

    // Timeline. Frames are numbered from 1.
    int currentFrame() const { return current_; }
    // Frames closed by ShowFrame; a last frame left open is not counted.
    int totalFrames() const {
        return int(timeline_->frames.size()) - (timeline_->lastFrameOpen ? 1 : 0);
    }
    int framesLoaded() const { return totalFrames(); }
    bool playing() const { return playing_; }
    void play() { playing_ = true; }
    void stop() { playing_ = false; }
    // Frames outside 1..totalFrames are clamped.
    void gotoFrame(int frame, bool play);
    bool gotoLabel(std::string_view label, bool play);
    // The frame a label names (labels ignore case), 0 when none does.
    int labelFrame(std::string_view label) const;
    const swf::Timeline& timeline() const { return *timeline_; }
    // The main timeline of a level stops at its end unless it loops.
    void setLoops(bool loops) { loops_ = loops; }

    // Display list.
    const DisplayList& children() const { return children_; }
    DisplayObject* childAt(int depth) const;
    DisplayObject* childNamed(std::string_view name) const;
    // Puts object at depth, replacing what was there.
    DisplayObject* addChild(int depth, std::unique_ptr<DisplayObject> object);
    void removeChild(int depth);
    // Removes what the timeline takes away; a clip with unload handlers is
    // parked at depth -1 - depth until dropUnloaded takes it.
    void unloadChild(int depth);
    void dropUnloaded(int depth);
    // Whether this clip or one of its parents is parked on its way out.
    bool unloading() const;
    bool handlesUnload() const;
    // Exchanges what two depths hold (either may be empty).
    void swapDepths(int a, int b);

    // Shared, so that queued handlers outlive a clip that is removed.
    using ClipActions = std::shared_ptr<const std::vector<swf::ClipAction>>;
    const ClipActions& clipActions() const { return clipActions_; }
    void setClipActions(ClipActions actions) { clipActions_ = std::move(actions); }
    // Queues the clip's handlers of an event (swf::clipEvent flags).
    void queueClipEvent(uint32_t event);

    // What scripts draw on the clip, beneath its children.
    Drawing& drawing() { return drawing_; }
    const Drawing& drawing() const { return drawing_; }

    // One frame of this clip alone: its enter-frame event, then the next
    // frame when it plays.
    void step();
    // One frame of this clip and then of its children (clips inside buttons).
    void advance() override;
    void draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const override;
    void drawMask(render::Renderer& r, const Matrix& toPixels) const override;
    bool hitTest(Point local) const override;
    Rect bounds() const override;
    void removed() override;

private:
    struct Pending;
    void showFrame(int frame);
    // Display commands [begin, end) of a frame.
    struct CommandRange {
        size_t begin;
        size_t end;
    };
    // The last frame's commands are limited to a range.
    void applyFrames(int from, int to, bool rebuild, bool removalsOnly = false,
                     CommandRange last = {0, SIZE_MAX});
    // The frame's placements and scripts in the order of the file.
    void enterInFileOrder(int frame);
    void queueInitActions(int frame);
    void applyPending(int depth, Pending& pending, bool rebuild);
    void place(int depth, const swf::PlaceObject& place, int frame);
    void queueFrameActions(int frame);
    void drawChild(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx,
                   const DisplayObject& child) const;

    const swf::Timeline* timeline_;
    int current_ = 0;
    int initActionsDone_ = 0;   // frames whose init actions were queued
    bool started_ = false;
    bool playing_ = true;
    bool loops_ = true;
    bool unloading_ = false;
    DisplayList children_;
    ClipActions clipActions_;
    Drawing drawing_;
};

// Sets the fields that a placement carries on object; with reset, absent
// fields return to their defaults (a goto that rebuilds the display list).
void applyPlacement(DisplayObject& object, const swf::PlaceObject& place, bool reset);

} // namespace tesmar::stage
