#pragma once
// Turns definition tags into dictionary characters.
#include <cstdint>
#include "player/swf/Movie.h"
#include "player/swf/Reader.h"

namespace tesmar::swf {

class DefinitionReader {
public:
    DefinitionReader(Movie& movie, const ImageDecoder& decoder) : movie_(movie), decoder_(decoder) {}
    // Reads one tag (positioned at its body); false when it was malformed.
    // Tags that define nothing (metadata, sounds, unknown codes) are accepted.
    bool read(uint16_t code, Reader& body);

private:
    template <class T> void define(uint16_t id, T&& character) {
        movie_.dictionary[id] = std::make_shared<const Character>(std::forward<T>(character));
    }
    bool readJpeg(uint16_t code, uint16_t id, Reader& body);
    bool readFontInfo(uint16_t code, Reader& body);
    bool readButtonCxform(Reader& body);
    BitmapDef decode(std::span<const uint8_t> data) const;

    Movie& movie_;
    const ImageDecoder& decoder_;
    Bytes jpegTables_;
};

} // namespace tesmar::swf
