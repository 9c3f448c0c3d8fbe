// The two loader movies as built: header, display lists frame by frame,
// scripts, buttons, texts, fonts and artwork, read back with the reader.
#include <gtest/gtest.h>
#include <map>
#include <set>
#include "ActionListing.h"
#include "LoaderFiles.h"
#include "player/swf/Movie.h"
#include "player/swf/PlaceReader.h"
#include "player/swf/WriterShapes.h"

using namespace tesmar;
using namespace tesmar::swf;
using tesmar::test::listActions;

namespace {

using Listing = std::vector<std::string>;

const Rgba kWhite{255, 255, 255, 255};
const Rgba kBlack{0, 0, 0, 255};

struct Built {
    Bytes file;
    std::shared_ptr<Movie> movie;
};

Built load(const std::string& name) {
    Built b;
    b.file = test::builtFile(name);
    ReadResult result = readMovie(b.file);
    EXPECT_TRUE(result.movie) << result.error;
    b.movie = result.movie;
    return b;
}

const Frame& frame(const Movie& movie, int number) { return movie.timeline.frames.at(size_t(number - 1)); }

std::map<uint16_t, PlaceObject> placements(const Frame& f) {
    std::map<uint16_t, PlaceObject> byDepth;
    for (const DisplayCommand& c : f.display)
        if (auto p = std::get_if<PlaceObject>(&c)) byDepth[p->depth] = *p;
    return byDepth;
}

std::vector<uint16_t> removals(const Frame& f) {
    std::vector<uint16_t> depths;
    for (const DisplayCommand& c : f.display)
        if (auto r = std::get_if<RemoveObject>(&c)) depths.push_back(r->depth);
    return depths;
}

Point position(const PlaceObject& p) { return {p.matrix->tx, p.matrix->ty}; }

void expectAt(const PlaceObject& p, double x, double y) {
    ASSERT_TRUE(p.matrix);
    EXPECT_EQ(p.matrix->tx, x);
    EXPECT_EQ(p.matrix->ty, y);
    EXPECT_EQ(p.matrix->a, 1);
    EXPECT_EQ(p.matrix->d, 1);
}

void expectRect(const Rect& r, double xMin, double xMax, double yMin, double yMax) {
    EXPECT_EQ(r.xMin, xMin);
    EXPECT_EQ(r.xMax, xMax);
    EXPECT_EQ(r.yMin, yMin);
    EXPECT_EQ(r.yMax, yMax);
}

// A rectangle of one solid colour: its bounds and its colour.
void expectFilledRect(const Movie& movie, uint16_t id, Rgba color, double xMin, double xMax, double yMin,
                      double yMax) {
    const Shape* shape = movie.get<Shape>(id);
    ASSERT_TRUE(shape);
    expectRect(shape->bounds, xMin, xMax, yMin, yMax);
    expectRect(outlineBounds(*shape), xMin, xMax, yMin, yMax);
    ASSERT_EQ(shape->groups.size(), 1u);
    ASSERT_EQ(shape->groups[0].fills.size(), 1u);
    EXPECT_EQ(shape->groups[0].fills[0].kind, FillStyle::Kind::Solid);
    EXPECT_EQ(shape->groups[0].fills[0].color, color);
}

std::string textOf(const Movie& movie, const TextDef& text) {
    std::string s;
    for (const TextRun& run : text.runs) {
        const FontDef* font = movie.get<FontDef>(run.fontId);
        for (const TextGlyph& g : run.glyphs) s += font && g.index < font->codes.size() ? char(font->codes[g.index]) : '?';
    }
    return s;
}

// A static text line: its words, font, size, colour and where its ink lies.
void expectText(const Movie& movie, uint16_t id, const std::string& words, const std::string& fontName,
                double height, bool centredVertically) {
    SCOPED_TRACE(words);
    const TextDef* text = movie.get<TextDef>(id);
    ASSERT_TRUE(text);
    EXPECT_EQ(textOf(movie, *text), words);
    ASSERT_EQ(text->runs.size(), 1u);
    const TextRun& run = text->runs[0];
    EXPECT_EQ(run.height, height);
    EXPECT_EQ(run.color, kWhite);
    const FontDef* font = movie.get<FontDef>(run.fontId);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->name, fontName);
    EXPECT_EQ(text->matrix, Matrix{});
    // Centred on the origin horizontally (within a pixel of ink asymmetry).
    EXPECT_NEAR(text->bounds.xMin + text->bounds.xMax, 0, 20);
    if (centredVertically) {
        EXPECT_NEAR(text->bounds.yMin + text->bounds.yMax, 0, 20);
    } else {
        EXPECT_EQ(run.glyphs.front().y, 0);   // the baseline is the placement's y
        EXPECT_LT(text->bounds.yMin, -0.6 * height);
    }
}

void expectFont(const Movie& movie, const std::string& name, const std::string& glyphs) {
    for (const auto& [id, character] : movie.dictionary) {
        const auto* font = std::get_if<FontDef>(character.get());
        if (!font || font->name != name) continue;
        EXPECT_TRUE(font->bold);
        EXPECT_FALSE(font->italic);
        EXPECT_EQ(std::string(font->codes.begin(), font->codes.end()), glyphs);
        EXPECT_EQ(font->glyphs.size(), glyphs.size());
        return;
    }
    ADD_FAILURE() << "no font named " << name;
}

Listing logoListing(bool inClip) {
    Listing l = inClip ? Listing{"Push '_root'", "GetVariable", "Push 'homepage'", "GetMember"}
                       : Listing{"Push 'homepage'", "GetVariable"};
    for (const char* line : {"Push ''", "GetURL2 0", "GetURL 'FSCommand:quit' ''", "End"}) l.push_back(line);
    return l;
}

const ButtonAction& releaseOnly(const ButtonDef& button) {
    EXPECT_EQ(button.actions.size(), 1u);
    EXPECT_EQ(button.actions.at(0).conditions, button::OverDownToOverUp);
    EXPECT_EQ(button.actions.at(0).keyCode, 0);
    return button.actions.at(0);
}

void expectLogoButton(const Movie& movie, uint16_t id, bool inClip) {
    const ButtonDef* logo = movie.get<ButtonDef>(id);
    ASSERT_TRUE(logo);
    EXPECT_EQ(listActions(releaseOnly(*logo).actions), logoListing(inClip));
    // Four parts per state, the same four in the same order, scaled about the origin.
    std::map<uint8_t, std::vector<const ButtonRecord*>> byState;
    uint16_t hitId = 0;
    for (const ButtonRecord& r : logo->records) {
        if (r.states == button::HitTest) { hitId = r.characterId; continue; }
        byState[r.states].push_back(&r);
    }
    ASSERT_EQ(byState.size(), 3u);
    const std::pair<uint8_t, double> states[] = {{button::Up, 1.0}, {button::Over, 0.95}, {button::Down, 0.9}};
    for (const auto& [state, scale] : states) {
        ASSERT_EQ(byState[state].size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(byState[state][i]->characterId, byState[button::Up][i]->characterId);
            EXPECT_NEAR(byState[state][i]->matrix.a, scale, 1e-4);
            EXPECT_NEAR(byState[state][i]->matrix.d, scale, 1e-4);
            EXPECT_EQ(byState[state][i]->matrix.tx, 0);
            EXPECT_EQ(byState[state][i]->colorTransform, ColorTransform{});
        }
    }
    expectFilledRect(movie, hitId, kBlack, -2785, 2785, -900, 900);

    // The parts, bottom to top: bar, lettering, emblem, highlight.
    auto part = [&](size_t i) { return movie.get<Shape>(byState[button::Up][i]->characterId); };
    const Shape* bar = part(0);
    const Shape* lettering = part(1);
    const Shape* emblem = part(2);
    const Shape* highlight = part(3);
    ASSERT_TRUE(bar && lettering && emblem && highlight);
    expectRect(bar->bounds, -2015, 2785, -401, 401);
    const FillStyle& barFill = bar->groups[0].fills.at(0);
    EXPECT_EQ(barFill.kind, FillStyle::Kind::LinearGradient);
    ASSERT_EQ(barFill.gradient.stops.size(), 2u);
    EXPECT_EQ(barFill.gradient.stops[0].color, kBlack);
    EXPECT_EQ(barFill.gradient.stops[1].color, (Rgba{0, 0, 255, 255}));
    // Black at the bar's left end: the gradient's start maps there.
    EXPECT_NEAR(barFill.matrix.apply({-16384, 0}).x, -2015, 1);
    EXPECT_NEAR(barFill.matrix.apply({16384, 0}).x, 2785, 1);

    expectRect(lettering->bounds, -1114, 2361, -252, 248);
    const Rect letters = outlineBounds(*lettering);
    EXPECT_NEAR(letters.xMin, -1114, 2);
    EXPECT_NEAR(letters.xMax, 2361, 2);
    EXPECT_NEAR(letters.yMin, -252, 2);
    EXPECT_NEAR(letters.yMax, 248, 2);
    EXPECT_EQ(lettering->groups[0].fills.at(0).color, kWhite);

    expectRect(emblem->bounds, -2515, -1515, -900, 900);
    std::set<uint32_t> emblemColors;
    for (const FillStyle& f : emblem->groups[0].fills)
        for (const GradientStop& s : f.gradient.stops) emblemColors.insert(s.color.r << 16 | s.color.g << 8 | s.color.b);
    EXPECT_EQ(emblemColors, (std::set<uint32_t>{0x000000, 0x333333, 0x666666}));

    expectRect(highlight->bounds, -2785, -1245, -806, 514);
    const Rect star = outlineBounds(*highlight);
    EXPECT_NEAR(star.xMin, -2785, 2);
    EXPECT_NEAR(star.xMax, -1245, 2);
    EXPECT_NEAR(star.yMin, -806, 2);
    EXPECT_NEAR(star.yMax, 514, 2);
    const FillStyle& glow = highlight->groups[0].fills.at(0);
    EXPECT_EQ(glow.kind, FillStyle::Kind::RadialGradient);
    EXPECT_EQ(glow.gradient.stops.front().color, kWhite);
    EXPECT_EQ(glow.gradient.stops.back().color, (Rgba{255, 255, 0, 255}));
}

void expectExitButton(const Movie& movie, uint16_t id) {
    const ButtonDef* exit = movie.get<ButtonDef>(id);
    ASSERT_TRUE(exit);
    EXPECT_EQ(listActions(releaseOnly(*exit).actions), (Listing{"GetURL 'FSCommand:quit' ''", "End"}));
    std::map<uint8_t, const ButtonRecord*> byState;
    for (const ButtonRecord& r : exit->records) byState[r.states] = &r;
    ASSERT_EQ(byState.size(), 4u);
    const ButtonRecord* up = byState[button::Up];
    ASSERT_TRUE(up);
    expectText(movie, up->characterId, "Exit", "Arial Black", 280, true);
    const Rgba white = movie.get<TextDef>(up->characterId)->runs.at(0).color;
    const std::pair<uint8_t, Rgba> colors[] = {
        {button::Up, kWhite}, {button::Over, {255, 255, 0, 255}}, {button::Down, {255, 0x99, 0, 255}}};
    for (const auto& [state, color] : colors) {
        ASSERT_TRUE(byState[state]);
        EXPECT_EQ(byState[state]->characterId, up->characterId);
        EXPECT_EQ(byState[state]->colorTransform.apply(white), color) << int(state);
        EXPECT_EQ(byState[state]->matrix, Matrix{});
    }
    ASSERT_TRUE(byState[button::HitTest]);
    expectFilledRect(movie, byState[button::HitTest]->characterId, kBlack, -347, 347, -237, 237);
}

void expectWatcher(const Movie& movie, const PlaceObject& watcher) {
    expectAt(watcher, 0, 0);
    const SpriteDef* clip = movie.get<SpriteDef>(*watcher.characterId);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->timeline.declaredFrameCount, 1);
    ASSERT_EQ(clip->timeline.frames.size(), 1u);
    EXPECT_TRUE(clip->timeline.frames[0].display.empty());
    EXPECT_TRUE(clip->timeline.frames[0].actions.empty());
    ASSERT_EQ(watcher.clipActions.size(), 1u);
    EXPECT_EQ(watcher.clipActions[0].events, clipEvent::EnterFrame);
    EXPECT_EQ(listActions(watcher.clipActions[0].actions),
              (Listing{"ConstantPool '_level2' '_framesloaded' '_root' 'play' '_visible'", "Push 0 c:0",
                       "GetVariable", "Push c:1", "GetMember", "Less2", "Not", "If 32", "Push 0 c:2", "GetVariable",
                       "Push c:3", "CallMethod", "Pop", "Push c:0", "GetVariable", "Push c:4 false", "SetMember",
                       "End"}));
}

void expectHeader(const Built& b, Rgba background) {
    ASSERT_GE(b.file.size(), 24u);
    EXPECT_EQ(std::string(b.file.begin(), b.file.begin() + 3), "FWS");
    EXPECT_LT(b.file.size(), 6144u);
    const Header& h = b.movie->header;
    EXPECT_EQ(h.version, 5);
    EXPECT_EQ(h.fileLength, b.file.size());
    expectRect(h.frameSize, 0, 16000, 0, 12000);
    EXPECT_EQ(h.frameRate, 15);
    EXPECT_EQ(h.frameCount, 30);
    EXPECT_EQ(b.movie->timeline.frames.size(), 30u);
    EXPECT_TRUE(b.movie->warnings.empty());
    // The background colour is the first tag (after the 21-byte header).
    EXPECT_EQ(b.file[21] | b.file[22] << 8, 9 << 6 | 3);
    EXPECT_EQ(b.movie->background, background);
}

Listing firstFrameListing(const std::string& variable, const std::string& path) {
    const std::string home = "https://www.tesmargames.com";
    return {"ConstantPool 'homepage' '" + home + "' '" + variable + "' '" + home + path + "' '_level2'",
            "Push c:0 c:1", "SetVariable", "Push c:2 c:3", "SetVariable", "Push c:2", "GetVariable", "Push c:4",
            "GetURL2 0", "Stop", "End"};
}

// Frames after the first up to the fade: nothing happens in them.
void expectQuietFrames(const Movie& movie, int from, int to) {
    for (int n = from; n <= to; ++n) {
        EXPECT_TRUE(frame(movie, n).display.empty()) << "frame " << n;
        EXPECT_TRUE(frame(movie, n).actions.empty()) << "frame " << n;
    }
}

void expectFade(const Movie& movie, uint16_t depth) {
    const int32_t steps[] = {64, 128, 192};
    for (int i = 0; i < 3; ++i) {
        auto places = placements(frame(movie, 26 + i));
        ASSERT_EQ(places.size(), 1u);
        const PlaceObject& step = places.at(depth);
        EXPECT_TRUE(step.move);
        EXPECT_FALSE(step.characterId);
        EXPECT_FALSE(step.matrix);
        ColorTransform expected;
        expected.aMult = steps[i];
        EXPECT_EQ(step.colorTransform, expected) << "frame " << 26 + i;
    }
    auto last = placements(frame(movie, 29));
    ASSERT_EQ(last.size(), 1u);
    EXPECT_TRUE(last.at(depth).move);
    EXPECT_EQ(last.at(depth).colorTransform, ColorTransform{});
}

} // namespace

TEST(ShowcaseLoader, HeaderAndFirstFrame) {
    Built b = load("ShowcaseLoader.swf");
    ASSERT_TRUE(b.movie);
    const Movie& movie = *b.movie;
    expectHeader(b, kBlack);
    expectFont(movie, "Arial Black", " EPSacdehiorstuwx");
    expectFont(movie, "Arial", ".Ladgino");

    const Frame& first = frame(movie, 1);
    ASSERT_EQ(first.actions.size(), 1u);
    EXPECT_EQ(listActions(first.actions[0]), firstFrameListing("showcasePage", "/showcase/showcase.swf"));
    auto places = placements(first);
    ASSERT_EQ(places.size(), 5u);
    for (uint16_t depth : {1, 13, 15, 16, 18}) ASSERT_TRUE(places.count(depth)) << depth;
    expectAt(places[1], 8000, 4480);
    expectLogoButton(movie, *places[1].characterId, false);
    expectAt(places[13], 8000, 9091);
    expectExitButton(movie, *places[13].characterId);
    expectAt(places[15], 8000, 5997);
    expectText(movie, *places[15].characterId, "Product Showcase", "Arial Black", 360, false);
    expectAt(places[16], 8000, 7383);
    expectText(movie, *places[16].characterId, "Loading......", "Arial", 360, false);
    expectWatcher(movie, places[18]);
}

TEST(ShowcaseLoader, HoldFadeAndReveal) {
    Built b = load("ShowcaseLoader.swf");
    ASSERT_TRUE(b.movie);
    const Movie& movie = *b.movie;
    expectQuietFrames(movie, 2, 24);

    auto cover = placements(frame(movie, 25));
    ASSERT_EQ(cover.size(), 1u);
    const PlaceObject& black = cover.at(17);
    EXPECT_FALSE(black.move);
    expectAt(black, 1, 1);
    ColorTransform transparent;
    transparent.aMult = 0;
    EXPECT_EQ(black.colorTransform, transparent);
    expectFilledRect(movie, *black.characterId, kBlack, 0, 16000, 0, 12000);
    expectFade(movie, 17);

    const Frame& last = frame(movie, 30);
    EXPECT_EQ(removals(last), (std::vector<uint16_t>{1, 13, 15, 16, 17, 18}));
    EXPECT_TRUE(placements(last).empty());
    ASSERT_EQ(last.actions.size(), 1u);
    EXPECT_EQ(listActions(last.actions[0]),
              (Listing{"ConstantPool '_level2' '_visible' 'gotoAndPlay'", "Stop", "Push c:0", "GetVariable",
                       "Push c:1 true", "SetMember", "Push 1 1 c:0", "GetVariable", "Push c:2", "CallMethod", "Pop",
                       "End"}));
}

TEST(CollectionLoader, HeaderAndFirstFrame) {
    Built b = load("CollectionLoader.swf");
    ASSERT_TRUE(b.movie);
    const Movie& movie = *b.movie;
    expectHeader(b, kWhite);
    expectFont(movie, "Arial Black", " CEGOaceilmnostx");
    expectFont(movie, "Arial", ".Ladgino");

    const Frame& first = frame(movie, 1);
    ASSERT_EQ(first.actions.size(), 1u);
    EXPECT_EQ(listActions(first.actions[0]),
              firstFrameListing("collectionPage", "/freeflashgames/collection/collection.swf"));
    auto places = placements(first);
    ASSERT_EQ(places.size(), 3u);
    for (uint16_t depth : {1, 19, 21}) ASSERT_TRUE(places.count(depth)) << depth;

    // The panel clip at the stage centre, its contents at the showcase's stage positions.
    const PlaceObject& background = places[1];
    EXPECT_EQ(background.name, "background");
    expectAt(background, 7999, 5999);
    const SpriteDef* panel = movie.get<SpriteDef>(*background.characterId);
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->timeline.frames.size(), 1u);
    auto inside = placements(panel->timeline.frames[0]);
    ASSERT_EQ(inside.size(), 5u);
    for (uint16_t depth : {1, 2, 14, 16, 17}) ASSERT_TRUE(inside.count(depth)) << depth;
    auto onStage = [&](uint16_t depth) {
        Point p = position(inside[depth]);
        return Point{p.x + 7999, p.y + 5999};
    };
    expectAt(inside[1], 0, 0);
    expectFilledRect(movie, *inside[1].characterId, Rgba{0, 0, 0x66, 255}, -8000, 8000, -6000, 6000);
    EXPECT_EQ(onStage(2).x, 8000);
    EXPECT_EQ(onStage(2).y, 4480);
    expectLogoButton(movie, *inside[2].characterId, true);
    EXPECT_EQ(onStage(14).y, 9091);
    expectExitButton(movie, *inside[14].characterId);
    EXPECT_EQ(onStage(16).x, 8000);
    EXPECT_EQ(onStage(16).y, 5997);
    expectText(movie, *inside[16].characterId, "Online Games Collection", "Arial Black", 360, false);
    EXPECT_EQ(onStage(17).y, 7383);
    expectText(movie, *inside[17].characterId, "Loading......", "Arial", 360, false);

    // The white cover is there from the start, fully transparent.
    const PlaceObject& cover = places[19];
    expectAt(cover, 7999, 5999);
    ColorTransform transparent;
    transparent.aMult = 0;
    EXPECT_EQ(cover.colorTransform, transparent);
    const SpriteDef* coverClip = movie.get<SpriteDef>(*cover.characterId);
    ASSERT_TRUE(coverClip);
    auto coverInside = placements(coverClip->timeline.frames.at(0));
    ASSERT_EQ(coverInside.size(), 1u);
    expectAt(coverInside.at(1), 0, 0);
    expectFilledRect(movie, *coverInside.at(1).characterId, kWhite, -8000, 8000, -6000, 6000);

    expectWatcher(movie, places[21]);
}

TEST(CollectionLoader, HoldFadeAndReveal) {
    Built b = load("CollectionLoader.swf");
    ASSERT_TRUE(b.movie);
    const Movie& movie = *b.movie;
    expectQuietFrames(movie, 2, 25);
    expectFade(movie, 19);
    const Frame& last = frame(movie, 30);
    EXPECT_EQ(removals(last), (std::vector<uint16_t>{1, 19, 21}));
    ASSERT_EQ(last.actions.size(), 1u);
    EXPECT_EQ(listActions(last.actions[0]), (Listing{"ConstantPool '_level2' '_visible'", "Stop", "Push c:0",
                                                     "GetVariable", "Push c:1 true", "SetMember", "End"}));
}
