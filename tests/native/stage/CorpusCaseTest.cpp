// The corpus runner's reading of case settings and input, and its image
// comparison (tools/host, linked into this test program).
#include <gtest/gtest.h>
#include "host/CorpusCase.h"
#include "host/InputEvents.h"

using namespace tesmar;
using namespace tesmar::host;

TEST(CaseSettings, ReadsFramesTolerancesChecksAndViewport) {
    const std::string toml = R"(num_ticks = 12 # comment
known_failure = true
image_comparisons."output.01".trigger = 1

[image_comparisons.output]
tolerance = 3
max_outliers = 50

[[image_comparisons.other.checks]]
tolerance = 0
max_outliers = 400

[[image_comparisons.other.checks]]
tolerance = 64

[player_options]
viewport_dimensions = { width = 200, height = 150, scale_factor = 1 }
with_renderer = { quality = "low" }

[approximations]
epsilon = 1e-14

[[compilers]]
optimizations = {
    fold_constants = false
}
)";
    std::string error;
    auto settings = parseCaseSettings(toml, error);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->frames, 12);
    EXPECT_TRUE(settings->knownFailure);
    EXPECT_FALSE(settings->ignore);
    EXPECT_TRUE(settings->approximateNumbers);
    EXPECT_EQ(settings->viewWidth, 200);
    EXPECT_EQ(settings->viewHeight, 150);
    ASSERT_EQ(settings->images.size(), 3u);
    EXPECT_EQ(settings->images[0].name, "output.01");
    EXPECT_TRUE(settings->images[0].triggered);
    EXPECT_EQ(settings->images[1].name, "output");
    ASSERT_EQ(settings->images[1].checks.size(), 1u);
    EXPECT_EQ(settings->images[1].checks[0].tolerance, 3);
    EXPECT_EQ(settings->images[1].checks[0].maxOutliers, 50);
    ASSERT_EQ(settings->images[2].checks.size(), 2u);
    EXPECT_EQ(settings->images[2].checks[0].maxOutliers, 400);
    EXPECT_EQ(settings->images[2].checks[1].tolerance, 64);
    EXPECT_EQ(settings->images[2].checks[1].maxOutliers, 0);
}

TEST(CaseSettings, RefusesLinesThatAreNotSettings) {
    std::string error;
    EXPECT_FALSE(parseCaseSettings("num_frames 3\n", error));
    EXPECT_FALSE(error.empty());
}

TEST(ImageMatch, ToleranceAndOutliers) {
    Image expected(2, 2, 0xFF102030u);
    Image actual = expected;
    actual.pixels[0] = 0xFF102035u;   // off by 5 in blue
    std::string why;
    EXPECT_TRUE(imagesMatch(actual, expected, {5, 0}, why));
    EXPECT_FALSE(imagesMatch(actual, expected, {4, 0}, why));
    EXPECT_NE(why.find("1 pixels differ"), std::string::npos);
    EXPECT_TRUE(imagesMatch(actual, expected, {4, 1}, why));
    EXPECT_FALSE(imagesMatch(Image(1, 2), expected, {255, 100}, why));
}

TEST(InputEventsJson, ReadsMouseKeysAndWaits) {
    std::string error;
    auto events = parseInputEvents(R"([
        { "type": "MouseMove", "pos": [142, 56.5] },
        { "type": "MouseDown", "pos": [1, 2], "btn": "Left" },
        { "type": "Wait" },
        { "type": "KeyDown", "key": { "Char": "a" } },
        { "type": "TextInput", "codepoint": "\u00e9" }
    ])", error);
    ASSERT_TRUE(events) << error;
    ASSERT_EQ(events->size(), 5u);
    EXPECT_EQ((*events)[0].type, InputEvent::Type::MouseMove);
    EXPECT_DOUBLE_EQ((*events)[0].y, 56.5);
    EXPECT_EQ((*events)[2].type, InputEvent::Type::Wait);
    EXPECT_EQ((*events)[3].keyCode, 'A');
    EXPECT_EQ((*events)[4].type, InputEvent::Type::TextInput);
    EXPECT_EQ((*events)[4].codepoint, U'\u00e9');
}

TEST(InputEventsJson, MalformedOrDeepInputIsRefused) {
    std::string error;
    EXPECT_FALSE(parseInputEvents("[{\"type\": \"Wait\"", error));
    EXPECT_FALSE(parseInputEvents("{}", error));
    EXPECT_FALSE(parseInputEvents("[{}]", error));
    EXPECT_FALSE(parseInputEvents(std::string(100000, '['), error));
}
