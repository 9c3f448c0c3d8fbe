#pragma once
// The characters a movie defines, as the reader leaves them: ready for the
// stage to place and for the renderer to draw, with no bit layout left.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>
#include "player/geom/Image.h"
#include "player/geom/Shape.h"
#include "player/swf/Timeline.h"

namespace tesmar::swf {

// A morph shape as two shapes of identical structure (same paths, same
// segment kinds, same style indices): the stage blends them by ratio.
struct MorphShapeDef {
    Shape start;
    Shape end;
};

struct BitmapDef {
    Image image;   // premultiplied; empty when the data could not be decoded
};

struct FontDef {
    std::string name;
    bool bold = false, italic = false;
    double emSquare = 1024;          // glyph units per em: 1024, or 20480 (DefineFont3)
    std::vector<Shape> glyphs;       // one solid fill (style 1) each
    std::vector<uint16_t> codes;     // character code of each glyph, when known
    bool hasLayout = false;
    double ascent = 0, descent = 0, leading = 0;
    std::vector<double> advances;    // per glyph, in glyph units
};

struct TextGlyph {
    uint16_t index = 0;   // into the font's glyphs
    double x = 0, y = 0;  // origin in the text's space, twips
};

struct TextRun {
    uint16_t fontId = 0;
    Rgba color;
    double height = 0;    // twips per em
    std::vector<TextGlyph> glyphs;
};

struct TextDef {
    Rect bounds;
    Matrix matrix;
    std::vector<TextRun> runs;
};

// A text field (DefineEditText): its box, its look and its first text.
struct EditTextDef {
    enum class Align : uint8_t { Left, Right, Center, Justify };
    Rect bounds;                  // twips, in the field's own space
    bool wordWrap = false, multiline = false, password = false, readOnly = false;
    bool autoSize = false, selectable = true, border = false, html = false;
    bool useOutlines = false;     // draw with the embedded font's glyphs
    bool wasStatic = false;
    uint16_t fontId = 0;          // 0: no font named by id
    std::string fontClass;        // an exported font's name instead of an id
    double fontHeight = 240;      // twips per em
    Rgba color{0, 0, 0, 255};
    uint16_t maxLength = 0;       // 0: no limit
    Align align = Align::Left;
    double leftMargin = 0, rightMargin = 0, indent = 0, leading = 0;   // twips
    std::string variableName;
    std::string initialText;      // plain or HTML, as html says
};

namespace button {
enum State : uint8_t { Up = 1, Over = 2, Down = 4, HitTest = 8 };
// Transition conditions of button actions.
enum Condition : uint16_t {
    IdleToOverUp = 1 << 0, OverUpToIdle = 1 << 1, OverUpToOverDown = 1 << 2,
    OverDownToOverUp = 1 << 3, OverDownToOutDown = 1 << 4, OutDownToOverDown = 1 << 5,
    OutDownToIdle = 1 << 6, IdleToOverDown = 1 << 7, OverDownToIdle = 1 << 8,
};
} // namespace button

struct ButtonRecord {
    uint8_t states = 0;            // button::State bits
    uint16_t characterId = 0;
    uint16_t depth = 0;
    Matrix matrix;
    ColorTransform colorTransform;
    uint8_t blendMode = 0;
    Bytes filters;                 // FILTERLIST as stored
};

struct ButtonAction {
    uint16_t conditions = 0;       // button::Condition bits
    uint8_t keyCode = 0;           // 0 when no key is bound
    Bytes actions;
};

struct ButtonDef {
    bool trackAsMenu = false;
    std::vector<ButtonRecord> records;   // ordered by depth
    std::vector<ButtonAction> actions;
};

struct SpriteDef {
    Timeline timeline;
};

// A character kind the reader knows but does not turn into content yet
// (video, sound): kept so that placing it is not an error.
struct OtherDef {
    uint16_t tagCode = 0;
    // DefineSound: how long the sound plays, from its sample count and rate.
    uint32_t soundMs = 0;
};

using Character = std::variant<Shape, MorphShapeDef, BitmapDef, FontDef, TextDef,
                               ButtonDef, SpriteDef, EditTextDef, OtherDef>;

} // namespace tesmar::swf
