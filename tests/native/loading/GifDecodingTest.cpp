#include <gtest/gtest.h>
#include "host/ImageCodecs.h"

using namespace tesmar;

namespace {

// A 2x2 GIF: red, green / blue, and a transparent fourth colour.
std::vector<uint8_t> smallGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x81, 0, 0,
            255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255,      // palette
            0x21, 0xF9, 4, 0x01, 0, 0, 3, 0,                       // colour 3 is transparent
            0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0,                       // the image
            2, 3, 0x44, 0x34, 0x05, 0,                             // codes: clear 0 1 2 3 end
            0x3B};
}

} // namespace

TEST(GifDecoding, DecodesColoursAndTransparency) {
    std::optional<Image> image = host::decodeGif(smallGif());
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 2);
    ASSERT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, (std::vector<uint32_t>{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0u}));
}

TEST(GifDecoding, RefusesOrSurvivesDamagedFiles) {
    const std::vector<uint8_t> good = smallGif();
    // Cut anywhere: refused or decoded in part, never a crash.
    for (size_t size = 0; size < good.size(); ++size) {
        std::optional<Image> image = host::decodeGif(std::span<const uint8_t>(good.data(), size));
        if (image) {
            EXPECT_EQ(image->pixels.size(), 4u);
        }
    }
    std::vector<uint8_t> huge = good;
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;   // a 65535 x 65535 screen
    EXPECT_FALSE(host::decodeGif(huge));
    std::vector<uint8_t> badCodes = good;
    badCodes[45] = 0xFF;                             // codes never defined
    badCodes[46] = 0xFF;
    std::optional<Image> image = host::decodeGif(badCodes);
    if (image) {
        EXPECT_EQ(image->pixels.size(), 4u);
    }
    EXPECT_FALSE(host::decodeGif(std::vector<uint8_t>{'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}));
}
