#include <gtest/gtest.h>
#include "player/swf/Movie.h"
#include "tests/native/swf/SwfBuilder.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

// Writes a style change record selecting fill1 (and optionally a line), moving to (x, y).
void styleChange(BitWriter& s, unsigned fillBits, unsigned lineBits, int x, int y, unsigned fill1, unsigned line) {
    s.ubits(0, 1);
    s.ubits(0x01 | 0x04 | (lineBits ? 0x08 : 0), 5);
    s.ubits(16, 5); s.sbits(x, 16); s.sbits(y, 16);
    s.ubits(fill1, fillBits);
    if (lineBits) s.ubits(line, lineBits);
}

void straight(BitWriter& s, int dx, int dy) {
    s.ubits(1, 1); s.ubits(1, 1); s.ubits(14, 4); s.ubits(1, 1); s.sbits(dx, 16); s.sbits(dy, 16);
}

void curve(BitWriter& s, int cx, int cy, int ax, int ay) {
    s.ubits(1, 1); s.ubits(0, 1); s.ubits(14, 4);
    s.sbits(cx, 16); s.sbits(cy, 16); s.sbits(ax, 16); s.sbits(ay, 16);
}

} // namespace

TEST(Shapes, Shape4WithGradientLineStyle2AndNewStylesMidway) {
    BitWriter s;
    s.u16(1);
    s.rect(-20, 220, -20, 220);
    s.rect(0, 200, 0, 200);
    s.u8(0x04);                                   // non-zero winding
    s.u8(1);                                      // one fill: focal gradient, reflect, linear RGB
    s.u8(0x13);
    s.matrix(0.5, 0.5, 100, 100);
    s.u8(0x40 | 0x10 | 2);
    s.u8(0); s.u8(255); s.u8(0); s.u8(0); s.u8(255);
    s.u8(255); s.u8(0); s.u8(0); s.u8(255); s.u8(128);
    s.u16(uint16_t(int16_t(-0.5 * 256)));         // focal point
    s.u8(1);                                      // one line: 40 twips, square caps, miter join
    s.u16(40);
    s.ubits(2, 2); s.ubits(2, 2); s.ubits(0, 1); s.ubits(1, 1); s.ubits(0, 1); s.ubits(0, 1);
    s.ubits(0, 5); s.ubits(1, 1); s.ubits(1, 2);
    s.u16(3 << 8);                                // miter limit 3
    s.u8(10); s.u8(20); s.u8(30); s.u8(40);
    s.ubits(1, 4); s.ubits(1, 4);
    styleChange(s, 1, 1, 0, 0, 1, 1);
    straight(s, 200, 0);
    curve(s, 0, 100, -100, 100);
    // New styles: one solid fill, no lines; path uses fill 1 of the new group.
    s.ubits(0, 1); s.ubits(0x10 | 0x04, 5);
    s.ubits(1, 1);                                // fill1 = 1 (bits of the old group)
    s.u8(1); s.u8(0x00); s.u8(1); s.u8(2); s.u8(3); s.u8(4);
    s.u8(0);
    s.ubits(1, 4); s.ubits(0, 4);
    straight(s, -100, -200);
    s.ubits(0, 6);
    s.flush();
    auto result = swf::readMovie(movie({tag(83, s.bytes)}, 8));
    ASSERT_TRUE(result.movie);
    const Shape* shape = result.movie->get<Shape>(1);
    ASSERT_TRUE(shape) << (result.movie->warnings.empty() ? "" : result.movie->warnings[0]);
    EXPECT_TRUE(shape->nonZeroWinding);
    EXPECT_DOUBLE_EQ(shape->edgeBounds.xMax, 200);
    ASSERT_EQ(shape->groups.size(), 2u);
    const FillStyle& fill = shape->groups[0].fills.at(0);
    EXPECT_EQ(fill.kind, FillStyle::Kind::FocalGradient);
    EXPECT_EQ(fill.gradient.spread, Gradient::Spread::Reflect);
    EXPECT_EQ(fill.gradient.interpolation, Gradient::Interpolation::LinearRgb);
    ASSERT_EQ(fill.gradient.stops.size(), 2u);
    EXPECT_EQ(fill.gradient.stops[1].color, (Rgba{0, 0, 255, 128}));
    EXPECT_DOUBLE_EQ(fill.gradient.focalPoint, -0.5);
    EXPECT_DOUBLE_EQ(fill.matrix.a, 0.5);
    const LineStyle& line = shape->groups[0].lines.at(0);
    EXPECT_DOUBLE_EQ(line.width, 40);
    EXPECT_EQ(line.startCap, LineStyle::Cap::Square);
    EXPECT_EQ(line.endCap, LineStyle::Cap::None);
    EXPECT_EQ(line.join, LineStyle::Join::Miter);
    EXPECT_DOUBLE_EQ(line.miterLimit, 3);
    EXPECT_TRUE(line.noHScale);
    EXPECT_TRUE(line.noClose);
    EXPECT_EQ(line.color, (Rgba{10, 20, 30, 40}));

    ASSERT_EQ(shape->paths.size(), 2u);
    const ShapePath& first = shape->paths[0];
    EXPECT_EQ(first.line, 1u);
    ASSERT_EQ(first.segments.size(), 2u);
    EXPECT_TRUE(first.segments[1].curved);
    EXPECT_DOUBLE_EQ(first.segments[1].control.x, 200);
    EXPECT_DOUBLE_EQ(first.segments[1].control.y, 100);
    EXPECT_DOUBLE_EQ(first.segments[1].to.x, 100);
    EXPECT_DOUBLE_EQ(first.segments[1].to.y, 200);
    const ShapePath& second = shape->paths[1];
    EXPECT_EQ(second.styleGroup, 1u);
    EXPECT_EQ(second.fill1, 1u);
    EXPECT_EQ(second.line, 0u);
    EXPECT_DOUBLE_EQ(second.start.x, 100);      // continues where the pen was
    EXPECT_DOUBLE_EQ(second.segments[0].to.y, 0);
    EXPECT_EQ(shape->groups[1].fills.at(0).color, (Rgba{1, 2, 3, 4}));
}

TEST(Shapes, MorphEdgesArePairedAndKindsMatched) {
    BitWriter s;
    s.u16(4);
    s.rect(0, 100, 0, 100);
    s.rect(0, 200, 0, 200);
    BitWriter styles;
    styles.u8(1);
    styles.u8(0x00);
    styles.u8(255); styles.u8(0); styles.u8(0); styles.u8(255);
    styles.u8(0); styles.u8(0); styles.u8(255); styles.u8(255);
    styles.u8(0);                                  // no lines
    BitWriter start;
    start.ubits(1, 4); start.ubits(0, 4);
    styleChange(start, 1, 0, 0, 0, 1, 0);
    straight(start, 100, 0);
    straight(start, -100, 100);
    start.ubits(0, 6);
    start.flush();
    BitWriter end;
    end.ubits(0, 4); end.ubits(0, 4);
    end.ubits(0, 1); end.ubits(0x01, 5); end.ubits(16, 5); end.sbits(10, 16); end.sbits(10, 16);
    curve(end, 100, 0, 0, 100);
    straight(end, -100, 0);
    end.ubits(0, 6);
    end.flush();
    s.u32(uint32_t(styles.bytes.size() + start.bytes.size()));
    s.raw(styles.bytes);
    s.raw(start.bytes);
    s.raw(end.bytes);
    auto result = swf::readMovie(movie({tag(46, s.bytes)}));
    ASSERT_TRUE(result.movie);
    const auto* morph = result.movie->get<swf::MorphShapeDef>(4);
    ASSERT_TRUE(morph);
    ASSERT_EQ(morph->start.paths.size(), 1u);
    ASSERT_EQ(morph->end.paths.size(), 1u);
    const ShapePath& a = morph->start.paths[0];
    const ShapePath& b = morph->end.paths[0];
    EXPECT_DOUBLE_EQ(b.start.x, 10);
    ASSERT_EQ(b.segments.size(), 2u);
    // The first start edge was straight, its end curved: both are curves now.
    EXPECT_TRUE(a.segments[0].curved);
    EXPECT_DOUBLE_EQ(a.segments[0].control.x, 50);
    EXPECT_TRUE(b.segments[0].curved);
    EXPECT_DOUBLE_EQ(b.segments[0].to.x, 110);
    EXPECT_DOUBLE_EQ(b.segments[0].to.y, 110);
    EXPECT_FALSE(a.segments[1].curved);
    EXPECT_EQ(morph->end.groups.at(0).fills.at(0).color, (Rgba{0, 0, 255, 255}));
}

TEST(Shapes, MorphWithTooFewEndEdgesIsRefused) {
    BitWriter s;
    s.u16(4);
    s.rect(0, 100, 0, 100);
    s.rect(0, 100, 0, 100);
    s.u32(0);
    s.u8(0);   // no fills
    s.u8(0);   // no lines
    s.ubits(0, 4); s.ubits(0, 4);
    straight(s, 100, 0);
    s.ubits(0, 6);
    s.flush();
    s.u8(0);   // end edges: none
    s.u8(0);
    auto result = swf::readMovie(movie({tag(46, s.bytes)}));
    ASSERT_TRUE(result.movie);
    EXPECT_FALSE(result.movie->character(4));
}

TEST(Places, PlaceObject3KeepsFiltersBlendModeAndClassName) {
    BitWriter p;
    p.u8(0x02 | 0x04);
    p.u8(0x01 | 0x02 | 0x08);      // filters, blend mode, class name
    p.u16(5);
    p.cstring("Thing");
    p.u16(1);
    p.matrix();
    p.u8(1);                       // one filter: blur (9 bytes)
    p.u8(1);
    p.raw({0, 0, 4, 0, 0, 0, 4, 0, 0x08});
    p.u8(3);                       // multiply
    auto result = swf::readMovie(movie({tag(70, p.bytes), showFrame()}, 8));
    ASSERT_TRUE(result.movie);
    const auto& place = std::get<swf::PlaceObject>(result.movie->timeline.frames.at(0).display.at(0));
    EXPECT_EQ(place.version, 3);
    EXPECT_EQ(place.className, "Thing");
    EXPECT_EQ(place.characterId, 1);
    EXPECT_EQ(place.filters.size(), 11u);
    EXPECT_EQ(place.blendMode, 3);
}

TEST(Places, PlaceObjectOneWithColourTransformAndBrokenClipActions) {
    BitWriter p;
    p.u16(3);
    p.u16(2);
    p.matrix();
    p.ubits(1, 1); p.ubits(0, 1); p.ubits(8, 4);   // add terms only
    p.sbits(10, 8); p.sbits(-10, 8); p.sbits(0, 8);
    p.flush();
    BitWriter q;
    q.u8(0x80 | 0x02);
    q.u16(4);
    q.u16(3);
    q.u16(0);
    q.u32(0x02);
    q.u32(0x02);
    q.u32(1000);                   // handler longer than the tag
    auto result = swf::readMovie(movie({tag(4, p.bytes), tag(26, q.bytes), showFrame()}));
    ASSERT_TRUE(result.movie);
    const auto& display = result.movie->timeline.frames.at(0).display;
    ASSERT_EQ(display.size(), 2u);
    const auto& one = std::get<swf::PlaceObject>(display[0]);
    EXPECT_EQ(one.version, 1);
    EXPECT_EQ(one.colorTransform->rAdd, 10);
    EXPECT_EQ(one.colorTransform->gAdd, -10);
    EXPECT_EQ(one.colorTransform->rMult, 256);
    const auto& two = std::get<swf::PlaceObject>(display[1]);
    EXPECT_EQ(two.characterId, 3);
    EXPECT_TRUE(two.clipActions.empty());
}

TEST(Fonts, DefineFont2WithLayoutAndWideCodes) {
    BitWriter f;
    f.u16(7);
    f.u8(0x80 | 0x04 | 0x01);      // layout, wide codes, bold
    f.u8(0);
    f.u8(5);
    f.raw({'A', 'r', 'i', 'a', 'l'});
    f.u16(2);                      // two glyphs
    f.u16(6); f.u16(8);            // glyph offsets, from the start of this table
    f.u16(10);                     // code table offset
    f.u8(0x10); f.u8(0); f.u8(0x10); f.u8(0);   // two empty glyphs: 1 fill bit, 0 line bits, end
    f.u16('a'); f.u16(0x263A);
    f.u16(900); f.u16(200); f.u16(0);
    f.u16(500); f.u16(600);
    f.rect(0, 0, 0, 0); f.rect(0, 0, 0, 0);
    f.u16(0);                      // no kerning
    auto result = swf::readMovie(movie({tag(48, f.bytes)}));
    ASSERT_TRUE(result.movie);
    const auto* font = result.movie->get<swf::FontDef>(7);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->name, "Arial");
    EXPECT_TRUE(font->bold);
    EXPECT_FALSE(font->italic);
    EXPECT_EQ(font->glyphs.size(), 2u);
    EXPECT_EQ(font->codes, (std::vector<uint16_t>{'a', 0x263A}));
    EXPECT_TRUE(font->hasLayout);
    EXPECT_DOUBLE_EQ(font->ascent, 900);
    EXPECT_EQ(font->advances, (std::vector<double>{500, 600}));
}
