// The yellow frame that marks keyboard focus: three view pixels wide, just
// inside the focused object's box as the view shows it, over everything.
#include <algorithm>
#include <cmath>
#include "player/Player.h"
#include "player/bridge/ScriptBridge.h"

namespace tesmar {

namespace {

constexpr uint32_t kFocusYellow = 0xFFFFFF00;
constexpr int kFrameWidth = 3;

void fillBox(Image& target, int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, target.width);
    y1 = std::min(y1, target.height);
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) std::fill(target.row(y) + x0, target.row(y) + x1, kFocusYellow);
}

// A coordinate rounded to whole pixels, kept far inside int's range.
int pixel(double v) { return int(std::clamp(std::round(v), -1e6, 1e6)); }

} // namespace

void Player::drawFocusRect(Image& target) {
    const stage::DisplayObject* object = scripts_->focus().highlighted();
    if (!object) return;
    const Rect bounds = object->bounds();
    if (bounds.empty()) return;
    const Rect box = (stage_.viewMatrix() * stage::Stage::stageMatrix(*object)).transform(bounds);
    const int x0 = pixel(box.xMin), y0 = pixel(box.yMin), x1 = pixel(box.xMax), y1 = pixel(box.yMax);
    const int w = kFrameWidth;
    fillBox(target, x0, y0, x1, std::min(y0 + w, y1));
    fillBox(target, x0, std::max(y1 - w, y0), x1, y1);
    fillBox(target, x0, y0 + w, std::min(x0 + w, x1), y1 - w);
    fillBox(target, std::max(x1 - w, x0), y0 + w, x1, y1 - w);
}

} // namespace tesmar
