#include <gtest/gtest.h>
#include "player/swf/Movie.h"
#include "tests/native/swf/SwfBuilder.h"

using namespace tesmar;
using namespace tesmar::test;

TEST(MovieRead, HeaderOfPlainAndCompressedFiles) {
    for (bool compress : {false, true}) {
        auto file = movie({rectangleShape(1, 200, 100, 255, 0, 0), place(1, 1), showFrame()}, 7, compress);
        auto result = swf::readMovie(file);
        ASSERT_TRUE(result.movie) << result.error;
        const swf::Movie& m = *result.movie;
        EXPECT_EQ(m.header.version, 7);
        EXPECT_EQ(m.header.compressed, compress);
        EXPECT_DOUBLE_EQ(m.header.frameRate, 12);
        EXPECT_DOUBLE_EQ(m.header.frameSize.xMax, 11000);
        ASSERT_EQ(m.timeline.frames.size(), 1u);
        EXPECT_TRUE(m.warnings.empty());
    }
}

TEST(MovieRead, RefusesWhatIsNotAMovie) {
    EXPECT_FALSE(swf::readMovie({}).movie);
    const uint8_t text[] = "GIF89a and more text";
    EXPECT_FALSE(swf::readMovie(text).movie);
    auto file = movie({});
    file[4] = file[5] = file[6] = 0xFF;   // declared length far beyond the cap
    file[7] = 0x7F;
    EXPECT_FALSE(swf::readMovie(file).movie);
}

TEST(MovieRead, CompressedBodyIsCutAtTheDeclaredLength) {
    auto file = movie({showFrame(), showFrame(), showFrame()}, 6, true, 3);
    file[4] = 8 + 13 + 2;   // only the frame header and one ShowFrame
    file[5] = file[6] = file[7] = 0;
    auto result = swf::readMovie(file);
    ASSERT_TRUE(result.movie);
    EXPECT_EQ(result.movie->timeline.frames.size(), 1u);
}

TEST(MovieRead, TagRunningPastTheEndStopsReading) {
    auto file = movie({showFrame()});
    file.resize(file.size() - 2);   // drop End
    auto lying = tag(12, std::vector<uint8_t>(10, 0), true);
    lying[2] = 0xFF;                // long length 255
    file.insert(file.end(), lying.begin(), lying.end());
    auto result = swf::readMovie(file);
    ASSERT_TRUE(result.movie);
    EXPECT_EQ(result.movie->timeline.frames.size(), 1u);
    EXPECT_FALSE(result.movie->warnings.empty());
}

TEST(MovieRead, FramesKeepCommandsActionsAndLabels) {
    BitWriter label;
    label.cstring("intro");
    auto file = movie({rectangleShape(1, 20, 20, 0, 0, 255), tag(43, label.bytes), place(1, 1, 40, 60),
                       doAction({0x07, 0x00}), showFrame(), move(1, 100, 0), remove(1), showFrame()},
                      6, false, 2);
    auto result = swf::readMovie(file);
    ASSERT_TRUE(result.movie);
    const auto& frames = result.movie->timeline.frames;
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].labels, std::vector<std::string>{"intro"});
    ASSERT_EQ(frames[0].actions.size(), 1u);
    EXPECT_EQ(frames[0].actions[0], (swf::Bytes{0x07, 0x00}));
    const auto& placed = std::get<swf::PlaceObject>(frames[0].display.at(0));
    EXPECT_EQ(placed.depth, 1);
    EXPECT_EQ(placed.characterId, 1);
    EXPECT_DOUBLE_EQ(placed.matrix->tx, 40);
    EXPECT_DOUBLE_EQ(placed.matrix->ty, 60);
    const auto& moved = std::get<swf::PlaceObject>(frames[1].display.at(0));
    EXPECT_TRUE(moved.move);
    EXPECT_FALSE(moved.characterId);
    EXPECT_EQ(std::get<swf::RemoveObject>(frames[1].display.at(1)).depth, 1);
}

TEST(MovieRead, RectangleShapeBecomesOneClosedPath) {
    auto result = swf::readMovie(movie({rectangleShape(3, 200, 100, 10, 20, 30)}));
    ASSERT_TRUE(result.movie);
    const Shape* shape = result.movie->get<Shape>(3);
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->paths.size(), 1u);
    const ShapePath& path = shape->paths[0];
    EXPECT_EQ(path.fill1, 1u);
    EXPECT_EQ(path.fill0, 0u);
    ASSERT_EQ(path.segments.size(), 4u);
    EXPECT_DOUBLE_EQ(path.segments[1].to.x, 200);
    EXPECT_DOUBLE_EQ(path.segments[1].to.y, 100);
    EXPECT_DOUBLE_EQ(path.segments[3].to.x, 0);
    EXPECT_EQ(shape->groups.at(0).fills.at(0).color, (Rgba{10, 20, 30, 255}));
}

TEST(MovieRead, ShapeUsingAnUndefinedStyleIsRefused) {
    auto shapeTag = rectangleShape(3, 200, 100, 10, 20, 30);
    shapeTag[2 + 2 + 9] = 0;   // fill style count 0: the path's fill 1 does not exist
    auto result = swf::readMovie(movie({shapeTag}));
    ASSERT_TRUE(result.movie);
    EXPECT_FALSE(result.movie->character(3));
    EXPECT_FALSE(result.movie->warnings.empty());
}

TEST(MovieRead, SpritesKeepTheirOwnFramesAndDoNotNest) {
    auto inner = sprite(5, {showFrame()}, 1);
    auto file = movie({rectangleShape(1, 20, 20, 0, 0, 0),
                       sprite(2, {place(1, 1), showFrame(), inner, remove(1), showFrame()}, 2)});
    auto result = swf::readMovie(file);
    ASSERT_TRUE(result.movie);
    const auto* def = result.movie->get<swf::SpriteDef>(2);
    ASSERT_TRUE(def);
    EXPECT_EQ(def->timeline.frames.size(), 2u);
    EXPECT_FALSE(result.movie->character(5));
}

TEST(MovieRead, ExportedNamesAreKept) {
    BitWriter e;
    e.u16(1);
    e.u16(2);
    e.cstring("thing");
    auto result = swf::readMovie(movie({tag(56, e.bytes)}));
    ASSERT_TRUE(result.movie);
    EXPECT_EQ(result.movie->exports.at("thing"), 2);
}
