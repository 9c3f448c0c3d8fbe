// BitmapData operations that move or search pixels: scroll, floodFill,
// copyPixels and getColorBoundsRect. Error answers: -1 too few arguments or
// a disposed bitmap, -2 a source that is no bitmap, -3 a disposed source,
// -4 a bad rectangle.

#include "player/bridge/BitmapData.h"

#include "player/script/BuiltinGeom.h"

#include <algorithm>
#include <vector>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

BitmapPixels* pixelsOf(CallContext& c)
{
    return thisBitmap(c);
}

// Every premultiplied channel times alpha, in 8-bit fixed point where 255
// counts as one.
uint32_t scaled(uint32_t premultiplied, uint32_t alpha)
{
    const uint32_t factor = alpha + (alpha >> 7);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) out |= (((premultiplied >> shift) & 0xFF) * factor >> 8) << shift;
    return out;
}

Value scroll(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 2) return Value(-1);
    int dx = c.vm.toInt32(c.arg(0)), dy = c.vm.toInt32(c.arg(1));
    const BitmapPixels before = *p;
    for (int y = 0; y < p->height(); ++y)
        for (int x = 0; x < p->width(); ++x)
            if (before.contains(x - dx, y - dy)) p->set(x, y, before.at(x - dx, y - dy));
    return Value(0);
}

Value floodFill(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 3) return Value(-1);
    int x = c.vm.toInt32(c.arg(0)), y = c.vm.toInt32(c.arg(1));
    uint32_t color = uint32_t(c.vm.toInt32(c.arg(2)));
    if (!p->contains(x, y)) return Value(0);
    const uint32_t target = p->at(x, y);
    p->setStraight(x, y, color);
    const uint32_t replacement = p->at(x, y);
    p->set(x, y, target);
    if (replacement == target) return Value(0);
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        auto [px, py] = pending.back();
        pending.pop_back();
        if (!p->contains(px, py) || p->at(px, py) != target) continue;
        p->set(px, py, replacement);
        pending.insert(pending.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
    return Value(1);
}

Value copyPixels(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 3) return Value(-1);
    CopyArgs args;
    if (int error = copyArgs(c, args)) return Value(error);
    const IntRect area = args.area;
    const int dx = args.dx, dy = args.dy;
    // An alpha bitmap counts only together with its point argument.
    BitmapPixels* alpha = c.count() > 4 ? bitmapOf(c.arg(3)) : nullptr;
    int ax = 0, ay = 0;
    if (alpha) {
        ax = c.vm.toInt32(c.vm.getOf(c.arg(4), "x"));
        ay = c.vm.toInt32(c.vm.getOf(c.arg(4), "y"));
    }
    const bool mergeAlpha = c.count() > 5 ? c.vm.toBoolean(c.arg(5)) : false;
    const BitmapPixels from = *args.source;   // the source may be this bitmap
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            int sx = area.x + x, sy = area.y + y, tx = dx + x, ty = dy + y;
            if (!from.contains(sx, sy) || !p->contains(tx, ty)) continue;
            uint32_t src = from.at(sx, sy);
            if (alpha) {
                uint32_t mask = alpha->contains(ax + x, ay + y) ? alpha->at(ax + x, ay + y) >> 24 : 0;
                src = scaled(src, mask);
            }
            if (!p->transparent() || mergeAlpha) src = sourceOver(src, p->at(tx, ty));
            p->set(tx, ty, p->transparent() ? src : src | 0xFF000000u);
        }
    }
    return Value(0);
}

Value getColorBoundsRect(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 2) return Value(-1);
    uint32_t mask = uint32_t(c.vm.toInt32(c.arg(0))), color = uint32_t(c.vm.toInt32(c.arg(1)));
    bool find = c.count() < 3 || c.vm.toBoolean(c.arg(2));
    // A transparent bitmap compares its premultiplied words with the
    // premultiplied colour; an opaque one compares red, green and blue only.
    const bool transparent = p->transparent();
    const uint32_t wanted = transparent ? premultiply(color) : color & 0xFFFFFF;
    const uint32_t compared = transparent ? mask : mask & 0xFFFFFF;
    int x0 = p->width(), y0 = p->height(), x1 = -1, y1 = -1;
    for (int y = 0; y < p->height(); ++y)
        for (int x = 0; x < p->width(); ++x) {
            if (((p->at(x, y) & compared) == wanted) != find) continue;
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
        }
    if (x1 < 0) return script::newGeom(c.vm, "Rectangle", {Value(0), Value(0), Value(0), Value(0)});
    return script::newGeom(c.vm, "Rectangle", {Value(x0), Value(y0), Value(x1 - x0 + 1), Value(y1 - y0 + 1)});
}

} // namespace

void installBitmapOps(script::VM& vm, script::Object* proto)
{
    vm.defineNative(proto, "scroll", scroll);
    vm.defineNative(proto, "floodFill", floodFill);
    vm.defineNative(proto, "copyPixels", copyPixels);
    vm.defineNative(proto, "getColorBoundsRect", getColorBoundsRect);
    installBitmapChannels(vm, proto);
    installBitmapDissolve(vm, proto);
    installFilterRect(vm, proto);
}

} // namespace tesmar::bridge
