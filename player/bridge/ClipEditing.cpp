#include "player/bridge/ClipEditing.h"
#include "player/swf/PlaceReader.h"

namespace tesmar::bridge {

namespace {

bool validScriptDepth(int depth) { return depth >= -kScriptDepthOffset && depth <= kMaxScriptDepth; }

const swf::Timeline& emptyTimeline() {
    static const swf::Timeline timeline{1, {swf::Frame{}}};
    return timeline;
}

} // namespace

stage::DisplayObject* addScriptChild(stage::MovieClip& parent, std::unique_ptr<stage::DisplayObject> object,
                                     const std::string& name, int depth) {
    if (!object || !validScriptDepth(depth)) return nullptr;
    object->setName(name);
    object->setPlacedByTimeline(false);
    auto* clip = dynamic_cast<stage::MovieClip*>(object.get());
    stage::DisplayObject* added = parent.addChild(depth + kScriptDepthOffset, std::move(object));
    if (clip) clip->queueClipEvent(swf::clipEvent::Load);
    return added;
}

stage::DisplayObject* duplicateClip(ScriptBridge&, stage::DisplayObject& source, const std::string& name, int depth) {
    stage::MovieClip* parent = source.parent();
    if (!parent || !validScriptDepth(depth)) return nullptr;
    std::unique_ptr<stage::DisplayObject> copy;
    auto* sourceClip = dynamic_cast<stage::MovieClip*>(&source);
    if (source.characterId() == 0 && sourceClip) copy = makeEmptyClip(source);
    else copy = stage::createObject(source.context(), source.loadedMovie(), source.characterId());
    if (!copy) return nullptr;
    copy->setMatrix(source.matrix());
    copy->setColorTransform(source.colorTransform());
    copy->setRatio(source.ratio());
    copy->setClipDepth(source.clipDepth());
    auto* copyClip = dynamic_cast<stage::MovieClip*>(copy.get());
    if (copyClip && sourceClip) copyClip->setClipActions(sourceClip->clipActions());
    if (copyClip && sourceClip) copyClip->drawing() = sourceClip->drawing();
    return addScriptChild(*parent, std::move(copy), name, depth);
}

bool removable(const stage::DisplayObject& object) {
    const int depth = scriptDepth(object);
    // Clips at the very top of the depths stay.
    return object.parent() && depth >= 0 && depth < kFirstFixedScriptDepth;
}

void removeClip(stage::DisplayObject& object) {
    if (removable(object)) object.parent()->unloadChild(object.depth());
}

std::unique_ptr<stage::MovieClip> makeEmptyClip(stage::DisplayObject& near) {
    stage::Context& context = near.context();
    if (context.objects.size() >= stage::kMaxObjects) return nullptr;
    auto clip = std::make_unique<stage::MovieClip>(context, near.loadedMovie(), 0, emptyTimeline());
    clip->startWithoutFrame();
    return clip;
}

} // namespace tesmar::bridge
