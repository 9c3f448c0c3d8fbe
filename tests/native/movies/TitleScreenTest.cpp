// The loaders' title screens as the player draws their first frame,
// compared with reference images kept beside this test (looked at once by
// eye, then guarded here).
#include <gtest/gtest.h>
#include <cstdlib>
#include "LoaderFiles.h"
#include "host/ImageCodecs.h"
#include "host/NativeHost.h"
#include "player/Player.h"

using namespace tesmar;

namespace {

const std::string here = std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/'));

Image firstFrame(const std::string& movieFile) {
    host::NativeHost nativeHost;
    Player player(nativeHost);
    const auto bytes = test::builtFile(movieFile);
    EXPECT_TRUE(player.load(bytes, movieFile)) << player.error();
    player.setViewSize(800, 600);
    player.tick();
    Image image;
    player.render(image);
    return image;
}

// Counts pixels whose channels differ by more than a rounding step, and
// the largest difference.
struct Difference {
    size_t pixels = 0;
    int largest = 0;
};

Difference compare(const Image& a, const Image& b) {
    Difference d;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        int worst = 0;
        for (int shift = 0; shift < 32; shift += 8)
            worst = std::max(worst, std::abs(int(a.pixels[i] >> shift & 0xFF) - int(b.pixels[i] >> shift & 0xFF)));
        d.largest = std::max(d.largest, worst);
        if (worst > 8) ++d.pixels;
    }
    return d;
}

void expectLooksLikeReference(const std::string& movieFile, const std::string& reference) {
    SCOPED_TRACE(movieFile);
    const Image image = firstFrame(movieFile);
    ASSERT_EQ(image.width, 800);
    ASSERT_EQ(image.height, 600);
    auto expected = host::readPngFile(here + "/" + reference);
    ASSERT_TRUE(expected) << "cannot read " << reference;
    ASSERT_EQ(expected->width, 800);
    ASSERT_EQ(expected->height, 600);
    const Difference d = compare(image, *expected);
    // Anti-aliasing may move by a step along edges; the picture may not.
    EXPECT_LT(d.pixels, 200u) << "largest channel difference " << d.largest;
}

uint32_t pixel(const Image& image, int x, int y) { return image.pixels[size_t(y) * size_t(image.width) + size_t(x)]; }

} // namespace

TEST(TitleScreen, ShowcaseMatchesItsReference) {
    expectLooksLikeReference("ShowcaseLoader.swf", "showcase-title.png");
}

TEST(TitleScreen, CollectionMatchesItsReference) {
    expectLooksLikeReference("CollectionLoader.swf", "collection-title.png");
}

TEST(TitleScreen, ExitTurnsYellowUnderThePointerAndOrangeWhilePressed) {
    host::NativeHost nativeHost;
    Player player(nativeHost);
    const auto bytes = test::builtFile("ShowcaseLoader.swf");
    ASSERT_TRUE(player.load(bytes, "ShowcaseLoader.swf"));
    player.setViewSize(800, 600);
    player.tick();
    // The brightest pixel of the word's box tells its colour.
    auto exitColour = [&] {
        Image image;
        player.render(image);
        uint32_t brightest = 0;
        for (int y = 444; y < 465; ++y)
            for (int x = 383; x < 418; ++x)
                if ((pixel(image, x, y) & 0xFFFFFF) > (brightest & 0xFFFFFF)) brightest = pixel(image, x, y);
        return brightest;
    };
    EXPECT_EQ(exitColour(), 0xFFFFFFFFu);
    player.mouseMove(400, 454);
    EXPECT_EQ(exitColour(), 0xFFFFFF00u);
    player.mouseDown();
    EXPECT_EQ(exitColour(), 0xFFFF9900u);
}

TEST(TitleScreen, BackgroundsAndLogoColours) {
    const Image showcase = firstFrame("ShowcaseLoader.swf");
    const Image collection = firstFrame("CollectionLoader.swf");
    ASSERT_EQ(showcase.width, 800);
    ASSERT_EQ(collection.width, 800);
    EXPECT_EQ(pixel(showcase, 5, 5), 0xFF000000u);
    EXPECT_EQ(pixel(collection, 5, 5), 0xFF000066u);
    EXPECT_EQ(pixel(collection, 795, 595), 0xFF000066u);
    // Below the lettering the bar turns from black (left, under the
    // emblem) to pure blue at its right end.
    const uint32_t left = pixel(showcase, 330, 240), middle = pixel(showcase, 450, 240),
                   right = pixel(showcase, 538, 240);
    EXPECT_EQ(left & 0xFFFFFF00u, 0xFF000000u);
    EXPECT_LT(left, middle);
    EXPECT_LT(middle, right);
    EXPECT_GE(right, 0xFF0000F8u);
}
