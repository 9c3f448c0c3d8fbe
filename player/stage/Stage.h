#pragma once
// The stage: levels of loaded movies, drawn scaled into the host's view
// ("show all": whole stage visible, aspect kept, centred), mouse input
// turned into button states, and the change flag for redraws.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include "player/geom/Image.h"
#include "player/stage/Button.h"
#include "player/stage/Context.h"
#include "player/stage/InputKeyboard.h"
#include "player/stage/MovieClip.h"
#include "player/stage/ViewFit.h"

namespace tesmar::stage {

class Stage {
public:
    Stage() = default;
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;
    ~Stage();

    // Puts a movie into a level, replacing what was there. Level 0 sets the
    // stage size, frame rate and background.
    MovieClip& setLevel(int level, std::shared_ptr<const swf::Movie> movie, std::string url);
    void removeLevel(int level);
    MovieClip* level(int level) const;
    const std::map<int, MovieClip*> levels() const;

    // Runs one frame of every level; new levels show their first frame.
    void tick();
    // Actions queued since the last call, in order.
    std::vector<QueuedActions> takeActions();

    void setViewSize(int width, int height);
    int viewWidth() const { return viewWidth_; }
    int viewHeight() const { return viewHeight_; }
    // Stage twips to view pixels.
    Matrix viewMatrix() const { return fit_.matrix(stageRect_, viewWidth_, viewHeight_); }
    const ViewFit& fit() const { return fit_; }
    void setFit(const ViewFit& fit) { fit_ = fit; context_.changed(); }
    Rect stageRect() const { return stageRect_; }
    Rgba background() const { return background_; }
    void setBackground(Rgba color) { background_ = color; context_.changed(); }
    void setQuality(render::Quality quality) { quality_ = quality; context_.changed(); }

    // Pointer input in view pixels. A pointer that did not move sends no
    // event (hosts report a position with each press and release) unless
    // reportStill: false.
    bool mouseMove(double x, double y, bool reportStill = false);
    // A press is two steps, between which focus may move: every clip's
    // mouse-down event, then the press of the target under the pointer.
    void mouseDown() { mouseDownEvents(); pressTarget(); }
    void mouseDownEvents();
    void pressTarget();
    void mouseUp();
    // A key by virtual-key code, with the character it types (0: none).
    // True when a button on stage took the key for one of its actions.
    bool keyDown(uint8_t keyCode, uint16_t ascii);
    // A character typed: true when a button on stage took it for one of its
    // actions (the character then goes nowhere else).
    bool characterTyped(char32_t character);
    // Keyboard focus moved from one object onto a button or clip (to), or
    // onto nothing that rolls: it stands for the pointer, so the object
    // under it is rolled out and to rolled over.
    void rollByFocus(const DisplayObject* from, DisplayObject* to);
    // A key pressed and released a button or clip that has keyboard focus.
    void keyboardClick(DisplayObject& target);
    void keyUp(uint8_t keyCode, uint16_t ascii);
    const Keyboard& keyboard() const { return keyboard_; }
    // Which clips take pointer events (scripts decide: handlers, `enabled`).
    // Without it buttons do and clips do not.
    using MouseTest = std::function<bool(const DisplayObject&)>;
    void setMouseTest(MouseTest test) { mouseTest_ = std::move(test); }
    // Which scripted clips have unload methods (they leave a frame later).
    void setUnloadTest(Context::ObjectTest test) { context_.unloadTest = std::move(test); }
    // The button or clip under a view point that takes pointer events, if any.
    DisplayObject* buttonAt(double x, double y) const;
    // The topmost selectable text field under a view point: a click focuses it.
    DisplayObject* textFieldAt(double x, double y) const;
    // The pointer in view pixels.
    double mouseX() const { return mouseX_; }
    double mouseY() const { return mouseY_; }
    // The pointer in stage twips, and in an object's own space.
    Point mouseOnStage() const;
    Point mouseIn(const DisplayObject& object) const;
    // An object's space to stage twips.
    static Matrix stageMatrix(const DisplayObject& object);

    // The object that follows the pointer (one at a time). Bounds, in the
    // parent's pixels, are left, top, right, bottom.
    void startDrag(DisplayObject& object, bool lockCenter, std::optional<std::array<double, 4>> bounds);
    void stopDrag() { drag_ = {}; }

    // Every live display object by serial; nullptr once it is gone.
    DisplayObject* find(uint64_t serial) const { return context_.find(serial); }

    // Gives text fields the host's device fonts.
    void setHost(Host& host) { context_.host = &host; }
    bool needsRedraw() const { return context_.dirty; }
    // Draws with the renderer the caller keeps from frame to frame.
    void render(Image& target, render::Renderer& renderer);
    // Draws a one-off picture with a renderer of its own.
    void render(Image& target) {
        render::Renderer renderer;
        render(target, renderer);
    }

private:
    struct Level {
        std::unique_ptr<LoadedMovie> movie;
        std::unique_ptr<MovieClip> root;
    };
    void updateHover();
    DisplayObject* mouseTarget(uint64_t serial) const;
    DisplayObject* findMouseTarget(const MovieClip& clip, Point local) const;
    bool takesMouse(const DisplayObject& object) const;
    bool pressBoundButton(uint16_t buttonKeyCode);
    void broadcastClipEvent(uint32_t event);
    void followDrag();
    template <class Visit> void forEachClip(Visit visit) const;
    // Serials of every clip and button, newest first.
    std::vector<uint64_t> executionOrder() const;

    Context context_;
    std::map<int, Level> levels_;
    Rect stageRect_{0, 0, 550 * 20, 400 * 20};
    Rgba background_{255, 255, 255, 255};
    render::Quality quality_ = render::Quality::High;
    int viewWidth_ = 550, viewHeight_ = 400;
    ViewFit fit_;
    double mouseX_ = -1, mouseY_ = -1;
    bool pressedInside_ = false;
    bool hoverByFocus_ = false;   // focus, not the pointer, chose the hovered object
    Keyboard keyboard_;
    MouseTest mouseTest_;
    struct Drag {
        uint64_t serial = 0;
        Point offset;                                  // object origin minus pointer, parent twips
        std::optional<std::array<double, 4>> bounds;  // twips
    } drag_;
};

} // namespace tesmar::stage
