#pragma once
// Writes a sequence of SWF tags (a movie's main timeline, or a sprite's)
// and wraps a main timeline into an uncompressed movie file. Definitions
// take the same models the reader produces, so what is written can be read
// back and compared.
#include <cstdint>
#include <span>
#include <vector>
#include "player/geom/Shape.h"
#include "player/swf/Characters.h"
#include "player/swf/Movie.h"
#include "player/swf/Timeline.h"
#include "player/swf/WriterShapes.h"

namespace tesmar::swf {

class TagWriter {
public:
    // The file's version decides the width of clip event flags.
    explicit TagWriter(uint8_t swfVersion) : version_(swfVersion) {}

    const Bytes& bytes() const { return bytes_; }
    uint8_t version() const { return version_; }
    // ShowFrame tags written so far.
    uint16_t frameCount() const { return frames_; }

    // Any tag: short header for bodies under 63 bytes, long header otherwise.
    void tag(uint16_t code, std::span<const uint8_t> body);

    void setBackgroundColor(Rgba color);
    // DefineShape, DefineShape2 or DefineShape3 (version 1 to 3).
    void defineShape(uint16_t id, const Shape& shape, int shapeVersion);
    // DefineFont2 with the font's name, bold and italic flags, glyphs and
    // character codes (one per glyph), and its layout when it has one.
    void defineFont2(uint16_t id, const FontDef& font);
    // DefineText (version 1) or DefineText2.
    void defineText(uint16_t id, const StaticText& text, int textVersion);
    // DefineButton2: records with colour transforms, then condition actions
    // (each action block ends with its own End action).
    void defineButton2(uint16_t id, const ButtonDef& button);
    // DefineSprite holding the tags of timeline, which must end with End.
    void defineSprite(uint16_t id, const TagWriter& timeline);

    // PlaceObject2 with whatever fields place carries, clip actions included.
    void place(const PlaceObject& place);
    void remove(uint16_t depth);                    // RemoveObject2
    void doAction(std::span<const uint8_t> actions);
    void showFrame();
    void end();

private:
    uint8_t version_;
    uint16_t frames_ = 0;
    Bytes bytes_;
};

// An uncompressed ("FWS") movie file: header then the tags, which must end
// with End. The header's frame count is the number of ShowFrame tags.
Bytes movieFile(uint8_t version, const Rect& frameSizeTwips, double frameRate, const TagWriter& tags);

} // namespace tesmar::swf
