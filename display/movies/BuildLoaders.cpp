// build_loaders OUTPUT_FOLDER FONT_FILE
// Builds the two loader movies and the three stored player states that the
// display windows carry in the program's resources:
//   ShowcaseLoader.swf, CollectionLoader.swf   the movies themselves
//   ShowcasePlayer.bin, CollectionPlayer.bin   "fUfU" records embedding them
//   CustomPlayer.bin                           the "gUfU" record of the custom-movie players
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include "GlyphOutlines.h"
#include "LoaderMovies.h"
#include "StoredPlayerState.h"

namespace {

using namespace tesmar::movies;

// Where the movies were embedded from at design time: kept in the stored
// values as the original control kept them, of no use at run time.
const std::u16string kDesignFolder = u"C:\\Tesmar\\Loaders\\";

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) std::cerr << "build_loaders: cannot write " << path << "\n";
    return bool(out);
}

std::vector<uint8_t> storedState(const std::vector<uint8_t>& movie, const std::u16string& movieFile) {
    StoredPlayerState state;
    state.movie = movie;
    state.values = movie.empty() ? storedValues(u"", u"") : storedValues(kDesignFolder + movieFile, kDesignFolder);
    return encodeStoredState(state);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: build_loaders OUTPUT_FOLDER FONT_FILE\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::string error;
    auto font = GlyphOutlines::open(argv[2], error);
    if (!font) {
        std::cerr << "build_loaders: " << error << "\n";
        return 1;
    }
    std::vector<uint8_t> showcase, collection;
    if (!buildLoader(Loader::Showcase, *font, showcase, error) ||
        !buildLoader(Loader::Collection, *font, collection, error)) {
        std::cerr << "build_loaders: " << error << "\n";
        return 1;
    }
    const bool written = writeFile(folder + "/ShowcaseLoader.swf", showcase) &&
                         writeFile(folder + "/CollectionLoader.swf", collection) &&
                         writeFile(folder + "/ShowcasePlayer.bin", storedState(showcase, u"ShowcaseLoader.swf")) &&
                         writeFile(folder + "/CollectionPlayer.bin", storedState(collection, u"CollectionLoader.swf")) &&
                         writeFile(folder + "/CustomPlayer.bin", storedState({}, u""));
    return written ? 0 : 1;
}
