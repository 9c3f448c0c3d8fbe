// The stored player states the display windows carry: the loaders' records
// embed their movies byte for byte; the custom players' record embeds none.
#include <gtest/gtest.h>
#include "LoaderFiles.h"
#include "display/movies/StoredPlayerState.h"

using namespace tesmar;
using namespace tesmar::movies;

namespace {

using Values = std::vector<StoredPlayerState::Value>;

Values loaderValues(const std::u16string& file) {
    const std::u16string folder = u"C:\\Tesmar\\Loaders\\";
    return {u"", folder + file, folder + file, u"Window", false, true, u"High", u"", true,
            folder, u"always", u"ShowAll", false, true, u"", u""};
}

} // namespace

TEST(StoredPlayerState, LoaderRecordsEmbedTheirMovies) {
    const std::pair<const char*, const char16_t*> loaders[] = {
        {"Showcase", u"ShowcaseLoader.swf"}, {"Collection", u"CollectionLoader.swf"}};
    for (const auto& [name, file] : loaders) {
        SCOPED_TRACE(name);
        const auto record = test::builtFile(std::string(name) + "Player.bin");
        const auto movie = test::builtFile(std::string(name) + "Loader.swf");
        ASSERT_GT(record.size(), 8u);
        EXPECT_EQ(std::string(record.begin(), record.begin() + 4), "fUfU");
        EXPECT_EQ(record[4] | record[5] << 8 | record[6] << 16 | record[7] << 24, int(movie.size()));
        std::string error;
        auto state = decodeStoredState(record, error);
        ASSERT_TRUE(state) << error;
        EXPECT_EQ(state->movie, movie);
        EXPECT_EQ(state->extentX, 4471u);
        EXPECT_EQ(state->extentY, 3625u);
        EXPECT_EQ(state->values, loaderValues(file));
        EXPECT_EQ(encodeStoredState(*state), record);
    }
}

TEST(StoredPlayerState, CustomPlayersRecordHasNoMovie) {
    const auto record = test::builtFile("CustomPlayer.bin");
    ASSERT_GT(record.size(), 4u);
    EXPECT_EQ(std::string(record.begin(), record.begin() + 4), "gUfU");
    // Straight after the signature: the constant 0x300, then the extents.
    EXPECT_EQ(record[4] | record[5] << 8, 0x300);
    std::string error;
    auto state = decodeStoredState(record, error);
    ASSERT_TRUE(state) << error;
    EXPECT_TRUE(state->movie.empty());
    EXPECT_EQ(state->values, (Values{u"", u"", u"", u"Window", true, true, u"High", u"", true, u"", u"always",
                                     u"ShowAll", false, false, u"", u""}));
}

TEST(StoredPlayerState, TextsAreUtf16WithTheirZeroCounted) {
    StoredPlayerState state;
    state.values = storedValues(u"", u"");
    const auto bytes = encodeStoredState(state);
    // Signature, constant, extents, then the first value: an empty text.
    const std::vector<uint8_t> emptyText{8, 0, 2, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(emptyText.begin(), emptyText.end(), bytes.begin() + 16));
    // "Window" after two more empty texts: 14 bytes with its zero.
    const std::vector<uint8_t> window{8, 0, 14, 0, 0, 0, 'W', 0, 'i', 0, 'n', 0, 'd', 0, 'o', 0, 'w', 0, 0, 0};
    EXPECT_TRUE(std::equal(window.begin(), window.end(), bytes.begin() + 16 + 3 * 8));
    // Then Play: true is 0xFFFF.
    EXPECT_EQ(bytes[16 + 3 * 8 + 20], 11);
    EXPECT_EQ(bytes[16 + 3 * 8 + 22], 0xFF);
}

TEST(StoredPlayerState, DamagedRecordsAreRefusedWithAReason) {
    const auto record = test::builtFile("ShowcasePlayer.bin");
    ASSERT_GT(record.size(), 100u);
    std::string error;
    // Every cut-short record is refused, never read past its end.
    for (size_t length = 0; length < record.size(); length += length < 64 ? 1 : 97) {
        error.clear();
        EXPECT_FALSE(decodeStoredState(std::span(record.data(), length), error)) << length;
        EXPECT_FALSE(error.empty());
    }
    auto damaged = record;
    damaged[0] = 'x';
    EXPECT_FALSE(decodeStoredState(damaged, error));
    damaged = record;
    damaged[7] = 0x7F;   // a movie length far beyond the record
    EXPECT_FALSE(decodeStoredState(damaged, error));
    damaged = record;
    const size_t values = 8 + (record[4] | record[5] << 8) + 12;
    damaged[values] = 3;   // an unknown value type
    EXPECT_FALSE(decodeStoredState(damaged, error));
    damaged = record;
    damaged[values + 2] = 3;   // an odd text length
    EXPECT_FALSE(decodeStoredState(damaged, error));
}
