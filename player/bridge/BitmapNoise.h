#pragma once
// The random sequence of the bitmap methods that take a seed.
#include <cstdint>
#include "player/script/VM.h"

namespace tesmar::bridge {

class SeededRandom {
public:
    explicit SeededRandom(int32_t seed);
    // The next number of the sequence, 1 .. 2^31 - 2.
    uint32_t next();

private:
    static constexpr uint32_t kModulus = 2147483647u;
    uint32_t state_;
};

void installBitmapNoise(script::VM& vm, script::Object* proto);

} // namespace tesmar::bridge
