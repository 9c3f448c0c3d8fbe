// Reading what scripts load or movies carry: MP3 durations and ID3 text,
// filter lists of PlaceObject3, and the seeded sequence of BitmapData.noise;
// cut-short and hostile input gives what was sound, never a read past the end.

#include "player/bridge/BitmapNoise.h"
#include "player/bridge/BitmapPixels.h"
#include "player/bridge/FilterObject.h"
#include "player/bridge/SoundMp3.h"

#include <gtest/gtest.h>

namespace tesmar::bridge {
namespace {

// One MPEG-1 layer III frame at 128 kbit/s and 44100 Hz: 417 bytes, 1152 samples.
std::vector<uint8_t> frames(int count)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        const uint8_t header[] = {0xFF, 0xFB, 0x90, 0x00};
        bytes.insert(bytes.end(), header, header + 4);
        bytes.resize(bytes.size() + 413, 0);
    }
    return bytes;
}

std::vector<uint8_t> id3Tag(const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, uint8_t(body.size())};
    tag.insert(tag.end(), body.begin(), body.end());
    return tag;
}

TEST(Mp3Reader, DurationAddsUpFrameSamples)
{
    EXPECT_EQ(readMp3(frames(40)).durationMs, 1045u);   // 46080 samples
    EXPECT_EQ(readMp3(frames(0)).durationMs, 0u);
}

TEST(Mp3Reader, TextFramesAndCommentsInFileOrder)
{
    std::vector<uint8_t> body = {'T', 'I', 'T', '2', 0, 0, 0, 4, 0, 0, 0, 'S', 'o', 'n'};
    const uint8_t comment[] = {'C', 'O', 'M', 'M', 0, 0, 0, 8, 0, 0, 0, 'e', 'n', 'g', 'd', 0, 'h', 'i'};
    body.insert(body.end(), comment, comment + sizeof comment);
    // UTF-16 with a byte order mark.
    const uint8_t wide[] = {'T', 'P', 'E', '1', 0, 0, 0, 7, 0, 0, 1, 0xFF, 0xFE, 'A', 0, 0xE9, 0};
    body.insert(body.end(), wide, wide + sizeof wide);
    std::vector<uint8_t> file = id3Tag(body);
    auto audio = frames(2);
    file.insert(file.end(), audio.begin(), audio.end());
    Mp3Info info = readMp3(file);
    ASSERT_TRUE(info.hasTag);
    ASSERT_EQ(info.frames.size(), 3u);
    EXPECT_EQ(info.frames[0].text, "Son");
    EXPECT_EQ(info.frames[1].id, "COMM");
    EXPECT_EQ(info.frames[1].text, "hi");
    EXPECT_EQ(info.frames[2].text, "A\xC3\xA9");
    EXPECT_EQ(info.durationMs, 52u);
}

TEST(Mp3Reader, FrameSizesPastTheTagAreRefused)
{
    // A frame claims more than the tag holds; a tag claims more than the file.
    std::vector<uint8_t> body = {'T', 'I', 'T', '2', 0x7F, 0x7F, 0x7F, 0x7F, 0, 0, 0, 'x'};
    EXPECT_TRUE(readMp3(id3Tag(body)).frames.empty());
    std::vector<uint8_t> cut = {'I', 'D', '3', 4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F, 'T'};
    Mp3Info info = readMp3(cut);
    EXPECT_TRUE(info.frames.empty());
    EXPECT_EQ(info.durationMs, 0u);
    // A header at the very end of the file counts without reading past it.
    std::vector<uint8_t> last = {0xFF, 0xFB, 0x90, 0x00};
    EXPECT_EQ(readMp3(last).durationMs, 26u);
}

TEST(FilterListReader, ReadsPlacedFiltersAndStopsWhereTheyEnd)
{
    // A blur (blurX 2.5, blurY 4, 3 passes) and a glow cut short.
    std::vector<uint8_t> list = {2, 1, 0, 0x80, 2, 0, 0, 0, 4, 0, 3 << 3, 2, 0xFF, 0, 0};
    std::vector<FilterSettings> filters = readFilterList(list);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].kind, FilterKind::Blur);
    EXPECT_DOUBLE_EQ(filters[0].blurX, 2.5);
    EXPECT_EQ(filters[0].quality, 3);
    // A convolution whose matrix would run past the end.
    std::vector<uint8_t> convolution = {1, 5, 15, 15, 0, 0, 0x80, 0x3F, 0, 0, 0, 0};
    EXPECT_TRUE(readFilterList(convolution).empty());
    std::vector<uint8_t> unknown = {1, 42};
    EXPECT_TRUE(readFilterList(unknown).empty());
}

TEST(SeededRandom, FollowsTheMinimalStandardSequence)
{
    SeededRandom one(1);
    EXPECT_EQ(one.next(), 16807u);
    EXPECT_EQ(one.next(), 282475249u);
    // Seeds below one count up from one: 0 is 1 and -1 is 2.
    SeededRandom zero(0), minusOne(-1), two(2);
    EXPECT_EQ(zero.next(), 16807u);
    EXPECT_EQ(minusOne.next(), two.next());
    SeededRandom lowest(INT32_MIN);
    EXPECT_NE(lowest.next(), 0u);
}

TEST(BitmapPixels, CopiesDoNotShareWhatTheStageShows)
{
    BitmapPixels original(2, 1, true, 0xFF000000u);
    auto shown = original.shared();
    BitmapPixels copy = original;
    copy.setStraight(0, 0, 0xFFFF0000u);
    EXPECT_EQ(shown->pixels[0], 0xFF000000u);
    original.release();
    EXPECT_TRUE(shown->empty());
}

} // namespace
} // namespace tesmar::bridge
