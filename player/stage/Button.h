#pragma once
// A button: up, over and down states drawn from its records, a hit area,
// and actions bound to the transitions between states.
#include <memory>
#include <vector>
#include "player/stage/DisplayObject.h"
#include "player/swf/Characters.h"

namespace tesmar::stage {

class ButtonObject : public DisplayObject {
public:
    enum class State : uint8_t { Up, Over, Down };

    ButtonObject(Context& context, const LoadedMovie& movie, uint16_t id, const swf::ButtonDef& button);

    State state() const { return state_; }
    bool trackAsMenu() const { return button_->trackAsMenu; }
    // Enters state through a transition (a swf::button::Condition) and
    // queues the actions bound to it.
    void transition(State state, uint16_t condition);
    // Queues the actions bound to a key (a buttonKeyCode).
    bool keyPressed(uint16_t keyCode);

    // Visits the objects of every state (text fields inside buttons are bound too).
    template <class Visit> void forEachPart(Visit visit) const {
        for (const Part& part : parts_)
            if (part.object) visit(*part.object);
    }

    void advance() override;
    void draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const override;
    void drawMask(render::Renderer& r, const Matrix& toPixels) const override;
    bool hitTest(Point local) const override;
    Rect bounds() const override;
    void removed() override;

private:
    struct Part {
        const swf::ButtonRecord* record;
        std::unique_ptr<DisplayObject> object;
    };
    uint8_t stateBit() const;

    const swf::ButtonDef* button_;
    std::vector<Part> parts_;
    State state_ = State::Up;
};

} // namespace tesmar::stage
