// JPEG decoding through libjpeg, from memory, with the marker clean-up that
// movie files need (separate tables, stray end/start markers).
#include "host/ImageCodecs.h"
#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>

namespace tesmar::host {
namespace {

// Appends the marker segments of one JPEG stream to out, leaving out its
// start and end markers; everything from the start of scan on is copied
// unchanged. Returns false when the stream is not a sequence of markers.
bool appendSegments(std::span<const uint8_t> in, std::vector<uint8_t>& out) {
    size_t pos = 0;
    while (pos < in.size()) {
        if (in[pos] != 0xFF) return false;
        if (pos + 1 >= in.size()) return true;
        uint8_t marker = in[pos + 1];
        if (marker == 0xFF) { ++pos; continue; }                      // fill byte
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x01) { pos += 2; continue; }
        if (pos + 4 > in.size()) return false;
        size_t length = size_t(in[pos + 2]) << 8 | in[pos + 3];
        if (length < 2) return false;
        if (marker == 0xDA) {                                          // start of scan: the rest is image data
            out.insert(out.end(), in.begin() + pos, in.end());
            return true;
        }
        if (pos + 2 + length > in.size()) return false;
        out.insert(out.end(), in.begin() + pos, in.begin() + pos + 2 + length);
        pos += 2 + length;
    }
    return true;
}

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void onMessage(j_common_ptr) {}

} // namespace

std::optional<Image> decodeJpeg(std::span<const uint8_t> data, std::span<const uint8_t> tables) {
    std::vector<uint8_t> stream = {0xFF, 0xD8};
    if (!appendSegments(tables, stream) || !appendSegments(data, stream)) return std::nullopt;
    stream.insert(stream.end(), {0xFF, 0xD9});

    // Everything the error path needs exists before setjmp; the jump crosses
    // only libjpeg's C frames.
    Image image;
    std::vector<uint8_t> row;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, stream.data(), static_cast<unsigned long>(stream.size()));
    jpeg_read_header(&info, TRUE);
    bool tooLarge = info.image_width > unsigned(kMaxImageSide) || info.image_height > unsigned(kMaxImageSide) ||
                    int64_t(info.image_width) * info.image_height > kMaxImagePixels;
    bool colourOk = info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK;
    if (tooLarge || !colourOk || info.image_width == 0 || info.image_height == 0) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = Image(int(info.output_width), int(info.output_height));
    row.resize(size_t(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        int y = int(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        uint32_t* out = image.row(y);
        for (unsigned x = 0; x < info.output_width; ++x)
            out[x] = 0xFF000000u | uint32_t(row[3 * x]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x + 2];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

} // namespace tesmar::host
