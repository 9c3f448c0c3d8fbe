// BitmapData methods that work channel by channel on straight colours:
// colorTransform, copyChannel, merge, compare, threshold, paletteMap and
// applyFilter with a colour matrix.

#include "player/bridge/BitmapData.h"

#include "player/bridge/FilterObject.h"

#include "player/script/BuiltinGeom.h"

#include <algorithm>
#include <cmath>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// Bit offsets of alpha, red, green and blue in 0xAARRGGBB.
constexpr int kShift[4] = {16, 8, 0, 24};   // red, green, blue, alpha

uint32_t channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

uint32_t withChannel(uint32_t argb, int shift, uint32_t value)
{
    return (argb & ~(0xFFu << shift)) | (value & 0xFF) << shift;
}

// The shift of a copyChannel channel number (1 red, 2 green, 4 blue, 8 alpha).
int channelShift(int number)
{
    switch (number) {
    case 1: return 16;
    case 2: return 8;
    case 4: return 0;
    case 8: return 24;
    default: return -1;
    }
}

// Visits every pixel of the source rectangle that lands inside the target.
template <class Visit>
void forEachCopied(const BitmapPixels& target, const BitmapPixels& source, const CopyArgs& args, Visit visit)
{
    for (int y = 0; y < args.area.height; ++y)
        for (int x = 0; x < args.area.width; ++x) {
            int sx = args.area.x + x, sy = args.area.y + y, tx = args.dx + x, ty = args.dy + y;
            if (source.contains(sx, sy) && target.contains(tx, ty)) visit(sx, sy, tx, ty);
        }
}

Value colorTransform(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 2) return Value(-1);
    IntRect area;
    if (!rectArg(c.vm, c.arg(0), area)) return Value(-2);
    auto* t = c.arg(1).isObject() ? dynamic_cast<script::ColorTransformObject*>(c.arg(1).object()) : nullptr;
    if (!t) return Value(-3);
    IntRect r = area.clippedTo(p->width(), p->height());
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) {
            uint32_t argb = p->straight(x, y);
            for (int i = 0; i < 4; ++i) {
                double v = channel(argb, kShift[i]) * t->multiplier[i] + t->offset[i];
                v = std::isnan(v) ? 0 : std::clamp(v, 0.0, 255.0);
                argb = withChannel(argb, kShift[i], uint32_t(v));
            }
            p->setStraight(x, y, argb);
        }
    return Value(-1);
}

Value copyChannel(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 5) return Value(-1);
    CopyArgs args;
    if (int error = copyArgs(c, args)) return Value(error);
    int from = channelShift(c.vm.toInt32(c.arg(3))), to = channelShift(c.vm.toInt32(c.arg(4)));
    // An unknown source channel reads as 0; an unknown target changes nothing.
    if (to < 0) return Value(-1);
    const BitmapPixels source = *args.source;
    forEachCopied(*p, source, args, [&](int sx, int sy, int tx, int ty) {
        uint32_t value = from < 0 ? 0 : channel(source.straight(sx, sy), from);
        p->setStraight(tx, ty, withChannel(p->straight(tx, ty), to, value));
    });
    return Value(-1);
}

Value merge(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 6) return Value(-1);
    CopyArgs args;
    if (int error = copyArgs(c, args)) return Value(error);
    uint32_t weight[4];
    for (int i = 0; i < 4; ++i) weight[i] = uint32_t(std::clamp(c.vm.toInt32(c.arg(3 + size_t(i))), 0, 256));
    // Without an alpha weight the source's alpha is taken whole.
    if (c.count() < 7) weight[3] = 256;
    const BitmapPixels source = *args.source;
    forEachCopied(*p, source, args, [&](int sx, int sy, int tx, int ty) {
        uint32_t s = source.straight(sx, sy), d = p->straight(tx, ty), out = 0;
        for (int i = 0; i < 4; ++i) {
            uint32_t v = (channel(s, kShift[i]) * weight[i] + channel(d, kShift[i]) * (256 - weight[i])) / 256;
            out = withChannel(out, kShift[i], v);
        }
        p->setStraight(tx, ty, out);
    });
    return Value(-1);
}

// 0 when equal, else a bitmap of the differences: red, green and blue
// differences at full alpha, or white with the alpha difference.
Value compare(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 1) return Value(-1);
    BitmapPixels* other = bitmapOf(c.arg(0));
    if (!other) return Value(-2);
    if (other->width() != p->width()) return Value(-3);
    if (other->height() != p->height()) return Value(-4);
    auto result = std::make_unique<BitmapPixels>(p->width(), p->height(), true, 0);
    bool same = true;
    for (int y = 0; y < p->height(); ++y)
        for (int x = 0; x < p->width(); ++x) {
            uint32_t a = p->straight(x, y), b = other->straight(x, y);
            if (a == b) continue;
            same = false;
            uint32_t diff = 0;
            for (int i = 0; i < 4; ++i) diff = withChannel(diff, kShift[i], channel(a, kShift[i]) - channel(b, kShift[i]));
            if ((a & 0xFFFFFF) != (b & 0xFFFFFF)) result->setStraight(x, y, 0xFF000000u | (diff & 0xFFFFFF));
            else result->setStraight(x, y, (diff & 0xFF000000u) | 0xFFFFFF);
        }
    if (same) return Value(0);
    return newBitmapData(c.vm, std::move(result));
}

bool passes(const std::string& op, uint32_t value, uint32_t threshold)
{
    if (op == "<") return value < threshold;
    if (op == "<=") return value <= threshold;
    if (op == ">") return value > threshold;
    if (op == ">=") return value >= threshold;
    if (op == "==") return value == threshold;
    if (op == "!=") return value != threshold;
    return value < threshold;
}

// Sets pixels whose masked premultiplied source word passes the test to
// `color`; the others get the source word when copySource is set. An unknown
// operation tests "<". Answers how many passed.
Value threshold(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 5) return Value(-1);
    CopyArgs args;
    if (int error = copyArgs(c, args)) return Value(error);
    const std::string op = c.vm.toString(c.arg(3));
    const uint32_t mask = c.count() > 6 ? uint32_t(c.vm.toInt32(c.arg(6))) : 0xFFFFFFFFu;
    const uint32_t limit = uint32_t(c.vm.toInt32(c.arg(4))) & mask;
    const uint32_t color = c.count() > 5 ? uint32_t(c.vm.toInt32(c.arg(5))) : 0;
    const bool copySource = c.count() > 7 && c.vm.toBoolean(c.arg(7));
    const BitmapPixels source = *args.source;
    int count = 0;
    forEachCopied(*p, source, args, [&](int sx, int sy, int tx, int ty) {
        uint32_t s = source.at(sx, sy);
        if (passes(op, s & mask, limit)) {
            p->set(tx, ty, premultiply(color));   // as it is, even into an opaque bitmap
            ++count;
        } else if (copySource) {
            p->set(tx, ty, source.at(sx, sy));
        }
    });
    return Value(count);
}

// Each output pixel is the sum of the four arrays' entries for the source
// pixel's red, green, blue and alpha; a channel without an array keeps its value.
Value paletteMap(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 4) return Value(-1);
    CopyArgs args;
    if (int error = copyArgs(c, args)) return Value(error);
    bool mapped[4];
    uint32_t table[4][256];
    for (int i = 0; i < 4; ++i) {
        Value array = c.arg(3 + size_t(i));
        mapped[i] = array.isObject();
        for (uint32_t v = 0; v < 256; ++v)
            table[i][v] = mapped[i] ? uint32_t(c.vm.toInt32(c.vm.get(array.object(), std::to_string(v)))) : 0;
    }
    const BitmapPixels source = *args.source;
    forEachCopied(*p, source, args, [&](int sx, int sy, int tx, int ty) {
        uint32_t s = source.straight(sx, sy), out = 0, kept = 0;
        for (int i = 0; i < 4; ++i) {
            uint32_t v = channel(s, kShift[i]);
            if (mapped[i]) out += table[i][v];
            else kept = withChannel(kept, kShift[i], v);
        }
        p->setStraight(tx, ty, out + kept);
    });
    return Value(-1);
}

// applyFilter(source, sourceRect, destPoint, filter): the colour matrix
// filter mixes each straight pixel's channels; other filters draw nothing.
Value applyFilter(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 4) return Value(-1);
    CopyArgs args;
    if (int error = copyArgs(c, args)) return Value(error);
    FilterState* filter = filterOf(c.arg(3));
    if (!filter) return Value(-5);
    if (filter->settings.kind != FilterKind::ColorMatrix) return Value(-1);
    const auto& m = filter->settings.colorMatrix;
    const BitmapPixels source = *args.source;
    forEachCopied(*p, source, args, [&](int sx, int sy, int tx, int ty) {
        const uint32_t s = source.straight(sx, sy);
        double in[4];
        for (int i = 0; i < 4; ++i) in[i] = channel(s, kShift[i]);
        uint32_t out = 0;
        for (int row = 0; row < 4; ++row) {
            const double* r = &m[size_t(row) * 5];
            double v = r[0] * in[0] + r[1] * in[1] + r[2] * in[2] + r[3] * in[3] + r[4];
            v = std::isnan(v) ? 0 : std::clamp(v, 0.0, 255.0);
            out = withChannel(out, kShift[row], uint32_t(v));
        }
        p->setStraight(tx, ty, out);
    });
    return Value(0);
}

} // namespace

void installBitmapChannels(script::VM& vm, script::Object* proto)
{
    vm.defineNative(proto, "colorTransform", colorTransform);
    vm.defineNative(proto, "copyChannel", copyChannel);
    vm.defineNative(proto, "merge", merge);
    vm.defineNative(proto, "compare", compare);
    vm.defineNative(proto, "threshold", threshold);
    vm.defineNative(proto, "paletteMap", paletteMap);
    vm.defineNative(proto, "applyFilter", applyFilter);
}

} // namespace tesmar::bridge
