#pragma once
// The text of a text field with the look of every character: the model
// that HTML text is read into, that scripts change through formats, and
// that the layout turns into lines.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "player/geom/Color.h"

namespace tesmar::stage {

enum class TextAlign : uint8_t { Left, Right, Center, Justify };

// Character attributes (font to url) and paragraph attributes (align to
// leading, taken from a paragraph's first character). Sizes in twips.
struct TextFormat {
    std::string font = "Times New Roman";
    double size = 240;
    Rgba color{0, 0, 0, 255};
    bool bold = false, italic = false, underline = false;
    double letterSpacing = 0;
    std::string url, target;
    TextAlign align = TextAlign::Left;
    double leftMargin = 0, rightMargin = 0, indent = 0, leading = 0, blockIndent = 0;
    std::vector<double> tabStops;
    bool bullet = false, kerning = false;

    bool operator==(const TextFormat&) const = default;
};

// Characters with one format each. Paragraphs end at '\r' (a '\n' given
// by a movie is stored as '\r', as the player does).
struct StyledText {
    std::u32string chars;
    std::vector<TextFormat> formats;   // parallel to chars

    void append(std::u32string_view text, const TextFormat& format) {
        chars.append(text);
        formats.insert(formats.end(), text.size(), format);
    }
    size_t size() const { return chars.size(); }
};

// Text as scripts hold it to characters and back: UTF-8, where a byte that
// starts no valid sequence stands for itself (the single-byte texts of
// movies before SWF 6).
std::u32string decodeText(std::string_view bytes);
std::string encodeUtf8(std::u32string_view chars);

} // namespace tesmar::stage
