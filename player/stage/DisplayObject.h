#pragma once
// The base of everything on a display list: shapes, texts, buttons and
// movie clips. Holds the placement properties the timeline and scripts set.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "player/geom/Color.h"
#include "player/geom/Geometry.h"
#include "player/render/Filter.h"
#include "player/render/Renderer.h"
#include "player/stage/Context.h"

namespace tesmar::stage {

class MovieClip;

class DisplayObject {
public:
    enum class Kind : uint8_t { Shape, Morph, Text, Button, Clip };

    DisplayObject(Kind kind, Context& context, const LoadedMovie& movie, uint16_t characterId)
        : kind_(kind), context_(context), movie_(movie), characterId_(characterId), born_(context.tick), serial_(context.nextSerial++) {
        context_.objects[serial_] = this;
    }
    virtual ~DisplayObject() { context_.objects.erase(serial_); }
    DisplayObject(const DisplayObject&) = delete;
    DisplayObject& operator=(const DisplayObject&) = delete;

    Kind kind() const { return kind_; }
    uint16_t characterId() const { return characterId_; }
    const LoadedMovie& loadedMovie() const { return movie_; }
    Context& context() const { return context_; }
    // The player tick in which the object was made: objects placed during a
    // tick start playing on the next one.
    uint64_t born() const { return born_; }
    // Names this object for as long as the player runs, even after it is gone.
    uint64_t serial() const { return serial_; }

    int depth() const { return depth_; }
    void setDepth(int depth) { depth_ = depth; }
    MovieClip* parent() const { return parent_; }
    void setParent(MovieClip* parent) { parent_ = parent; }
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    const Matrix& matrix() const { return matrix_; }
    void setMatrix(const Matrix& m) { if (!(m == matrix_)) { matrix_ = m; context_.changed(); } }
    const ColorTransform& colorTransform() const { return colorTransform_; }
    void setColorTransform(const ColorTransform& cx) {
        if (!(cx == colorTransform_)) { colorTransform_ = cx; context_.changed(); }
    }
    uint16_t ratio() const { return ratio_; }
    virtual void setRatio(uint16_t ratio) { ratio_ = ratio; }
    int clipDepth() const { return clipDepth_; }
    void setClipDepth(int depth) { if (depth != clipDepth_) { clipDepth_ = depth; context_.changed(); } }
    bool visible() const { return visible_; }
    void setVisible(bool v) { if (v != visible_) { visible_ = v; context_.changed(); } }
    uint8_t blendMode() const { return blendMode_; }
    void setBlendMode(uint8_t mode) { blendMode_ = mode; }
    bool cacheAsBitmap() const { return cacheAsBitmap_; }
    void setCacheAsBitmap(bool v) { cacheAsBitmap_ = v; }
    // The clip a script made this object's mask (setMask), by serial, and
    // on that clip the object it masks; 0 for none. A mask is drawn only as
    // a mask. Null takes the mask away.
    uint64_t scriptMask() const { return scriptMask_; }
    uint64_t maskedObject() const { return maskedObject_; }
    void setScriptMask(DisplayObject* mask);
    // The filter list the timeline placed, as the file stores it (FILTERLIST).
    const swf::Bytes& placedFilters() const { return placedFilters_; }
    void setPlacedFilters(swf::Bytes filters) {
        placedFilters_ = std::move(filters);
        setFilters(render::readFilterList(placedFilters_));
    }
    // The filters drawn: the placed list, or the one a script assigned since.
    const std::vector<render::Filter>& filters() const { return filters_; }
    void setFilters(std::vector<render::Filter> filters) {
        if (filters == filters_) return;
        filters_ = std::move(filters);
        context_.changed();
    }

    // Placed by the timeline (a goto may remove or keep it), or created by a
    // script (the timeline leaves it alone).
    bool placedByTimeline() const { return placedByTimeline_; }
    void setPlacedByTimeline(bool v) { placedByTimeline_ = v; }
    // The frame whose placement made the object (0: not the timeline).
    int placeFrame() const { return placeFrame_; }
    void setPlaceFrame(int frame) { placeFrame_ = frame; }
    // A script object stands for this object: its events are queued even
    // without clip actions, for methods such as onEnterFrame.
    bool scripted() const { return scripted_; }
    void setScripted() { scripted_ = true; }

    // Draws with toPixels mapping this object's space to target pixels.
    virtual void draw(render::Renderer& renderer, const Matrix& toPixels, const ColorTransform& cx) const = 0;
    // Adds this object's outline to a mask being defined.
    virtual void drawMask(render::Renderer& renderer, const Matrix& toPixels) const {
        draw(renderer, toPixels, ColorTransform{});
    }
    // Whether a point in this object's own space (twips) hits its content.
    virtual bool hitTest(Point local) const = 0;
    // Bounds in this object's own space.
    virtual Rect bounds() const = 0;

    // Moves a timeline one frame on (clips, and clips inside buttons).
    virtual void advance() {}
    // Replaces the character shown (a timeline move that names a new one).
    virtual bool replaceCharacter(uint16_t) { return false; }
    // Called when the object leaves the display list.
    virtual void removed() {}

protected:
    void setCharacterId(uint16_t id) { characterId_ = id; }

private:
    Kind kind_;
    Context& context_;
    const LoadedMovie& movie_;
    uint16_t characterId_;
    uint64_t born_;
    uint64_t serial_;
    int depth_ = 0;
    MovieClip* parent_ = nullptr;
    std::string name_;
    Matrix matrix_;
    ColorTransform colorTransform_;
    uint16_t ratio_ = 0;
    int clipDepth_ = 0;
    bool visible_ = true;
    uint8_t blendMode_ = 0;
    bool cacheAsBitmap_ = false;
    uint64_t scriptMask_ = 0;
    uint64_t maskedObject_ = 0;
    swf::Bytes placedFilters_;
    std::vector<render::Filter> filters_;
    bool placedByTimeline_ = true;
    int placeFrame_ = 0;
    bool scripted_ = false;
};

// Makes the object for a character of movie and, for a clip, shows its
// first frame. nullptr when the id is unknown, names nothing that can be
// placed (a font, a bitmap, a sound), or the movie builds past the limits.
// Queues actions to run on target's timeline once the tick is over.
void queueActions(QueuedActions::Source source, const DisplayObject& target, const swf::Bytes& actions,
                  uint32_t clipEvent = 0);

std::unique_ptr<DisplayObject> createObject(Context& context, const LoadedMovie& movie, uint16_t characterId);

} // namespace tesmar::stage
