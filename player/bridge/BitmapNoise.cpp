// BitmapData.noise: random channel values from the seeded sequence the
// reference player uses (the multiplicative generator x * 16807 mod 2^31 - 1),
// so that a seed gives the same picture as there.

#include "player/bridge/BitmapNoise.h"

#include "player/bridge/BitmapData.h"

#include <algorithm>
#include <cstdlib>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

Value noise(CallContext& c)
{
    BitmapPixels* p = thisBitmap(c);
    if (!p || c.count() < 1) return Value(-1);
    SeededRandom random(c.vm.toInt32(c.arg(0)));
    const int low = std::clamp(c.count() > 1 ? c.vm.toInt32(c.arg(1)) : 0, 0, 255);
    const int high = std::clamp(c.count() > 2 ? c.vm.toInt32(c.arg(2)) : 255, 0, 255);
    const int channels = c.count() > 3 ? c.vm.toInt32(c.arg(3)) : 7;
    const bool gray = c.count() > 4 && c.vm.toBoolean(c.arg(4));
    auto next = [&] { return uint32_t(high >= low ? low + int(random.next() % uint32_t(high - low + 1)) : low); };
    const bool randomAlpha = (channels & 8) && p->transparent();
    for (int y = 0; y < p->height(); ++y)
        for (int x = 0; x < p->width(); ++x) {
            uint32_t argb = 0;
            if (gray) {
                uint32_t v = next();
                argb = v << 16 | v << 8 | v;
            } else {
                if (channels & 1) argb |= next() << 16;
                if (channels & 2) argb |= next() << 8;
                if (channels & 4) argb |= next();
            }
            argb |= (randomAlpha ? next() : 255) << 24;
            p->setStraight(x, y, argb);
        }
    return Value(0);
}

} // namespace

SeededRandom::SeededRandom(int32_t seed)
{
    // Zero and negative seeds count from one upwards: 0 is 1, -1 is 2.
    int64_t s = seed > 0 ? int64_t(seed) : 1 - int64_t(seed);
    state_ = uint32_t(s % kModulus);
    if (state_ == 0) state_ = 1;
}

uint32_t SeededRandom::next()
{
    state_ = uint32_t(uint64_t(state_) * 16807 % kModulus);
    return state_;
}

void installBitmapNoise(script::VM& vm, script::Object* proto)
{
    vm.defineNative(proto, "noise", noise);
}

} // namespace tesmar::bridge
