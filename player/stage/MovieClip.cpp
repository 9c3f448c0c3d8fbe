#include "player/stage/MovieClip.h"
#include <algorithm>
#include <cctype>
#include <cmath>
#include "player/stage/Stage.h"
#include "player/swf/PlaceReader.h"

namespace tesmar::stage {

// What the frames between two points of a timeline do to one depth.
struct MovieClip::Pending {
    bool removed = false;      // the object there goes away
    bool placed = false;       // a new placement happened (merged below)
    bool moved = false;        // only changes to the object already there
    int frame = 0;             // the frame of the new placement
    size_t order = 0;          // when the depth was first touched: objects are made in tag order
    swf::PlaceObject merged;
};

MovieClip::MovieClip(Context& context, const LoadedMovie& movie, uint16_t characterId, const swf::Timeline& timeline)
    : DisplayObject(Kind::Clip, context, movie, characterId), timeline_(&timeline) {
    // A player that starts with an SWF 8 movie keeps bounds in floats.
    if (characterId == 0 && movie.version() >= 8 && context.tick == 0) context.floatBoundsFrom = 0;
}

MovieClip::~MovieClip() = default;

void MovieClip::enterFirstFrame() {
    started_ = true;
    if (current_ == 0) showFrame(1);
}

DisplayObject* MovieClip::childAt(int depth) const {
    auto it = children_.find(depth);
    return it == children_.end() ? nullptr : it->second.get();
}

DisplayObject* MovieClip::childNamed(std::string_view name) const {
    for (const auto& [depth, child] : children_)
        if (child->name() == name) return child.get();
    return nullptr;
}

DisplayObject* MovieClip::addChild(int depth, std::unique_ptr<DisplayObject> object) {
    removeChild(depth);
    object->setDepth(depth);
    object->setParent(this);
    DisplayObject* raw = object.get();
    children_[depth] = std::move(object);
    context().changed();
    return raw;
}

void MovieClip::removeChild(int depth) {
    auto it = children_.find(depth);
    if (it == children_.end()) return;
    std::unique_ptr<DisplayObject> gone = std::move(it->second);
    children_.erase(it);
    gone->removed();
    context().changed();
}

bool MovieClip::handlesUnload() const {
    if (scripted() && context().unloadTest && context().unloadTest(*this)) return true;
    if (clipActions_) {
        for (const swf::ClipAction& action : *clipActions_)
            if (action.events & swf::clipEvent::Unload) return true;
    }
    for (const auto& [depth, child] : children_) {
        auto* clip = dynamic_cast<const MovieClip*>(child.get());
        if (clip && clip->handlesUnload()) return true;
    }
    return false;
}

void MovieClip::unloadChild(int depth) {
    auto it = children_.find(depth);
    if (it == children_.end()) return;
    auto* clip = dynamic_cast<MovieClip*>(it->second.get());
    const int parked = -1 - depth;
    if (!clip || depth < 0 || children_.count(parked) || !clip->handlesUnload()) {
        removeChild(depth);
        return;
    }
    // A clip with unload handlers stays reachable, below every depth in
    // use, until its handlers have run; the next frame takes it away.
    std::unique_ptr<DisplayObject> gone = std::move(it->second);
    children_.erase(it);
    gone->removed();
    gone->setDepth(parked);
    clip->unloading_ = true;
    context().unloading.push_back(gone->serial());
    children_[parked] = std::move(gone);
    context().changed();
}

void MovieClip::dropUnloaded(int depth) {
    auto it = children_.find(depth);
    if (it == children_.end()) return;
    std::unique_ptr<DisplayObject> gone = std::move(it->second);
    children_.erase(it);
    context().changed();
}

bool MovieClip::unloading() const {
    for (const MovieClip* clip = this; clip; clip = clip->parent())
        if (clip->unloading_) return true;
    return false;
}

void MovieClip::swapDepths(int a, int b) {
    if (a == b) return;
    std::unique_ptr<DisplayObject> first = children_.count(a) ? std::move(children_[a]) : nullptr;
    std::unique_ptr<DisplayObject> second = children_.count(b) ? std::move(children_[b]) : nullptr;
    children_.erase(a);
    children_.erase(b);
    if (first) {
        first->setDepth(b);
        children_[b] = std::move(first);
    }
    if (second) {
        second->setDepth(a);
        children_[a] = std::move(second);
    }
    context().changed();
}

void MovieClip::removed() {
    queueClipEvent(swf::clipEvent::Unload);
    for (auto& [depth, child] : children_) child->removed();
}

void MovieClip::gotoFrame(int frame, bool play) {
    // A frame before the first is no jump at all.
    if (frame < 1) return;
    playing_ = play;
    const int last = int(timeline_->frames.size());
    if (frame <= last) {
        showFrame(frame);
    } else if (current_ < last) {
        // Past the end: the frames up to the last are passed over, so the
        // last one's scripts do not run.
        applyFrames(current_ + 1, last, false);
        current_ = last;
    }
}

bool MovieClip::gotoLabel(std::string_view label, bool play) {
    const int frame = labelFrame(label);
    if (frame > 0) gotoFrame(frame, play);
    return frame > 0;
}

int MovieClip::labelFrame(std::string_view label) const {
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        });
    };
    for (size_t i = 0; i < timeline_->frames.size(); ++i)
        for (const std::string& l : timeline_->frames[i].labels)
            if (same(l, label)) return int(i) + 1;
    return 0;
}

void MovieClip::step() {
    queueClipEvent(swf::clipEvent::EnterFrame);
    if (!playing_ || current_ == 0) return;
    const int frames = int(timeline_->frames.size());
    if (current_ < frames) {
        showFrame(current_ + 1);
    } else if (!timeline_->ended) {
        // Still loading: wait on the last frame.
    } else if (!loops_) {
        playing_ = false;
    } else if (totalFrames() > 1) {
        showFrame(1);
    }
}

void MovieClip::advance() {
    const uint64_t tick = context().tick;
    step();
    // Children placed during this tick start on the next one. A child may
    // remove its siblings while advancing, so walk depth by depth.
    std::vector<int> depths;
    for (const auto& [depth, child] : children_)
        if (child->born() < tick) depths.push_back(depth);
    for (int depth : depths) {
        if (DisplayObject* child = childAt(depth); child && child->born() < tick) child->advance();
    }
}

void MovieClip::showFrame(int frame) {
    if (frame == current_ || frame < 1 || frame > int(timeline_->frames.size())) return;
    if (frame < current_) {
        // Going back rebuilds the display list in one pass, keeping what stays.
        applyFrames(1, frame, true);
        queueFrameActions(frame);
    } else {
        // Clips placed by the frames a jump passes over run their first
        // frame before the target frame's scripts; those it places, after.
        // What the target frame only removes unloads before its scripts.
        if (current_ + 1 < frame) applyFrames(current_ + 1, frame - 1, false);
        applyFrames(frame, frame, false, true);
        enterInFileOrder(frame);
    }
    current_ = frame;
}

void MovieClip::enterInFileOrder(int frame) {
    queueInitActions(frame);
    // A clip placed before a script block runs its first frame before it.
    const swf::Frame& f = timeline_->frames[size_t(frame - 1)];
    size_t done = 0;
    for (size_t i = 0; i < f.actions.size(); ++i) {
        const size_t at = i < f.actionsAfter.size() ? std::min(f.actionsAfter[i], f.display.size()) : 0;
        if (at > done) applyFrames(frame, frame, false, false, {done, at});
        done = std::max(done, at);
        queueActions(QueuedActions::Source::Frame, *this, f.actions[i]);
    }
    applyFrames(frame, frame, false, false, {done, f.display.size()});
}

void MovieClip::queueInitActions(int frame) {
    // A level's main timeline first runs the init actions of every frame it
    // reaches for the first time, once.
    if (characterId() != 0) return;
    for (; initActionsDone_ < frame; ++initActionsDone_) {
        for (const swf::InitAction& init : timeline_->frames[size_t(initActionsDone_)].initActions)
            queueActions(QueuedActions::Source::InitAction, *this, init.actions);
    }
}

void MovieClip::queueFrameActions(int frame) {
    queueInitActions(frame);
    const swf::Frame& f = timeline_->frames[size_t(frame - 1)];
    for (const swf::Bytes& actions : f.actions) queueActions(QueuedActions::Source::Frame, *this, actions);
}

void MovieClip::queueClipEvent(uint32_t event) {
    if (clipActions_) {
        for (const swf::ClipAction& action : *clipActions_) {
            if (!(action.events & event)) continue;
            queueActions(QueuedActions::Source::ClipEvent, *this, action.actions, event);
            context().actions.back().clipActions = clipActions_;
        }
    }
    // Load always reaches the script machine: a clip of a registered class
    // runs its constructor then.
    if (scripted() || event == swf::clipEvent::Load)
        context().actions.push_back({QueuedActions::Source::ClipEvent, serial(), loadedMovie().shared(), nullptr, event, {}});
}

void MovieClip::applyFrames(int from, int to, bool rebuild, bool removalsOnly, CommandRange last) {
    std::map<int, Pending> pending;
    size_t touched = 0;
    auto at = [&](int depth) -> Pending& {
        auto [it, fresh] = pending.try_emplace(depth);
        if (fresh) it->second.order = touched++;
        return it->second;
    };
    if (rebuild) {
        // Going back clears the timeline's depths, whoever filled them;
        // script depths keep their objects.
        for (const auto& [depth, child] : children_)
            if (depth < kFirstScriptDepth) at(depth).removed = true;
    }
    for (int f = from; f <= to; ++f) {
        const auto& display = timeline_->frames[size_t(f - 1)].display;
        const size_t end = f == to ? std::min(last.end, display.size()) : display.size();
        for (size_t c = f == to ? last.begin : 0; c < end; ++c) {
            const swf::DisplayCommand& command = display[c];
            if (const auto* remove = std::get_if<swf::RemoveObject>(&command)) {
                Pending& p = at(remove->depth);
                p = Pending{true, false, false, 0, p.order, {}};
                continue;
            }
            const auto& place = std::get<swf::PlaceObject>(command);
            auto it = pending.find(place.depth);
            const bool occupied = it != pending.end() ? !it->second.removed
                                                      : childAt(place.depth) != nullptr;
            if (!place.move) {
                // A new placement on a taken depth is ignored.
                if (occupied || !place.characterId) continue;
                Pending& p = at(place.depth);
                p = Pending{p.removed, true, false, f, p.order, place};
                continue;
            }
            if (!occupied) continue;
            Pending& p = at(place.depth);
            if (!p.placed && !p.moved) { p.moved = true; p.merged = place; continue; }
            swf::PlaceObject& m = p.merged;
            if (place.characterId) m.characterId = place.characterId;
            if (place.matrix) m.matrix = place.matrix;
            if (place.colorTransform) m.colorTransform = place.colorTransform;
            if (place.ratio) m.ratio = place.ratio;
            if (place.name) m.name = place.name;
            if (place.clipDepth) m.clipDepth = place.clipDepth;
            if (place.blendMode) m.blendMode = place.blendMode;
            if (!place.filters.empty()) m.filters = place.filters;
        }
    }
    std::vector<std::pair<int, Pending*>> ordered;
    for (auto& [depth, p] : pending) ordered.emplace_back(depth, &p);
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.second->order < b.second->order; });
    for (auto& [depth, p] : ordered)
        if (!removalsOnly || (p->removed && !p->placed && !p->moved)) applyPending(depth, *p, rebuild);
}

void MovieClip::applyPending(int depth, Pending& p, bool rebuild) {
    DisplayObject* existing = childAt(depth);
    if (p.placed) {
        // Going back keeps an object that the same placement made.
        if (rebuild && existing && existing->placedByTimeline() && existing->placeFrame() == p.frame &&
            existing->characterId() == p.merged.characterId.value_or(0)) {
            applyPlacement(*existing, p.merged, true);
            return;
        }
        if (existing && (p.removed || existing->placedByTimeline())) removeChild(depth);
        if (!childAt(depth)) place(depth, p.merged, p.frame);
        return;
    }
    if (p.removed) {
        if (existing && (rebuild || existing->placedByTimeline())) unloadChild(depth);
        return;
    }
    if (p.moved && existing) {
        if (p.merged.characterId && *p.merged.characterId != existing->characterId())
            existing->replaceCharacter(*p.merged.characterId);
        applyPlacement(*existing, p.merged, false);
    }
}

namespace {

// Objects that scripts can reach (clips, buttons, edit texts) get a name
// even when placed without one; shapes and static texts do not.
bool takesInstanceName(const swf::Movie& movie, uint16_t characterId) {
    const swf::Character* character = movie.character(characterId);
    return character && (std::holds_alternative<swf::SpriteDef>(*character) ||
                         std::holds_alternative<swf::ButtonDef>(*character) ||
                         std::holds_alternative<swf::EditTextDef>(*character));
}

} // namespace

void MovieClip::place(int depth, const swf::PlaceObject& placement, int frame) {
    // Numbered before the object is built, so a clip's number comes before
    // those of the children its first frame places.
    std::string name = placement.name.value_or("");
    if (!placement.name && takesInstanceName(loadedMovie().movie(), *placement.characterId))
        name = "instance" + std::to_string(++context().instanceNames);
    auto object = createObject(context(), loadedMovie(), *placement.characterId);
    if (!object) return;
    applyPlacement(*object, placement, true);
    object->setName(std::move(name));
    object->setPlaceFrame(frame);
    auto* clip = dynamic_cast<MovieClip*>(object.get());
    if (clip && !placement.clipActions.empty())
        clip->setClipActions(std::make_shared<const std::vector<swf::ClipAction>>(placement.clipActions));
    addChild(depth, std::move(object));
    if (clip) clip->queueClipEvent(swf::clipEvent::Load);
}

void applyPlacement(DisplayObject& object, const swf::PlaceObject& place, bool reset) {
    if (place.matrix || reset) object.setMatrix(place.matrix.value_or(Matrix{}));
    if (place.colorTransform || reset) object.setColorTransform(place.colorTransform.value_or(ColorTransform{}));
    if (place.ratio || reset) object.setRatio(place.ratio.value_or(0));
    // An object keeps its name (perhaps an automatic one) unless the placement names it.
    if (place.name) object.setName(*place.name);
    if (place.clipDepth || reset) object.setClipDepth(place.clipDepth.value_or(0));
    if (place.blendMode || reset) object.setBlendMode(place.blendMode.value_or(0));
    if (place.cacheAsBitmap || reset) object.setCacheAsBitmap(place.cacheAsBitmap);
    if (!place.filters.empty() || reset) object.setPlacedFilters(place.filters);
}

void MovieClip::draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    drawing_.draw(r, toPixels, cx, &loadedMovie());
    // A mask (clip depth) clips the objects above it up to its clip depth.
    std::vector<int> maskEnds;
    for (const auto& [depth, child] : children_) {
        while (!maskEnds.empty() && depth > maskEnds.back()) {
            r.popMask();
            maskEnds.pop_back();
        }
        if (child->clipDepth() > 0) {
            r.beginMask();
            child->drawMask(r, toPixels * child->matrix());
            r.endMaskDefinition();
            maskEnds.push_back(child->clipDepth());
            continue;
        }
        if (!child->visible() || child->depth() < 0) continue;
        // A clip that masks another object by script is drawn only as its
        // mask (masks of the timeline keep to the timeline's rules).
        if (const DisplayObject* masked = context().find(child->maskedObject()); masked && !masked->clipDepth())
            continue;
        drawChild(r, toPixels, cx, *child);
    }
    for (size_t i = 0; i < maskEnds.size(); ++i) r.popMask();
}

void MovieClip::drawChild(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx,
                          const DisplayObject& child) const {
    // A timeline mask (clip depth) keeps masking as the timeline says.
    const DisplayObject* mask = context().find(child.scriptMask());
    if (mask && mask->clipDepth() > 0) mask = nullptr;
    if (mask) {
        // The mask may sit anywhere on the stage: reach it through the stage's space.
        r.beginMask();
        mask->drawMask(r, toPixels * Stage::stageMatrix(*this).inverse() * Stage::stageMatrix(*mask));
        r.endMaskDefinition();
    }
    // A blend mode or filters draw the child apart, then mix it into what
    // is beneath.
    const std::vector<render::Filter>& filters = child.filters();
    const bool blended = render::needsLayer(child.blendMode());
    bool layered = (blended || !filters.empty()) && r.beginLayer();
    child.draw(r, toPixels * child.matrix(), cx * child.colorTransform());
    if (layered) {
        const auto mode = blended ? render::BlendMode(child.blendMode()) : render::BlendMode::Normal;
        // Filter sizes are in stage pixels: they grow as the stage is scaled into the view.
        double filterScale = 1;
        if (!filters.empty()) {
            const Matrix view = toPixels * Stage::stageMatrix(*this).inverse();
            filterScale = std::sqrt(std::abs(view.a * view.d - view.b * view.c)) * 20;
        }
        r.endLayer(mode, filters, filterScale);
    }
    if (mask) r.popMask();
}

void MovieClip::drawMask(render::Renderer& r, const Matrix& toPixels) const {
    drawing_.draw(r, toPixels, ColorTransform{}, &loadedMovie());
    for (const auto& [depth, child] : children_) {
        if (child->clipDepth() > 0 || !child->visible()) continue;
        child->drawMask(r, toPixels * child->matrix());
    }
}

bool MovieClip::hitTest(Point local) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        const DisplayObject& child = *it->second;
        if (child.clipDepth() > 0 || !child.visible()) continue;
        if (child.hitTest(child.matrix().inverse().apply(local))) return true;
    }
    return drawing_.hitTest(local);
}

Rect MovieClip::bounds() const {
    Rect all = drawing_.bounds();
    for (const auto& [depth, child] : children_) {
        if (child->clipDepth() > 0) continue;
        all.include(child->matrix().transform(child->bounds()));
    }
    return all;
}

} // namespace tesmar::stage
