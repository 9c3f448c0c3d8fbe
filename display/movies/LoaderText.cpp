#include "LoaderText.h"
#include <algorithm>
#include <cmath>
#include <set>
#include "player/swf/WriterShapes.h"

namespace tesmar::movies {

int SubsetFont::indexOf(char character) const {
    const auto code = uint16_t(uint8_t(character));
    auto it = std::find(def.codes.begin(), def.codes.end(), code);
    return it == def.codes.end() ? -1 : int(it - def.codes.begin());
}

std::string glyphSet(std::initializer_list<std::string> texts) {
    std::set<char> characters;
    for (const std::string& text : texts) characters.insert(text.begin(), text.end());
    return std::string(characters.begin(), characters.end());
}

bool makeSubsetFont(const GlyphOutlines& source, const std::string& name, const std::string& characters,
                    SubsetFont& out, std::string& error) {
    out = SubsetFont{};
    out.def.name = name;
    out.def.bold = true;
    std::set<char> sorted(characters.begin(), characters.end());
    for (char c : sorted) {
        Shape glyph;
        if (!source.outline(char32_t(uint8_t(c)), glyph)) {
            error = std::string("the font has no glyph for '") + c + "'";
            return false;
        }
        out.def.glyphs.push_back(std::move(glyph));
        out.def.codes.push_back(uint8_t(c));
        out.advances.push_back(source.advance(char32_t(uint8_t(c))));
    }
    return true;
}

swf::StaticText centredLine(const SubsetFont& font, uint16_t fontId, const std::string& text,
                            uint16_t heightTwips, Rgba color, int32_t baseline) {
    swf::TextSpan span;
    span.fontId = fontId;
    span.color = color;
    span.height = heightTwips;
    int32_t width = 0;
    for (char c : text) {
        const int index = std::max(0, font.indexOf(c));
        const auto advance = int32_t(std::lround(font.advances[size_t(index)] * heightTwips / kEmUnits));
        span.glyphs.push_back({uint16_t(index), advance});
        width += advance;
    }
    span.x = -width / 2;
    span.y = baseline;

    swf::StaticText line;
    line.spans.push_back(span);
    // The bounds enclose the ink of every glyph where the line puts it.
    const double scale = heightTwips / kEmUnits;
    double x = span.x;
    for (const swf::TextSpan::Glyph& g : span.glyphs) {
        const Rect ink = swf::outlineBounds(font.def.glyphs[g.index]);
        if (!ink.empty()) line.bounds.include(Matrix{scale, 0, 0, scale, x, double(baseline)}.transform(ink));
        x += g.advance;
    }
    line.bounds.xMin = std::floor(line.bounds.xMin);
    line.bounds.yMin = std::floor(line.bounds.yMin);
    line.bounds.xMax = std::ceil(line.bounds.xMax);
    line.bounds.yMax = std::ceil(line.bounds.yMax);
    return line;
}

int32_t baselineForVerticalCentre(const SubsetFont& font, const std::string& text, uint16_t heightTwips) {
    Rect ink;
    for (char c : text) {
        const int index = font.indexOf(c);
        if (index >= 0) ink.include(swf::outlineBounds(font.def.glyphs[size_t(index)]));
    }
    if (ink.empty()) return 0;
    return int32_t(std::lround(-(ink.yMin + ink.yMax) / 2 * heightTwips / kEmUnits));
}

} // namespace tesmar::movies
