#pragma once
// Hiding the mouse pointer for the length of a screen saver and giving it
// back afterwards. The system keeps a display count (the pointer shows while
// it is 0 or more); each call of the show function lowers (false) or raises
// (true) it by one and returns the new count. Counts are kept as signed
// 16-bit values, as the window's state holds them.
#include <cstdint>
#include <functional>

namespace tesmar {

using ShowPointerCall = std::function<int(bool show)>;

// Lowers the count until it is negative, always at least twice (a count of 0
// ends at -2, one of 2 at -1). Returns the count from before the first call.
int16_t HidePointer(const ShowPointerCall& showPointer);

// Raises the count at least once, and until it is back at savedCount.
void RestorePointer(const ShowPointerCall& showPointer, int16_t savedCount);

} // namespace tesmar
