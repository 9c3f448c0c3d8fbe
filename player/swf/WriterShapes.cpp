#include "player/swf/WriterShapes.h"
#include <cmath>

namespace tesmar::swf {

namespace {

int32_t twips(double v) { return int32_t(std::lround(v)); }

void writeColor(Writer& w, Rgba c, int shapeVersion) {
    if (shapeVersion >= 3) w.rgba(c); else w.rgb(c);
}

void writeStyleCount(Writer& w, size_t count, int shapeVersion) {
    if (count >= 0xFF && shapeVersion >= 2) {
        w.u8(0xFF);
        w.u16(uint16_t(count));
    } else {
        w.u8(uint8_t(count));
    }
}

void writeFillStyle(Writer& w, const FillStyle& fill, int shapeVersion) {
    switch (fill.kind) {
    case FillStyle::Kind::Solid:
        w.u8(0x00);
        writeColor(w, fill.color, shapeVersion);
        return;
    case FillStyle::Kind::Bitmap:
        w.u8(uint8_t(0x40 | (fill.bitmapRepeat ? 0 : 1) | (fill.bitmapSmooth ? 0 : 2)));
        w.u16(fill.bitmapId);
        w.matrix(fill.matrix);
        return;
    case FillStyle::Kind::LinearGradient:
    case FillStyle::Kind::RadialGradient:
    case FillStyle::Kind::FocalGradient: {
        // A focal point needs DefineShape4, which is not written here: a
        // focal gradient is written as the radial one it centres on.
        w.u8(fill.kind == FillStyle::Kind::LinearGradient ? 0x10 : 0x12);
        w.matrix(fill.matrix);
        const Gradient& g = fill.gradient;
        const uint8_t spread = g.spread == Gradient::Spread::Reflect ? 1 : g.spread == Gradient::Spread::Repeat ? 2 : 0;
        const uint8_t interpolation = g.interpolation == Gradient::Interpolation::LinearRgb ? 1 : 0;
        const size_t count = std::min<size_t>(g.stops.size(), 15);
        w.u8(uint8_t(spread << 6 | interpolation << 4 | count));
        for (size_t i = 0; i < count; ++i) {
            w.u8(g.stops[i].ratio);
            writeColor(w, g.stops[i].color, shapeVersion);
        }
        return;
    }
    }
}

void writeStyles(Writer& w, const StyleGroup& group, int shapeVersion) {
    writeStyleCount(w, group.fills.size(), shapeVersion);
    for (const FillStyle& fill : group.fills) writeFillStyle(w, fill, shapeVersion);
    writeStyleCount(w, group.lines.size(), shapeVersion);
    for (const LineStyle& line : group.lines) {
        w.u16(uint16_t(twips(line.width)));
        writeColor(w, line.color, shapeVersion);
    }
}

struct StyleBits {
    unsigned fill = 0, line = 0;
};

StyleBits bitsFor(const StyleGroup& group) {
    return {unsignedBits({uint32_t(group.fills.size())}), unsignedBits({uint32_t(group.lines.size())})};
}

// Writes the edge records of every path; stylesVersion 0 writes a glyph
// (no new styles, no strokes).
void writeEdges(Writer& w, const Shape& shape, int stylesVersion, StyleBits bits) {
    w.ubits(bits.fill, 4);
    w.ubits(bits.line, 4);
    int32_t penX = 0, penY = 0;
    uint32_t group = 0, fill0 = 0, fill1 = 0, line = 0;
    bool first = true;
    for (const ShapePath& path : shape.paths) {
        const int32_t startX = twips(path.start.x), startY = twips(path.start.y);
        const bool newStyles = stylesVersion > 0 && path.styleGroup != group && path.styleGroup < shape.groups.size();
        const bool move = first || startX != penX || startY != penY;
        uint32_t flags = 0;
        if (move) flags |= 0x01;
        if (newStyles || path.fill0 != fill0) flags |= 0x02;
        if (newStyles || path.fill1 != fill1) flags |= 0x04;
        if (stylesVersion > 0 && (newStyles || path.line != line)) flags |= 0x08;
        if (newStyles) flags |= 0x10;
        if (flags) {
            w.ubits(0, 1);
            w.ubits(flags, 5);
            if (flags & 0x01) {
                const unsigned n = signedBits({startX, startY});
                w.ubits(n, 5);
                w.sbits(startX, n);
                w.sbits(startY, n);
            }
            if (flags & 0x02) w.ubits(path.fill0, bits.fill);
            if (flags & 0x04) w.ubits(path.fill1, bits.fill);
            if (flags & 0x08) w.ubits(path.line, bits.line);
            if (newStyles) {
                group = path.styleGroup;
                writeStyles(w, shape.groups[group], stylesVersion);
                bits = bitsFor(shape.groups[group]);
                w.ubits(bits.fill, 4);
                w.ubits(bits.line, 4);
            }
        }
        first = false;
        penX = startX;
        penY = startY;
        fill0 = path.fill0;
        fill1 = path.fill1;
        line = path.line;
        for (const PathSegment& seg : path.segments) {
            const int32_t toX = twips(seg.to.x), toY = twips(seg.to.y);
            w.ubits(1, 1);
            if (!seg.curved) {
                const int32_t dx = toX - penX, dy = toY - penY;
                const unsigned n = std::max(2u, signedBits({dx, dy}));
                w.ubits(1, 1);
                w.ubits(n - 2, 4);
                if (dx != 0 && dy != 0) {
                    w.ubits(1, 1);
                    w.sbits(dx, n);
                    w.sbits(dy, n);
                } else {
                    w.ubits(0, 1);
                    w.ubits(dx == 0, 1);
                    w.sbits(dx == 0 ? dy : dx, n);
                }
            } else {
                const int32_t cx = twips(seg.control.x), cy = twips(seg.control.y);
                const int32_t cdx = cx - penX, cdy = cy - penY, adx = toX - cx, ady = toY - cy;
                const unsigned n = std::max(2u, signedBits({cdx, cdy, adx, ady}));
                w.ubits(0, 1);
                w.ubits(n - 2, 4);
                w.sbits(cdx, n);
                w.sbits(cdy, n);
                w.sbits(adx, n);
                w.sbits(ady, n);
            }
            penX = toX;
            penY = toY;
        }
    }
    w.ubits(0, 6);   // end of shape
    w.align();
}

} // namespace

Rect outlineBounds(const Shape& shape) {
    Rect bounds;
    for (const ShapePath& path : shape.paths) {
        double halfStroke = 0;
        if (path.line > 0 && path.styleGroup < shape.groups.size() &&
            path.line <= shape.groups[path.styleGroup].lines.size())
            halfStroke = shape.groups[path.styleGroup].lines[path.line - 1].width / 2;
        auto include = [&](Point p) {
            bounds.include(Point{p.x - halfStroke, p.y - halfStroke});
            bounds.include(Point{p.x + halfStroke, p.y + halfStroke});
        };
        include(path.start);
        for (const PathSegment& seg : path.segments) {
            if (seg.curved) include(seg.control);
            include(seg.to);
        }
    }
    return bounds;
}

void writeShapeWithStyle(Writer& w, const Shape& shape, int shapeVersion) {
    w.rect(shape.bounds.empty() ? outlineBounds(shape) : shape.bounds);
    const StyleGroup none;
    const StyleGroup& first = shape.groups.empty() ? none : shape.groups.front();
    writeStyles(w, first, shapeVersion);
    writeEdges(w, shape, shapeVersion, bitsFor(first));
}

void writeGlyph(Writer& w, const Shape& glyph) {
    Shape filled = glyph;
    for (ShapePath& path : filled.paths) {
        path.fill0 = 1;
        path.fill1 = 0;
        path.line = 0;
        path.styleGroup = 0;
    }
    writeEdges(w, filled, 0, StyleBits{1, 0});
}

void writeStaticText(Writer& w, const StaticText& text, int textVersion) {
    w.rect(text.bounds);
    w.matrix(text.matrix);
    uint32_t maxGlyph = 0;
    int32_t lowAdvance = 0, highAdvance = 0;
    for (const TextSpan& span : text.spans) {
        for (const TextSpan::Glyph& g : span.glyphs) {
            maxGlyph = std::max<uint32_t>(maxGlyph, g.index);
            lowAdvance = std::min(lowAdvance, g.advance);
            highAdvance = std::max(highAdvance, g.advance);
        }
    }
    const unsigned glyphBits = std::max(1u, unsignedBits({maxGlyph}));
    const unsigned advanceBits = signedBits({lowAdvance, highAdvance});
    w.u8(uint8_t(glyphBits));
    w.u8(uint8_t(advanceBits));
    const TextSpan* previous = nullptr;
    for (const TextSpan& span : text.spans) {
        // Font and height travel together; each is written only when it changes.
        const bool font = !previous || previous->fontId != span.fontId || previous->height != span.height;
        const bool color = !previous || !(previous->color == span.color);
        w.u8(uint8_t(0x80 | (font ? 0x08 : 0) | (color ? 0x04 : 0) | 0x02 | 0x01));
        if (font) w.u16(span.fontId);
        if (color) { if (textVersion >= 2) w.rgba(span.color); else w.rgb(span.color); }
        w.s16(int16_t(span.x));
        w.s16(int16_t(span.y));
        if (font) w.u16(span.height);
        // A record holds at most 255 glyphs; the rest follow in records that
        // change nothing, so they carry on from the last advance.
        for (size_t from = 0; from == 0 || from < span.glyphs.size(); from += 255) {
            if (from > 0) w.u8(0x80);
            const size_t count = std::min<size_t>(span.glyphs.size() - from, 255);
            w.u8(uint8_t(count));
            for (size_t i = from; i < from + count; ++i) {
                w.ubits(span.glyphs[i].index, glyphBits);
                w.sbits(span.glyphs[i].advance, advanceBits);
            }
            w.align();
        }
        previous = &span;
    }
    w.u8(0);   // end of text records
}

} // namespace tesmar::swf
