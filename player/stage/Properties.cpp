#include "player/stage/Properties.h"
#include <cmath>
#include <numbers>

namespace tesmar::stage {

Placement placementOf(const DisplayObject& object) {
    const Matrix& m = object.matrix();
    Placement p;
    p.x = m.tx / 20;
    p.y = m.ty / 20;
    p.xScale = std::hypot(m.a, m.b) * 100;
    p.yScale = std::hypot(m.c, m.d) * 100;
    if (m.determinant() < 0) p.yScale = -p.yScale;
    p.rotation = std::atan2(m.b, m.a) * 180 / std::numbers::pi;
    return p;
}

void setPlacement(DisplayObject& object, const Placement& p) {
    const double radians = p.rotation * std::numbers::pi / 180;
    const double cosine = std::cos(radians), sine = std::sin(radians);
    const double sx = p.xScale / 100, sy = p.yScale / 100;
    auto finite = [](double v) { return std::isfinite(v) ? v : 0.0; };
    object.setMatrix({finite(sx * cosine), finite(sx * sine), finite(-sy * sine), finite(sy * cosine),
                      finite(p.x * 20), finite(p.y * 20)});
}

double alphaOf(const DisplayObject& object) { return object.colorTransform().aMult * 100.0 / 256; }

void setAlpha(DisplayObject& object, double percent) {
    ColorTransform cx = object.colorTransform();
    cx.aMult = std::isfinite(percent) ? int32_t(std::clamp(percent, -32768.0, 32767.0) * 256 / 100) : 0;
    object.setColorTransform(cx);
}

} // namespace tesmar::stage
