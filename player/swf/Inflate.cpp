#include "player/swf/Inflate.h"
#include <zlib.h>

namespace tesmar::swf {

Inflated inflateCapped(std::span<const uint8_t> compressed, size_t maxBytes) {
    Inflated out;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return out;
    z.next_in = const_cast<Bytef*>(compressed.data());
    z.avail_in = static_cast<uInt>(std::min<size_t>(compressed.size(), UINT32_MAX));
    // Grow the buffer as data arrives rather than trusting the expected size.
    size_t capacity = std::min<size_t>(maxBytes, 64 * 1024);
    out.bytes.resize(capacity);
    size_t produced = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (produced == out.bytes.size()) {
            if (out.bytes.size() >= maxBytes) break;
            out.bytes.resize(std::min(maxBytes, out.bytes.size() * 2));
        }
        z.next_out = out.bytes.data() + produced;
        z.avail_out = static_cast<uInt>(out.bytes.size() - produced);
        status = inflate(&z, Z_NO_FLUSH);
        produced = out.bytes.size() - z.avail_out;
        // No progress: the output is full (grow it) or the input is cut short.
        if (status == Z_BUF_ERROR) {
            if (z.avail_out != 0) break;
            status = Z_OK;
        }
    }
    out.complete = status == Z_STREAM_END;
    out.bytes.resize(produced);
    inflateEnd(&z);
    return out;
}

} // namespace tesmar::swf
