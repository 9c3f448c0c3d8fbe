// BitmapData.draw: renders a clip (or copies another bitmap) into the
// bitmap through a matrix and colour transform, limited to a clip rectangle.
// MovieClip.attachBitmap: the other way, a bitmap shown in a clip.

#include "player/bridge/BitmapData.h"

#include "player/bridge/GeomClasses.h"
#include "player/render/Renderer.h"
#include "player/script/BuiltinGeom.h"
#include "player/stage/MovieClip.h"

#include <algorithm>
#include <cmath>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// A flash.geom.Matrix argument in pixels; the identity when absent.
Matrix matrixArg(CallContext& c, const Value& v)
{
    Matrix m;
    if (!v.isObject()) return m;
    double* fields[] = {&m.a, &m.b, &m.c, &m.d, &m.tx, &m.ty};
    const char* names[] = {"a", "b", "c", "d", "tx", "ty"};
    for (int i = 0; i < 6; ++i) {
        double n = script::numberOf(c.vm, v, names[i]);
        if (std::isfinite(n)) *fields[i] = n;
    }
    return m;
}

ColorTransform colorArg(const Value& v)
{
    ColorTransform cx;
    auto* t = v.isObject() ? dynamic_cast<script::ColorTransformObject*>(v.object()) : nullptr;
    if (!t) return cx;
    int32_t* mults[] = {&cx.rMult, &cx.gMult, &cx.bMult, &cx.aMult};
    int32_t* adds[] = {&cx.rAdd, &cx.gAdd, &cx.bAdd, &cx.aAdd};
    for (int i = 0; i < 4; ++i) {
        double m = t->multiplier[i] * 256, a = t->offset[i];
        *mults[i] = std::isfinite(m) ? int32_t(std::clamp(m, -65536.0, 65536.0)) : 0;
        *adds[i] = std::isfinite(a) ? int32_t(std::clamp(a, -65536.0, 65536.0)) : 0;
    }
    return cx;
}

// Copies a bitmap through the matrix, nearest pixel, source over.
void drawBitmap(Image& target, const BitmapPixels& source, const Matrix& m, const ColorTransform& cx)
{
    const Matrix inverse = m.inverse();
    for (int y = 0; y < target.height; ++y)
        for (int x = 0; x < target.width; ++x) {
            Point s = inverse.apply({x + 0.5, y + 0.5});
            int sx = int(std::floor(s.x)), sy = int(std::floor(s.y));
            if (!source.contains(sx, sy)) continue;
            uint32_t straight = source.straight(sx, sy);
            Rgba c = cx.apply({uint8_t(straight >> 16), uint8_t(straight >> 8), uint8_t(straight), uint8_t(straight >> 24)});
            uint32_t src = premultiply(uint32_t(c.a) << 24 | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
            uint32_t& dst = target.row(y)[x];
            uint32_t inverseAlpha = 255 - (src >> 24), out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t v = ((src >> shift) & 0xFF) + (((dst >> shift) & 0xFF) * inverseAlpha + 127) / 255;
                out |= std::min<uint32_t>(v, 255) << shift;
            }
            dst = out;
        }
}

Value draw(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 1) return Value(-1);
    const Matrix m = matrixArg(c, c.arg(1));
    const ColorTransform cx = colorArg(c.arg(2));
    IntRect clip{0, 0, p->width(), p->height()};
    if (c.arg(4).isObject() && !rectArg(c.vm, c.arg(4), clip)) clip = {0, 0, 0, 0};
    clip = clip.clippedTo(p->width(), p->height());
    if (clip.empty()) return Value();

    Image canvas(p->width(), p->height());
    canvas.pixels = p->words();
    if (BitmapPixels* source = bitmapOf(c.arg(0))) {
        drawBitmap(canvas, *source, m, cx);
    } else if (stage::DisplayObject* object = displayObjectOf(c.vm, c.arg(0))) {
        // The clip's own twips to bitmap pixels.
        const Matrix toPixels = m * Matrix{1.0 / 20, 0, 0, 1.0 / 20, 0, 0};
        render::Renderer renderer(canvas);
        object->draw(renderer, toPixels, cx);
        renderer.finish();
    } else {
        return Value(-1);
    }
    for (int y = clip.y; y < clip.y + clip.height; ++y)
        for (int x = clip.x; x < clip.x + clip.width; ++x) {
            uint32_t word = canvas.row(y)[x];
            p->set(x, y, p->transparent() ? word : word | 0xFF000000u);
        }
    return Value();
}

// clip.attachBitmap(bitmap, depth[, pixelSnapping, smoothing]).
Value attachBitmap(CallContext& c)
{
    auto* clip = dynamic_cast<stage::MovieClip*>(displayObjectOf(c.vm, c.thisValue));
    BitmapPixels* p = bitmapOf(c.arg(0));
    if (!clip || !p || c.count() < 2) return Value();
    const bool smooth = c.count() > 3 && c.vm.toBoolean(c.arg(3));
    clip->drawing().attachBitmap(c.vm.toInt32(c.arg(1)), p->shared(), smooth);
    clip->context().changed();
    return Value();
}

} // namespace

void installBitmapDraw(script::VM& vm, script::Object* proto)
{
    vm.defineNative(proto, "draw", draw);
    vm.defineNative(vm.protos().movieClip, "attachBitmap", attachBitmap);
    vm.protos().movieClip->findOwn("attachBitmap")->flags |= script::OnlySwf8Up;
}

} // namespace tesmar::bridge
