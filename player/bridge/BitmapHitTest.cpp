// BitmapData.hitTest: whether the bitmap, placed at a point, has a pixel at
// least as opaque as a threshold under a point, inside a rectangle, or where
// another bitmap has one too. A fully transparent pixel never hits.
// Errors: -1 too few arguments or disposed, -2 a bad first point, -3 a second
// object that is no point, rectangle or live bitmap, -4 a bad second point.

#include "player/bridge/BitmapData.h"

#include "player/script/VM.h"

#include <algorithm>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

bool has(CallContext& c, const Value& v, const char* name)
{
    return v.isObject() && !c.vm.get(v.object(), name).isUndefined();
}

bool pointArg(CallContext& c, const Value& v, int& x, int& y)
{
    if (!has(c, v, "x") || !has(c, v, "y")) return false;
    x = c.vm.toInt32(c.vm.getOf(v, "x"));
    y = c.vm.toInt32(c.vm.getOf(v, "y"));
    return true;
}

bool opaqueEnough(const BitmapPixels& p, int x, int y, uint32_t threshold)
{
    if (!p.contains(x, y)) return false;
    uint32_t alpha = p.at(x, y) >> 24;
    return alpha > 0 && alpha >= threshold;
}

bool anyInArea(const BitmapPixels& p, const IntRect& area, uint32_t threshold)
{
    IntRect r = area.clippedTo(p.width(), p.height());
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            if (opaqueEnough(p, x, y, threshold)) return true;
    return false;
}

uint32_t thresholdArg(CallContext& c, size_t i)
{
    return uint32_t(std::clamp(c.vm.toInt32(c.arg(i)), 0, 255));
}

Value hitTest(CallContext& c)
{
    auto* self = dynamic_cast<BitmapDataObject*>(c.thisObject);
    BitmapPixels* p = self ? self->pixels.get() : nullptr;
    if (!p || c.count() < 3) return Value(-1);
    int fx, fy;
    if (!pointArg(c, c.arg(0), fx, fy)) return Value(-2);
    const uint32_t threshold = thresholdArg(c, 1);
    const Value second = c.arg(2);

    if (auto* other = second.isObject() ? dynamic_cast<BitmapDataObject*>(second.object()) : nullptr) {
        if (!other->pixels) return Value(-3);
        // Without a point the other bitmap sits at the origin; without a
        // threshold any pixel that is not fully transparent counts.
        int sx = 0, sy = 0;
        if (c.count() > 3 && !pointArg(c, c.arg(3), sx, sy)) return Value(-4);
        const uint32_t secondThreshold = c.count() > 4 ? thresholdArg(c, 4) : 1;
        const BitmapPixels& q = *other->pixels;
        // Both in stage space: this bitmap at (fx, fy), the other at (sx, sy).
        IntRect overlap{std::max(fx, sx), std::max(fy, sy), 0, 0};
        overlap.width = std::min(fx + p->width(), sx + q.width()) - overlap.x;
        overlap.height = std::min(fy + p->height(), sy + q.height()) - overlap.y;
        for (int y = overlap.y; y < overlap.y + overlap.height; ++y)
            for (int x = overlap.x; x < overlap.x + overlap.width; ++x)
                if (opaqueEnough(*p, x - fx, y - fy, threshold) && opaqueEnough(q, x - sx, y - sy, secondThreshold))
                    return Value(true);
        return Value(false);
    }
    if (has(c, second, "width") && has(c, second, "height")) {
        IntRect area;
        if (!rectArg(c.vm, second, area)) return Value(-3);
        // The rectangle's far edges count as inside.
        area.x -= fx;
        area.y -= fy;
        area.width += 1;
        area.height += 1;
        return Value(anyInArea(*p, area, threshold));
    }
    int px, py;
    if (!pointArg(c, second, px, py)) return Value(-3);
    return Value(opaqueEnough(*p, px - fx, py - fy, threshold));
}

} // namespace

void installBitmapHitTest(script::VM& vm, script::Object* proto)
{
    vm.defineNative(proto, "hitTest", hitTest);
}

} // namespace tesmar::bridge
