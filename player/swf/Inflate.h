#pragma once
// zlib decompression with a hard cap on the output size.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tesmar::swf {

struct Inflated {
    std::vector<uint8_t> bytes;
    bool complete = false;   // the stream ended cleanly within the cap
};

// Inflates at most maxBytes; output beyond the cap is not produced.
Inflated inflateCapped(std::span<const uint8_t> compressed, size_t maxBytes);

} // namespace tesmar::swf
