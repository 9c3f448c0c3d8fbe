#include "player/stage/EditTextLayout.h"
#include <algorithm>
#include <cmath>

namespace tesmar::stage {

namespace {

bool isSpace(char32_t c) { return c == ' ' || c == '\t' || c == 0xA0 || c == 0x3000; }

// One character measured: its face (nullptr when none can draw it) and
// its advance in twips, letter spacing included.
struct Measured {
    TextFace* face = nullptr;
    TextFace::Glyph glyph;
    double advance = 0;
};

class Layouter {
public:
    Layouter(const StyledText& text, const LayoutOptions& options, TextFaces& faces)
        : text_(text), options_(options), faces_(faces) {}

    TextLayout run() {
        size_t start = 0;
        while (true) {
            size_t end = text_.chars.find(U'\r', start);
            if (end == std::u32string::npos) end = text_.size();
            paragraph(start, end);
            if (end >= text_.size()) break;
            start = end + 1;
        }
        if (!out_.lines.empty()) {
            const TextLine& last = out_.lines.back();
            // A single line counts its leading; below several the last one's is left out.
            out_.textHeight = last.top + last.ascent + last.descent + (out_.lines.size() == 1 ? last.leading : 0);
        }
        return std::move(out_);
    }

private:
    TextFace* faceOf(const TextFormat& f) {
        return faces_.face(f.font, f.bold, f.italic, options_.embedFonts, options_.fontId);
    }

    Measured measure(size_t i) {
        const TextFormat& f = text_.formats[i];
        Measured m;
        m.face = faceOf(f);
        if (!m.face) return m;
        m.glyph = m.face->glyph(text_.chars[i]);
        // Device glyphs advance by whole pixels, as the machine's fonts are hinted.
        const double advance = m.glyph.advance * f.size;
        m.advance = (m.face->embedded() ? std::floor(advance) : std::round(advance / 20) * 20) + f.letterSpacing;
        return m;
    }

    void paragraph(size_t start, size_t end) {
        // An empty paragraph takes its height from the break that ends it.
        const size_t formatAt = start < text_.size() ? start : (text_.size() ? text_.size() - 1 : 0);
        const TextFormat paragraphFormat = text_.size() ? text_.formats[formatAt] : options_.emptyFormat;
        std::vector<Measured> measured;
        for (size_t i = start; i < end; ++i) measured.push_back(measure(i));

        size_t lineStart = start;
        bool firstLine = true;
        do {
            const double indent = firstLine ? paragraphFormat.indent : 0;
            const double room = options_.width - paragraphFormat.leftMargin - paragraphFormat.rightMargin - indent;
            size_t lineEnd = lineStart, next = end;
            double x = 0;
            size_t lastBreak = 0;   // character after the last space run, 0 when none
            for (size_t i = lineStart; i < end; ++i) {
                const double advance = measured[i - start].advance;
                if (options_.wordWrap && i > lineStart && !isSpace(text_.chars[i]) && x + advance > room) {
                    if (lastBreak > lineStart) {
                        lineEnd = lastBreak;
                        next = lastBreak;
                    } else {
                        lineEnd = i;
                        next = i;
                    }
                    break;
                }
                x += advance;
                lineEnd = i + 1;
                if (isSpace(text_.chars[i]) && i + 1 < end && !isSpace(text_.chars[i + 1])) lastBreak = i + 1;
            }
            if (lineEnd == end) next = end;
            placeLine(lineStart, lineEnd, start, measured, paragraphFormat, indent);
            lineStart = next;
            firstLine = false;
        } while (lineStart < end);
    }

    void placeLine(size_t first, size_t end, size_t paragraphStart, const std::vector<Measured>& measured,
                   const TextFormat& paragraphFormat, double indent) {
        TextLine line;
        line.first = first;
        line.end = end;
        line.leading = paragraphFormat.leading;
        // The line is as tall as its tallest character; an empty one as its format.
        auto grow = [&](TextFace* face, double size) {
            if (!face) return;
            auto metric = [&](double ems) {
                return face->embedded() ? std::floor(ems * size) : std::round(ems * size / 20) * 20;
            };
            line.ascent = std::max(line.ascent, metric(face->ascent()));
            line.descent = std::max(line.descent, metric(face->descent()));
        };
        for (size_t i = first; i < end; ++i) grow(measured[i - paragraphStart].face, text_.formats[i].size);
        if (first == end) grow(faceOf(paragraphFormat), paragraphFormat.size);

        // Spaces at the end of a line take no room for alignment.
        size_t inkEnd = end;
        while (inkEnd > first && isSpace(text_.chars[inkEnd - 1])) --inkEnd;
        double width = 0;
        for (size_t i = first; i < inkEnd; ++i) width += measured[i - paragraphStart].advance;
        const double room = options_.width - paragraphFormat.leftMargin - paragraphFormat.rightMargin - indent;
        double left = paragraphFormat.leftMargin + indent;
        if (paragraphFormat.align == TextAlign::Right) left += std::max(0.0, room - width);
        else if (paragraphFormat.align == TextAlign::Center) left += std::max(0.0, room - width) / 2;

        if (!out_.lines.empty()) {
            const TextLine& above = out_.lines.back();
            line.top = above.top + above.ascent + above.descent + above.leading;
        }
        line.left = left;
        line.width = width;
        const double baseline = line.top + line.ascent;
        double x = left;
        for (size_t i = first; i < end; ++i) {
            const Measured& m = measured[i - paragraphStart];
            if (m.glyph.outline) {
                const TextFormat& f = text_.formats[i];
                out_.glyphs.push_back({m.glyph.outline, f.size / m.glyph.unitsPerEm, x, baseline, f.color, i});
            }
            x += m.advance;
        }
        // Left-aligned text counts the spaces a line ends with in its width.
        double fullWidth = width;
        if (paragraphFormat.align == TextAlign::Left)
            for (size_t i = inkEnd; i < end; ++i) fullWidth += measured[i - paragraphStart].advance;
        out_.textWidth = std::max(out_.textWidth, fullWidth);
        out_.lines.push_back(line);
    }

    const StyledText& text_;
    const LayoutOptions& options_;
    TextFaces& faces_;
    TextLayout out_;
};

} // namespace

TextLayout layoutText(const StyledText& text, const LayoutOptions& options, TextFaces& faces) {
    return Layouter(text, options, faces).run();
}

} // namespace tesmar::stage
