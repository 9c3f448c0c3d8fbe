#include <gtest/gtest.h>
#include <cmath>
#include "host/NativeHost.h"
#include "tests/native/text/TextFixtures.h"

using namespace tesmar;
using namespace tesmar::test;

TEST(DeviceFonts, TheNativeHostAnswersWithLiberationFaces) {
    host::NativeHost host;
    auto a = host.deviceGlyph("Arial", false, false, U'A');
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->outline.paths.empty());
    EXPECT_NEAR(a->advance, 683, 2);            // Arial's A, 1366 of 2048
    EXPECT_NEAR(a->ascent, 0.905 * 1024, 1);   // Arial reaches 0.905 em up
    auto space = host.deviceGlyph("Arial", false, false, U' ');
    ASSERT_TRUE(space);
    EXPECT_TRUE(space->outline.paths.empty());   // nothing to draw, but room taken
    EXPECT_GT(space->advance, 0);
    // Typewriter faces give every character the same room.
    auto i = host.deviceGlyph("Courier New", false, false, U'i');
    auto w = host.deviceGlyph("_typewriter", true, false, U'W');
    ASSERT_TRUE(i && w);
    EXPECT_DOUBLE_EQ(i->advance, w->advance);
    // "_sans" is the corpus movies' Noto Sans, not Arial's metrics.
    auto noto = host.deviceGlyph("Noto Sans", false, false, U'A');
    auto sans = host.deviceGlyph("_sans", false, false, U'A');
    ASSERT_TRUE(noto && sans);
    EXPECT_EQ(noto->advance, sans->advance);
    EXPECT_NE(noto->advance, a->advance);
}

TEST(DeviceFonts, FieldsWithoutEmbeddedFontsDrawTheHostsGlyphs) {
    host::NativeHost host;
    TextStage s;
    s.def.useOutlines = false;
    s.def.initialText = "Hi there";
    stage::EditText field(s.context, *s.movie, 2, s.def, &host);
    // The field's font is named "Boxes": unknown to the host, so a serif face.
    EXPECT_EQ(field.layout().glyphs.size(), 7u);
    EXPECT_GT(field.textWidth(), 0);
    // Device metrics come in whole pixels.
    EXPECT_EQ(field.layout().lines[0].ascent, std::round(400 * 0.891 / 20) * 20);
}
