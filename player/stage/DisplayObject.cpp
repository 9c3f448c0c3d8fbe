#include "player/stage/DisplayObject.h"
#include "player/stage/Button.h"
#include "player/stage/EditText.h"
#include "player/stage/Graphics.h"
#include "player/stage/MovieClip.h"

namespace tesmar::stage {

namespace {

// Counts the clips being built inside one another while one is made.
struct NestingGuard {
    explicit NestingGuard(Context& c) : context(c) { ++context.nesting; }
    ~NestingGuard() { --context.nesting; }
    Context& context;
};

} // namespace

void DisplayObject::setScriptMask(DisplayObject* mask) {
    if (DisplayObject* old = context_.find(scriptMask_)) old->maskedObject_ = 0;
    scriptMask_ = 0;
    if (mask && mask != this) {
        // A clip masks one object at a time.
        if (DisplayObject* previous = context_.find(mask->maskedObject_)) previous->scriptMask_ = 0;
        mask->maskedObject_ = serial_;
        scriptMask_ = mask->serial_;
    }
    context_.changed();
}

void queueActions(QueuedActions::Source source, const DisplayObject& target, const swf::Bytes& actions,
                  uint32_t clipEvent) {
    target.context().actions.push_back({source, target.serial(), target.loadedMovie().shared(), &actions, clipEvent, {}});
}

std::unique_ptr<DisplayObject> createObject(Context& context, const LoadedMovie& movie, uint16_t characterId) {
    if (context.nesting >= kMaxNesting || context.objects.size() >= kMaxObjects) return nullptr;
    NestingGuard guard(context);
    const swf::Character* character = movie.movie().character(characterId);
    if (!character) return nullptr;
    if (const auto* shape = std::get_if<Shape>(character))
        return std::make_unique<ShapeObject>(context, movie, characterId, *shape);
    if (const auto* morph = std::get_if<swf::MorphShapeDef>(character))
        return std::make_unique<MorphObject>(context, movie, characterId, *morph);
    if (const auto* text = std::get_if<swf::TextDef>(character))
        return std::make_unique<TextObject>(context, movie, characterId, *text);
    if (const auto* edit = std::get_if<swf::EditTextDef>(character))
        return std::make_unique<EditText>(context, movie, characterId, *edit, context.host);
    if (const auto* button = std::get_if<swf::ButtonDef>(character))
        return std::make_unique<ButtonObject>(context, movie, characterId, *button);
    if (const auto* sprite = std::get_if<swf::SpriteDef>(character)) {
        auto clip = std::make_unique<MovieClip>(context, movie, characterId, sprite->timeline);
        clip->enterFirstFrame();
        return clip;
    }
    return nullptr;
}

} // namespace tesmar::stage
