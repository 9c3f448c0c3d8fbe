// PNG writing and reading round trips; JPEG decoding of what libjpeg
// encodes, with tables apart as movies keep them; malformed files refused.
#include <gtest/gtest.h>
#include <cstdio>
#include <jpeglib.h>
#include <zlib.h>
#include "host/ImageCodecs.h"

namespace tesmar::host {
namespace {

std::vector<uint8_t> encodeJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = unsigned(width);
    info.image_height = unsigned(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    for (int x = 0; x < width; ++x) { row[3 * x] = r; row[3 * x + 1] = g; row[3 * x + 2] = b; }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

TEST(Png, RoundTripKeepsPremultipliedPixels) {
    Image image(3, 2);
    image.pixels = {0xFFFF0000u, 0x80800000u, 0x00000000u, 0xFF00FF00u, 0x40004000u, 0xFF123456u};
    std::optional<Image> back = readPng(writePng(image));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 3);
    EXPECT_EQ(back->height, 2);
    EXPECT_EQ(back->pixels, image.pixels);
}

TEST(Png, ReadsTheCorpusImages) {
    std::optional<Image> image =
        readPngFile("../shared/corpus/visual/simple_shapes/masks/output.expected.png");
    if (!image) image = readPngFile("/work/shared/corpus/visual/simple_shapes/masks/output.expected.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 550);
    EXPECT_EQ(image->height, 400);
    EXPECT_EQ(image->pixels[0], 0xFFFFFFFFu);
}

TEST(Png, RefusesDamagedFiles) {
    Image image(4, 4, 0xFF112233u);
    std::vector<uint8_t> good = writePng(image);
    ASSERT_TRUE(readPng(good));
    EXPECT_FALSE(readPng(std::vector<uint8_t>(good.begin(), good.begin() + 40)));
    std::vector<uint8_t> badCrc = good;
    badCrc[30] ^= 0x55;
    EXPECT_FALSE(readPng(badCrc));
    EXPECT_FALSE(readPng(std::vector<uint8_t>{}));
    EXPECT_FALSE(readPng(std::vector<uint8_t>(100, 0x89)));
}

TEST(Png, RefusesHugeClaimedSizes) {
    // A valid IHDR that claims 16384 x 16384 pixels with a tiny body.
    Image small(1, 1);
    std::vector<uint8_t> png = writePng(small);
    png[16] = 0; png[17] = 0; png[18] = 0x40; png[19] = 0;   // width 16384
    png[20] = 0; png[21] = 0; png[22] = 0x40; png[23] = 0;   // height 16384
    uLong crc = crc32(crc32(0, nullptr, 0), &png[12], 17);
    png[29] = uint8_t(crc >> 24); png[30] = uint8_t(crc >> 16); png[31] = uint8_t(crc >> 8); png[32] = uint8_t(crc);
    EXPECT_FALSE(readPng(png));
}

TEST(Jpeg, DecodesOpaquePixels) {
    std::optional<Image> image = decodeJpeg(encodeJpeg(16, 8, 200, 40, 10));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 8);
    uint32_t p = image->pixels[20];
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(int(p >> 16 & 0xFF), 200, 4);
    EXPECT_NEAR(int(p >> 8 & 0xFF), 40, 4);
}

TEST(Jpeg, AcceptsTablesApartAndStrayMarkers) {
    std::vector<uint8_t> whole = encodeJpeg(8, 8, 10, 200, 10);
    // Split after the quantisation tables (the first DQT segment), as
    // DefineBits with JPEGTables does, and lead the image with FF D9 FF D8.
    size_t dqt = 2;
    while (!(whole[dqt] == 0xFF && whole[dqt + 1] == 0xDB)) dqt += 2 + (whole[dqt + 2] << 8 | whole[dqt + 3]);
    size_t split = dqt + 2 + (whole[dqt + 2] << 8 | whole[dqt + 3]);
    std::vector<uint8_t> tables(whole.begin(), whole.begin() + long(split));
    tables.insert(tables.end(), {0xFF, 0xD9});
    std::vector<uint8_t> rest = {0xFF, 0xD9, 0xFF, 0xD8};
    rest.insert(rest.end(), whole.begin() + long(split), whole.end());
    std::optional<Image> image = decodeJpeg(rest, tables);
    ASSERT_TRUE(image);
    EXPECT_NEAR(int(image->pixels[0] >> 8 & 0xFF), 200, 4);
}

TEST(Jpeg, RefusesGarbage) {
    EXPECT_FALSE(decodeJpeg(std::vector<uint8_t>{}));
    EXPECT_FALSE(decodeJpeg(std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xC0, 0x00}));
    std::vector<uint8_t> noise(500);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 37 + 11);
    EXPECT_FALSE(decodeJpeg(noise));
}

} // namespace
} // namespace tesmar::host
