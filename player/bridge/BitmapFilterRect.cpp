// BitmapData.generateFilterRect: the rectangle that a filter's output covers
// for a given source rectangle. Blurs spread by half their size for each
// pass, shadows and bevels also reach as far as their offset, a convolution
// by half its matrix; colour changes stay inside.

#include "player/bridge/BitmapData.h"
#include "player/script/VM.h"

#include "player/bridge/FilterObject.h"
#include "player/script/BuiltinGeom.h"

#include <algorithm>
#include <cmath>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

struct Extent {
    double left = 0, top = 0, right = 0, bottom = 0;
};

Extent filterExtent(const FilterSettings& f)
{
    Extent e;
    switch (f.kind) {
    case FilterKind::Blur:
    case FilterKind::Glow:
    case FilterKind::DropShadow:
    case FilterKind::Bevel:
    case FilterKind::GradientGlow:
    case FilterKind::GradientBevel: {
        if (f.inner && f.kind != FilterKind::Blur) break;
        const int passes = std::max(f.quality, 1);
        const double spreadX = std::ceil(f.blurX * passes / 2), spreadY = std::ceil(f.blurY * passes / 2);
        e = {spreadX, spreadY, spreadX, spreadY};
        if (f.kind == FilterKind::Glow || f.kind == FilterKind::Blur) break;
        // The shadow side lies `distance` away along `angle`; a bevel lights
        // the opposite side as well.
        const double dx = std::round(std::cos(f.angle) * f.distance), dy = std::round(std::sin(f.angle) * f.distance);
        const bool bothSides = f.kind == FilterKind::Bevel || f.kind == FilterKind::GradientBevel;
        e.left += std::max(-dx, bothSides ? dx : 0.0);
        e.right += std::max(dx, bothSides ? -dx : 0.0);
        e.top += std::max(-dy, bothSides ? dy : 0.0);
        e.bottom += std::max(dy, bothSides ? -dy : 0.0);
        e = {std::max(e.left, 0.0), std::max(e.top, 0.0), std::max(e.right, 0.0), std::max(e.bottom, 0.0)};
        break;
    }
    case FilterKind::Convolution:
        e = {double(f.matrixX / 2), double(f.matrixY / 2), double(f.matrixX / 2), double(f.matrixY / 2)};
        break;
    default:
        break;
    }
    return e;
}

Value generateFilterRect(CallContext& c)
{
    if (!thisBitmap(c) || c.count() < 2) return Value(-1);
    IntRect area;
    FilterState* filter = filterOf(c.arg(1));
    if (!rectArg(c.vm, c.arg(0), area) || !filter) return Value(-1);
    const Extent e = filterExtent(filter->settings);
    return script::newGeom(c.vm, "Rectangle",
                           {Value(area.x - e.left), Value(area.y - e.top), Value(area.width + e.left + e.right),
                            Value(area.height + e.top + e.bottom)});
}

} // namespace

void installFilterRect(script::VM& vm, script::Object* proto)
{
    vm.defineNative(proto, "generateFilterRect", generateFilterRect);
}

} // namespace tesmar::bridge
