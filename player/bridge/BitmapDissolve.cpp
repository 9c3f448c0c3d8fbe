// BitmapData.pixelDissolve: replaces pixels of an area in an order that
// looks random but visits every pixel once before repeating. The order is
// a maximal-length linear feedback shift register over the pixel numbers
// of the area; the number a call ends on is its answer, so that feeding it
// back as the next seed carries on where the last call stopped.

#include "player/bridge/BitmapDissolve.h"

#include "player/bridge/BitmapData.h"
#include "player/script/VM.h"

#include <algorithm>
#include <cstdlib>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// Feedback masks of maximal-length Galois registers, by register width.
constexpr uint32_t kFeedback[25] = {
    0, 0, 0x3, 0x6, 0xC, 0x14, 0x30, 0x60, 0xB8, 0x110, 0x240, 0x500, 0x829,
    0x100D, 0x2015, 0x6000, 0xD008, 0x12000, 0x20400, 0x40023, 0x90000, 0x140000, 0x300000, 0x420000, 0xE10000,
};

} // namespace

DissolveOrder::DissolveOrder(uint32_t count) : count_(std::max<uint32_t>(count, 1))
{
    int width = 2;
    while (width < 24 && (uint32_t(1) << width) <= count_) ++width;
    feedback_ = kFeedback[width];
}

uint32_t DissolveOrder::next(uint32_t index) const
{
    if (count_ == 1) return 0;
    // Register states run 1 .. 2^width - 1; a state names pixel state - 1,
    // and states past the last pixel are stepped over.
    uint32_t state = index + 1;
    do {
        state = (state >> 1) ^ ((state & 1) ? feedback_ : 0);
    } while (state > count_);
    return state - 1;
}

namespace {

// pixelDissolve(source, rect, point, seed, count, fill): the first pixel is
// the seed's; `count` more follow. A bitmap dissolving into itself takes the
// fill colour; another bitmap gives its own pixels.
Value pixelDissolve(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 5) return Value(-1);
    CopyArgs args;
    if (int error = copyArgs(c, args)) return Value(error);
    const int32_t seed = c.vm.toInt32(c.arg(3));
    const int32_t asked = c.vm.toInt32(c.arg(4));
    const uint32_t fill = c.count() > 5 ? uint32_t(c.vm.toInt32(c.arg(5))) : 0;

    // The part of the rectangle inside the source, placed at the point and
    // cut to this bitmap.
    IntRect area = args.area.clippedTo(args.source->width(), args.source->height());
    int tx = args.dx + (area.x - args.area.x), ty = args.dy + (area.y - args.area.y);
    IntRect target = IntRect{tx, ty, area.width, area.height}.clippedTo(p->width(), p->height());
    area.x += target.x - tx;
    area.y += target.y - ty;
    area.width = target.width;
    area.height = target.height;
    if (area.empty()) return Value(seed);

    const uint32_t total = uint32_t(area.width) * uint32_t(area.height);
    const DissolveOrder order(total);
    // A negative count, or one past the area, replaces every pixel.
    const uint32_t steps = asked < 0 ? total - 1 : std::min<uint32_t>(uint32_t(asked), total - 1);
    const bool self = bitmapOf(c.arg(0)) == p;
    const BitmapPixels from = *args.source;
    auto replace = [&](uint32_t index) {
        int x = int(index % uint32_t(area.width)), y = int(index / uint32_t(area.width));
        if (self) {
            p->setStraight(target.x + x, target.y + y, fill);
            return;
        }
        uint32_t src = from.at(area.x + x, area.y + y);
        if (!p->transparent()) src = sourceOver(src, p->at(target.x + x, target.y + y)) | 0xFF000000u;
        p->set(target.x + x, target.y + y, src);
    };
    uint32_t index = uint32_t(std::abs(int64_t(seed)) % total);
    replace(index);
    for (uint32_t i = 0; i < steps; ++i) {
        index = order.next(index);
        replace(index);
    }
    return steps == 0 ? Value(seed) : Value(double(index));
}

} // namespace

void installBitmapDissolve(script::VM& vm, script::Object* proto)
{
    vm.defineNative(proto, "pixelDissolve", pixelDissolve);
}

} // namespace tesmar::bridge
