// The SWF writer, checked by reading what it writes back with the reader.
#include <gtest/gtest.h>
#include "ActionListing.h"
#include "player/swf/Movie.h"
#include "player/swf/PlaceReader.h"
#include "player/swf/Reader.h"
#include "player/swf/ShapeReader.h"
#include "player/swf/WriterActions.h"
#include "player/swf/WriterTags.h"

using namespace tesmar;
using namespace tesmar::swf;

namespace {

std::shared_ptr<Movie> readBack(const TagWriter& tags) {
    Bytes file = movieFile(tags.version(), Rect{0, 0, 11000, 8000}, 12, tags);
    ReadResult result = readMovie(file);
    EXPECT_TRUE(result.movie) << result.error;
    return result.movie;
}

Shape square(double size, uint32_t fill) {
    Shape shape;
    ShapePath path;
    path.fill1 = fill;
    path.start = {0, 0};
    path.segments = {{false, {}, {size, 0}}, {false, {}, {size, size}}, {true, {size / 2, size * 1.5}, {0, size}},
                     {false, {}, {0, 0}}};
    shape.paths.push_back(path);
    return shape;
}

} // namespace

TEST(WriterRecords, RectMatrixAndColorTransformReadBackExactly) {
    Writer w;
    w.u8(0x7F);   // leaves the bit fields unaligned to the byte boundary check below
    w.rect(Rect{-20, -1, 16000, 12000});
    w.matrix(Matrix{0.95, 0, 0, 0.95, -1519, 3092});
    w.matrix(Matrix{1, 0.5, -0.25, 1, 0, 0});
    w.matrix(Matrix{});
    ColorTransform orange;
    orange.gMult = 0;
    orange.bMult = 0;
    orange.gAdd = 153;
    w.colorTransform(orange, true);
    ColorTransform fade;
    fade.aMult = 64;
    w.colorTransform(fade, true);
    w.colorTransform(ColorTransform{}, true);
    const Bytes bytes = w.take();

    Reader r(bytes);
    EXPECT_EQ(r.u8(), 0x7F);
    const Rect rect = r.rect();
    EXPECT_EQ(rect.xMin, -20);
    EXPECT_EQ(rect.yMin, -1);
    EXPECT_EQ(rect.xMax, 16000);
    EXPECT_EQ(rect.yMax, 12000);
    const Matrix scaled = r.matrix();
    EXPECT_NEAR(scaled.a, 0.95, 1e-4);
    EXPECT_NEAR(scaled.d, 0.95, 1e-4);
    EXPECT_EQ(scaled.tx, -1519);
    EXPECT_EQ(scaled.ty, 3092);
    EXPECT_EQ(r.matrix(), (Matrix{1, 0.5, -0.25, 1, 0, 0}));
    EXPECT_EQ(r.matrix(), Matrix{});
    EXPECT_EQ(r.colorTransform(true), orange);
    EXPECT_EQ(r.colorTransform(true), fade);
    EXPECT_EQ(r.colorTransform(true), ColorTransform{});
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.failed());
    // The identity matrix and the cleared transform take one byte each.
    EXPECT_EQ(bytes.back(), 0);
}

TEST(WriterRecords, BitCountsCoverSignedAndUnsignedRanges) {
    EXPECT_EQ(signedBits({0}), 1u);
    EXPECT_EQ(signedBits({-1}), 1u);
    EXPECT_EQ(signedBits({1}), 2u);
    EXPECT_EQ(signedBits({-2}), 2u);
    EXPECT_EQ(signedBits({255, -256}), 9u);
    EXPECT_EQ(signedBits({256}), 10u);
    EXPECT_EQ(unsignedBits({0}), 0u);
    EXPECT_EQ(unsignedBits({1}), 1u);
    EXPECT_EQ(unsignedBits({16, 3}), 5u);
}

TEST(WriterShapes, EdgesStylesAndGradientsReadBack) {
    Shape shape = square(400, 1);
    FillStyle gradient;
    gradient.kind = FillStyle::Kind::RadialGradient;
    gradient.matrix = Matrix{0.5, 0, 0, 0.5, 200, 200};
    gradient.gradient.stops = {{0, {255, 255, 255, 255}}, {255, {255, 255, 0, 255}}};
    LineStyle line;
    line.width = 40;
    line.color = {1, 2, 3, 255};
    shape.groups.push_back({{gradient}, {line}});
    shape.paths[0].line = 1;
    // A second group replaces the styles midway (DefineShape2 and later).
    FillStyle solid;
    solid.color = {0, 0, 0x66, 255};
    shape.groups.push_back({{solid}, {}});
    ShapePath second = square(100, 0).paths[0];
    second.styleGroup = 1;
    second.fill0 = 1;
    second.start = {-300, -300};
    second.segments[0].to = {-200, -300};
    shape.paths.push_back(second);

    TagWriter tags(5);
    tags.defineShape(1, shape, 2);
    tags.showFrame();
    tags.end();
    auto movie = readBack(tags);
    ASSERT_TRUE(movie);
    const Shape* read = movie->get<Shape>(1);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->groups.size(), 2u);
    ASSERT_EQ(read->groups[0].fills.size(), 1u);
    EXPECT_EQ(read->groups[0].fills[0].kind, FillStyle::Kind::RadialGradient);
    EXPECT_NEAR(read->groups[0].fills[0].matrix.a, 0.5, 1e-4);
    EXPECT_EQ(read->groups[0].fills[0].matrix.tx, 200);
    ASSERT_EQ(read->groups[0].fills[0].gradient.stops.size(), 2u);
    EXPECT_EQ(read->groups[0].fills[0].gradient.stops[1].color, (Rgba{255, 255, 0, 255}));
    ASSERT_EQ(read->groups[0].lines.size(), 1u);
    EXPECT_EQ(read->groups[0].lines[0].width, 40);
    EXPECT_EQ(read->groups[0].lines[0].color, (Rgba{1, 2, 3, 255}));
    EXPECT_EQ(read->groups[1].fills[0].color, (Rgba{0, 0, 0x66, 255}));

    ASSERT_EQ(read->paths.size(), 2u);
    EXPECT_EQ(read->paths[0].fill1, 1u);
    EXPECT_EQ(read->paths[0].line, 1u);
    ASSERT_EQ(read->paths[0].segments.size(), 4u);
    EXPECT_TRUE(read->paths[0].segments[2].curved);
    EXPECT_EQ(read->paths[0].segments[2].control.x, 200);
    EXPECT_EQ(read->paths[0].segments[2].control.y, 600);
    EXPECT_EQ(read->paths[0].segments[2].to.y, 400);
    EXPECT_EQ(read->paths[1].styleGroup, 1u);
    EXPECT_EQ(read->paths[1].fill0, 1u);
    EXPECT_EQ(read->paths[1].start.x, -300);
    EXPECT_EQ(read->paths[1].segments[0].to.x, -200);
    // Bounds were computed: the curve's control point and half the stroke.
    EXPECT_EQ(read->bounds.yMax, 620);
    EXPECT_EQ(read->bounds.xMin, -300);
}

TEST(WriterShapes, FontGlyphsCodesAndStaticTextReadBack) {
    FontDef font;
    font.name = "Arial Black";
    font.bold = true;
    font.glyphs = {Shape{}, square(500, 1), square(300, 1)};
    font.codes = {' ', 'E', 'x'};
    StaticText text;
    text.bounds = Rect{-500, -700, 500, 0};
    text.spans.push_back({1, {255, 255, 255, 255}, 280, -400, 20, {{1, 300}, {2, 250}, {0, -5}}});
    text.spans.push_back({1, {255, 255, 0, 255}, 280, 0, 500, {{2, 0}}});

    TagWriter tags(5);
    tags.defineFont2(1, font);
    tags.defineText(2, text, 1);
    tags.showFrame();
    tags.end();
    auto movie = readBack(tags);
    ASSERT_TRUE(movie);
    const FontDef* read = movie->get<FontDef>(1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, "Arial Black");
    EXPECT_TRUE(read->bold);
    EXPECT_FALSE(read->italic);
    EXPECT_EQ(read->codes, (std::vector<uint16_t>{' ', 'E', 'x'}));
    ASSERT_EQ(read->glyphs.size(), 3u);
    EXPECT_TRUE(read->glyphs[0].paths.empty());
    EXPECT_EQ(read->glyphs[1].paths[0].fill0, 1u);
    EXPECT_EQ(read->glyphs[2].bounds.xMax, 300);

    const TextDef* t = movie->get<TextDef>(2);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->bounds.yMin, -700);
    ASSERT_EQ(t->runs.size(), 2u);
    EXPECT_EQ(t->runs[0].fontId, 1);
    EXPECT_EQ(t->runs[0].height, 280);
    ASSERT_EQ(t->runs[0].glyphs.size(), 3u);
    EXPECT_EQ(t->runs[0].glyphs[1].index, 2);
    EXPECT_EQ(t->runs[0].glyphs[1].x, -100);
    EXPECT_EQ(t->runs[0].glyphs[2].x, 150);
    EXPECT_EQ(t->runs[0].glyphs[2].y, 20);
    // The second run keeps the font and changes only the colour.
    EXPECT_EQ(t->runs[1].fontId, 1);
    EXPECT_EQ(t->runs[1].height, 280);
    EXPECT_EQ(t->runs[1].color, (Rgba{255, 255, 0, 255}));
    EXPECT_EQ(t->runs[1].glyphs[0].y, 500);
}

TEST(WriterShapes, LongTextRunsContinueInFurtherRecords) {
    StaticText text;
    TextSpan span{1, {0, 0, 0, 255}, 200, -1000, 0, {}};
    for (int i = 0; i < 300; ++i) span.glyphs.push_back({uint16_t(i % 2), 10});
    text.spans.push_back(span);
    TagWriter tags(5);
    FontDef font;
    font.glyphs = {Shape{}, Shape{}};
    font.codes = {'a', 'b'};
    tags.defineFont2(1, font);
    tags.defineText(2, text, 1);
    tags.showFrame();
    tags.end();
    auto movie = readBack(tags);
    ASSERT_TRUE(movie);
    const TextDef* read = movie->get<TextDef>(2);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->runs.size(), 2u);
    EXPECT_EQ(read->runs[0].glyphs.size(), 255u);
    ASSERT_EQ(read->runs[1].glyphs.size(), 45u);
    EXPECT_EQ(read->runs[1].glyphs[0].x, -1000 + 255 * 10);
    EXPECT_EQ(read->runs[1].glyphs[0].index, 1);
    EXPECT_EQ(read->runs[1].height, 200);
}

TEST(WriterTags, ButtonRecordsTransformsAndConditionActionsReadBack) {
    ButtonDef button;
    ColorTransform yellow;
    yellow.bMult = 0;
    button.records.push_back({button::Up | button::HitTest, 3, 1, Matrix{}, {}, 0, {}});
    button.records.push_back({button::Over, 3, 2, Matrix{0.95, 0, 0, 0.95, 0, 0}, yellow, 0, {}});
    button.actions.push_back({button::OverDownToOverUp, 0, {0x07, 0x00}});
    button.actions.push_back({button::OverDownToIdle | button::IdleToOverUp, 13, {0x06, 0x00}});

    TagWriter tags(5);
    tags.defineShape(3, square(100, 1), 1);
    tags.defineButton2(4, button);
    tags.showFrame();
    tags.end();
    auto movie = readBack(tags);
    ASSERT_TRUE(movie);
    const ButtonDef* read = movie->get<ButtonDef>(4);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->records.size(), 2u);
    EXPECT_EQ(read->records[0].states, button::Up | button::HitTest);
    EXPECT_EQ(read->records[1].colorTransform, yellow);
    EXPECT_NEAR(read->records[1].matrix.a, 0.95, 1e-4);
    ASSERT_EQ(read->actions.size(), 2u);
    EXPECT_EQ(read->actions[0].conditions, button::OverDownToOverUp);
    EXPECT_EQ(read->actions[0].actions, (Bytes{0x07, 0x00}));
    EXPECT_EQ(read->actions[1].conditions, button::OverDownToIdle | button::IdleToOverUp);
    EXPECT_EQ(read->actions[1].keyCode, 13);
    EXPECT_EQ(read->actions[1].actions, (Bytes{0x06, 0x00}));
}

TEST(WriterTags, PlacementsWithClipEventsSpritesAndRemovalsReadBack) {
    for (uint8_t version : {5, 6}) {
        SCOPED_TRACE(int(version));
        TagWriter sprite(version);
        sprite.showFrame();
        sprite.end();
        TagWriter tags(version);
        tags.defineSprite(7, sprite);
        PlaceObject place;
        place.depth = 21;
        place.characterId = 7;
        place.matrix = Matrix{1, 0, 0, 1, 7999, 5999};
        place.colorTransform = ColorTransform{};
        place.colorTransform->aMult = 0;
        place.name = "background";
        place.clipActions.push_back({clipEvent::EnterFrame, 0, {0x06, 0x00}});
        place.clipActions.push_back({clipEvent::MouseUp, 0, {0x04, 0x00}});
        // Key presses exist only from SWF 6; SWF 5 leaves that handler out.
        place.clipActions.push_back({clipEvent::KeyPress, 32, {0x07, 0x00}});
        tags.place(place);
        tags.showFrame();
        tags.remove(21);
        tags.showFrame();
        tags.end();

        auto movie = readBack(tags);
        ASSERT_TRUE(movie);
        EXPECT_EQ(movie->header.frameCount, 2);
        ASSERT_TRUE(movie->get<SpriteDef>(7));
        EXPECT_EQ(movie->get<SpriteDef>(7)->timeline.declaredFrameCount, 1);
        ASSERT_EQ(movie->timeline.frames.size(), 2u);
        ASSERT_EQ(movie->timeline.frames[0].display.size(), 1u);
        const auto& read = std::get<PlaceObject>(movie->timeline.frames[0].display[0]);
        EXPECT_EQ(read.depth, 21);
        EXPECT_EQ(read.characterId, 7);
        EXPECT_EQ(read.matrix, place.matrix);
        EXPECT_EQ(read.colorTransform, place.colorTransform);
        EXPECT_EQ(read.name, "background");
        EXPECT_FALSE(read.move);
        ASSERT_EQ(read.clipActions.size(), version >= 6 ? 3u : 2u);
        EXPECT_EQ(read.clipEventsAll,
                  clipEvent::EnterFrame | clipEvent::MouseUp | (version >= 6 ? uint32_t(clipEvent::KeyPress) : 0u));
        EXPECT_EQ(read.clipActions[0].events, clipEvent::EnterFrame);
        EXPECT_EQ(read.clipActions[0].actions, (Bytes{0x06, 0x00}));
        EXPECT_EQ(read.clipActions[1].events, clipEvent::MouseUp);
        EXPECT_EQ(read.clipActions[1].actions, (Bytes{0x04, 0x00}));
        if (version >= 6) {
            EXPECT_EQ(read.clipActions[2].keyCode, 32);
            EXPECT_EQ(read.clipActions[2].actions, (Bytes{0x07, 0x00}));
        }
        const auto& removal = std::get<RemoveObject>(movie->timeline.frames[1].display.at(0));
        EXPECT_EQ(removal.depth, 21);
    }
}

TEST(WriterTags, LongBodiesGetLongTagHeaders) {
    TagWriter tags(5);
    tags.doAction(Bytes(62, 0x07));
    tags.doAction(Bytes(63, 0x07));
    const Bytes& b = tags.bytes();
    EXPECT_EQ(b[0] | b[1] << 8, 12 << 6 | 62);
    EXPECT_EQ(b[64] | b[65] << 8, 12 << 6 | 0x3F);
    EXPECT_EQ(b[66], 63);
    EXPECT_EQ(b.size(), 2u + 62 + 6 + 63);
}

TEST(WriterActions, ConstantPoolPushesAndBranches) {
    ActionWriter a;
    a.constantPool({"_level2", "play"});
    auto skip = a.label();
    auto top = a.label();
    a.bind(top);
    a.push({int32_t(0), "_level2", "other", true, 2.5, ActionWriter::Null{}, ActionWriter::Undefined{}});
    a.op(action::Less2);
    a.ifTrue(skip);
    a.jump(top);
    a.bind(skip);
    a.getUrl("FSCommand:quit", "");
    a.getUrl2(0);
    a.gotoFrame(4);
    const Bytes code = a.finish();
    EXPECT_EQ(test::listActions(code),
              (std::vector<std::string>{"ConstantPool '_level2' 'play'",
                                        "Push 0 c:0 'other' true d:2.500000 null undefined", "Less2", "If 5",
                                        "Jump -41", "GetURL 'FSCommand:quit' ''", "GetURL2 0", "GotoFrame 4",
                                        "End"}));
}

TEST(WriterActions, BranchToAnUnboundLabelIsAnError) {
    ActionWriter a;
    a.jump(a.label());
    EXPECT_THROW(a.finish(), std::logic_error);
    EXPECT_THROW(a.op(action::Push), std::invalid_argument);
}
