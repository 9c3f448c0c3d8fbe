#pragma once
// A whole movie read from a SWF file: header, the characters it defines and
// its main timeline. Reading never trusts a length field: a movie that is
// truncated or lies is read as far as it is sound, or refused with a reason.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include "player/swf/Characters.h"
#include "player/swf/Timeline.h"

namespace tesmar::swf {

struct Header {
    uint8_t version = 0;
    bool compressed = false;
    uint32_t fileLength = 0;    // as the header states (uncompressed size)
    Rect frameSize;             // twips
    double frameRate = 12;      // frames per second
    uint16_t frameCount = 0;
};

struct Movie {
    Header header;
    Rgba background{255, 255, 255, 255};
    bool hasBackground = false;
    std::unordered_map<uint16_t, std::shared_ptr<const Character>> dictionary;
    std::map<std::string, uint16_t> exports;   // ExportAssets names
    Timeline timeline;
    std::vector<std::string> warnings;         // what was skipped or cut short
    // The ScriptLimits tag's recursion depth for the movie's scripts; 0 when
    // the movie sets none. (Its script time-out is not kept: the player's own
    // per-frame budget is far shorter, so a screen saver never stalls.)
    uint16_t maxRecursionDepth = 0;
    // FileAttributes: a local movie that may reach the network (instead of local files).
    bool useNetwork = false;

    const Character* character(uint16_t id) const {
        auto it = dictionary.find(id);
        return it == dictionary.end() ? nullptr : it->second.get();
    }
    template <class T> const T* get(uint16_t id) const {
        const Character* c = character(id);
        return c ? std::get_if<T>(c) : nullptr;
    }
};

// Decodes JPEG (and, from SWF 8, PNG or GIF) bytes into a premultiplied image.
using ImageDecoder = std::function<std::optional<Image>(std::span<const uint8_t>)>;

struct ReadResult {
    std::shared_ptr<Movie> movie;   // null when refused
    std::string error;
};

// Files larger than this after decompression are refused.
constexpr uint32_t kMaxMovieBytes = 64u << 20;

// Reads a file. Without a decoder, JPEG bitmaps stay empty.
ReadResult readMovie(std::span<const uint8_t> file, const ImageDecoder& decoder = {});

// Only the header and the decompressed body (tags after the header), for
// tools that walk tags themselves.
struct RawMovie {
    Header header;
    std::vector<uint8_t> body;
    std::string error;
};
RawMovie readHeader(std::span<const uint8_t> file);

} // namespace tesmar::swf
