#include "player/stage/Button.h"
#include "player/stage/MovieClip.h"

namespace tesmar::stage {

ButtonObject::ButtonObject(Context& context, const LoadedMovie& movie, uint16_t id, const swf::ButtonDef& button)
    : DisplayObject(Kind::Button, context, movie, id), button_(&button) {
    for (const swf::ButtonRecord& record : button.records) {
        // Clips of the states are named like unnamed clips of a timeline.
        const swf::Character* def = movie.movie().character(record.characterId);
        const bool clip = def && std::holds_alternative<swf::SpriteDef>(*def);
        const uint64_t number = clip ? ++context.instanceNames : 0;
        auto object = createObject(context, movie, record.characterId);
        if (!object) continue;
        if (clip) object->setName("instance" + std::to_string(number));
        object->setDepth(record.depth);
        object->setMatrix(record.matrix);
        object->setColorTransform(record.colorTransform);
        parts_.push_back({&record, std::move(object)});
    }
}

uint8_t ButtonObject::stateBit() const {
    switch (state_) {
    case State::Over: return swf::button::Over;
    case State::Down: return swf::button::Down;
    default: return swf::button::Up;
    }
}

void ButtonObject::transition(State state, uint16_t condition) {
    if (state != state_) {
        state_ = state;
        context().changed();
    }
    for (const swf::ButtonAction& action : button_->actions) {
        if ((action.conditions & condition) && parent())
            queueActions(QueuedActions::Source::Button, *parent(), action.actions);
    }
}

bool ButtonObject::keyPressed(uint16_t keyCode) {
    bool any = false;
    for (const swf::ButtonAction& action : button_->actions) {
        if (keyCode != 0 && action.keyCode == keyCode && parent()) {
            queueActions(QueuedActions::Source::Button, *parent(), action.actions);
            any = true;
        }
    }
    return any;
}

void ButtonObject::advance() {
    // Newest first, as clips on the stage step.
    for (auto it = parts_.rbegin(); it != parts_.rend(); ++it)
        if (it->record->states & stateBit()) it->object->advance();
}

void ButtonObject::draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    const uint8_t bit = stateBit();
    for (const Part& part : parts_) {
        if (!(part.record->states & bit)) continue;
        part.object->draw(r, toPixels * part.object->matrix(), cx * part.object->colorTransform());
    }
}

void ButtonObject::drawMask(render::Renderer& r, const Matrix& toPixels) const {
    const uint8_t bit = stateBit();
    for (const Part& part : parts_)
        if (part.record->states & bit) part.object->drawMask(r, toPixels * part.object->matrix());
}

bool ButtonObject::hitTest(Point local) const {
    for (const Part& part : parts_) {
        if (!(part.record->states & swf::button::HitTest)) continue;
        if (part.object->hitTest(part.object->matrix().inverse().apply(local))) return true;
    }
    return false;
}

Rect ButtonObject::bounds() const {
    Rect all;
    const uint8_t bit = stateBit();
    for (const Part& part : parts_)
        if (part.record->states & bit) all.include(part.object->matrix().transform(part.object->bounds()));
    return all;
}

void ButtonObject::removed() {
    for (Part& part : parts_) part.object->removed();
}

} // namespace tesmar::stage
