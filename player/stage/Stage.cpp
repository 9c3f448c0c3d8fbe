#include "player/stage/Stage.h"
#include <algorithm>
#include <cmath>
#include <utility>
#include "player/swf/PlaceReader.h"

namespace tesmar::stage {

Stage::~Stage() {
    // Clips refer to their level's movie: drop them first.
    for (auto& [number, level] : levels_) level.root.reset();
}

MovieClip& Stage::setLevel(int number, std::shared_ptr<const swf::Movie> movie, std::string url) {
    removeLevel(number);
    if (number == 0) {
        const Rect& size = movie->header.frameSize;
        if (!size.empty() && size.width() > 0 && size.height() > 0) stageRect_ = size;
        if (movie->hasBackground) background_ = movie->background;
    }
    Level& level = levels_[number];
    level.movie = std::make_unique<LoadedMovie>(std::move(movie), std::move(url));
    level.root = std::make_unique<MovieClip>(context_, *level.movie, 0, level.movie->movie().timeline);
    level.root->setDepth(number);
    level.root->setName("_level" + std::to_string(number));
    context_.changed();
    return *level.root;
}

void Stage::removeLevel(int number) {
    auto it = levels_.find(number);
    if (it == levels_.end()) return;
    it->second.root->removed();
    it->second.root.reset();
    levels_.erase(it);
    context_.changed();
}

MovieClip* Stage::level(int number) const {
    auto it = levels_.find(number);
    return it == levels_.end() ? nullptr : it->second.root.get();
}

const std::map<int, MovieClip*> Stage::levels() const {
    std::map<int, MovieClip*> all;
    for (const auto& [number, level] : levels_) all[number] = level.root.get();
    return all;
}

void Stage::tick() {
    ++context_.tick;
    // Clips parked for their unload handlers leave now.
    for (uint64_t serial : std::exchange(context_.unloading, {})) {
        DisplayObject* gone = find(serial);
        if (gone && gone->parent()) gone->parent()->dropUnloaded(gone->depth());
    }
    std::vector<int> numbers;
    for (const auto& [number, level] : levels_) numbers.push_back(number);
    // Every clip and button steps once, newest first and the level roots
    // last, as the reference player orders its frame scripts and events.
    // Objects made during the tick start on the next one.
    const std::vector<uint64_t> order = executionOrder();
    std::vector<uint64_t> entered;
    for (int number : numbers) {
        MovieClip* root = level(number);
        if (root && !root->started()) {
            root->enterFirstFrame();
            // The root's load event follows its first frame's scripts.
            root->queueClipEvent(swf::clipEvent::Load);
            entered.push_back(root->serial());
        }
    }
    for (uint64_t serial : order) {
        DisplayObject* object = find(serial);
        if (!object || object->born() >= context_.tick) continue;
        if (std::find(entered.begin(), entered.end(), serial) != entered.end()) continue;
        if (auto* clip = dynamic_cast<MovieClip*>(object)) {
            if (clip->started() && !clip->unloading()) clip->step();
        } else {
            object->advance();
        }
    }
    // Objects may have moved under a resting pointer.
    updateHover();
}

std::vector<QueuedActions> Stage::takeActions() {
    std::vector<QueuedActions> actions;
    actions.swap(context_.actions);
    return actions;
}

void Stage::setViewSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == viewWidth_ && height == viewHeight_) return;
    viewWidth_ = width;
    viewHeight_ = height;
    context_.changed();
}

void Stage::render(Image& target, render::Renderer& renderer) {
    renderer.begin(target);
    renderer.setQuality(quality_);
    renderer.clear(background_);
    const Matrix view = viewMatrix();
    for (const auto& [number, level] : levels_) {
        const MovieClip& root = *level.root;
        if (!root.visible()) continue;
        root.draw(renderer, view * root.matrix(), root.colorTransform());
    }
    renderer.finish();
    context_.dirty = false;
}

// Calls visit on every clip of every level, parents before children.
template <class Visit> void Stage::forEachClip(Visit visit) const {
    std::vector<MovieClip*> clips;
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) clips.push_back(it->second.root.get());
    while (!clips.empty()) {
        MovieClip* clip = clips.back();
        clips.pop_back();
        visit(*clip);
        const auto& children = clip->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (auto* sub = dynamic_cast<MovieClip*>(it->second.get())) clips.push_back(sub);
    }
}

std::vector<uint64_t> Stage::executionOrder() const {
    std::vector<uint64_t> order;
    forEachClip([&order](MovieClip& clip) {
        order.push_back(clip.serial());
        for (const auto& [depth, child] : clip.children())
            if (child->kind() == DisplayObject::Kind::Button) order.push_back(child->serial());
    });
    std::sort(order.rbegin(), order.rend());
    return order;
}

void Stage::broadcastClipEvent(uint32_t event) {
    for (uint64_t serial : executionOrder())
        if (auto* clip = dynamic_cast<MovieClip*>(find(serial))) clip->queueClipEvent(event);
}

} // namespace tesmar::stage
