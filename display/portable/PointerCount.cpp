#include "display/portable/PointerCount.h"

namespace tesmar {

namespace {

// The count as the window keeps it. A count beyond 16 bits wraps, which
// the loops below treat like any other value: each of them still ends.
int16_t Narrow(int count)
{
    return static_cast<int16_t>(count);
}

} // namespace

int16_t HidePointer(const ShowPointerCall& showPointer)
{
    const int16_t saved = Narrow(showPointer(false) + 1);
    int16_t count;
    do {
        count = Narrow(showPointer(false));
    } while (count >= 0);
    return saved;
}

void RestorePointer(const ShowPointerCall& showPointer, int16_t savedCount)
{
    int16_t count;
    do {
        count = Narrow(showPointer(true));
    } while (count < savedCount);
}

} // namespace tesmar
