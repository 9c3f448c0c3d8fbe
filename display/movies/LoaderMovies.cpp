#include "LoaderMovies.h"
#include <functional>
#include "LoaderArt.h"
#include "LoaderScripts.h"
#include "LoaderText.h"
#include "player/swf/PlaceReader.h"
#include "player/swf/WriterTags.h"

namespace tesmar::movies {

namespace {

using swf::PlaceObject;

constexpr uint8_t kSwfVersion = 5;
constexpr double kFrameRate = 15;
constexpr uint16_t kFrames = 30;
constexpr uint16_t kFadeStart = 25;   // the showcase places its cover here

const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kDarkBlue{0, 0, 0x66, 255};

// Character ids.
enum : uint16_t {
    kTitleFont = 1, kLoadingFont, kBar, kLettering, kEmblem, kHighlight, kLogoHitArea, kLogoButton,
    kExitText, kExitHitArea, kExitButton, kTitleText, kLoadingText, kWatcher, kCoverShape,
    kPanelShape, kBackgroundClip, kCoverClip,
};

// Stage positions in twips (a twentieth of a pixel).
constexpr Point kLogoOrigin{8000, 4480};        // (400, 224)
constexpr Point kExitOrigin{8000, 9091};        // (400, 454.55)
constexpr Point kTitleBaseline{8000, 5997};     // (400, 299.85)
constexpr Point kLoadingBaseline{8000, 7383};   // (400, 369.15)
constexpr Point kStageCentre{7999, 5999};       // (399.95, 299.95)

const std::string kExit = "Exit";
const std::string kLoading = "Loading......";

Matrix translate(Point p) { return Matrix{1, 0, 0, 1, p.x, p.y}; }
Matrix scaled(double s) { return Matrix{s, 0, 0, s, 0, 0}; }
Point minus(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }

ColorTransform alphaTimes(int32_t multiplier) {
    ColorTransform cx;
    cx.aMult = multiplier;
    return cx;
}

PlaceObject placeNew(uint16_t depth, uint16_t id, Point at) {
    PlaceObject p;
    p.depth = depth;
    p.characterId = id;
    p.matrix = translate(at);
    return p;
}

PlaceObject changeColor(uint16_t depth, const ColorTransform& cx) {
    PlaceObject p;
    p.depth = depth;
    p.move = true;
    p.colorTransform = cx;
    return p;
}

swf::ButtonRecord record(uint8_t states, uint16_t id, uint16_t depth, Matrix m = {}, ColorTransform cx = {}) {
    swf::ButtonRecord r;
    r.states = states;
    r.characterId = id;
    r.depth = depth;
    r.matrix = m;
    r.colorTransform = cx;
    return r;
}

swf::ButtonAction onRelease(swf::Bytes actions) {
    swf::ButtonAction a;
    a.conditions = swf::button::OverDownToOverUp;
    a.actions = std::move(actions);
    return a;
}

// The logo: its four parts at 100 % (up), 95 % (over) and 90 % (down).
swf::ButtonDef logoButton(const LoaderKind& kind) {
    using namespace swf::button;
    swf::ButtonDef button;
    const uint16_t parts[] = {kBar, kLettering, kEmblem, kHighlight};
    const std::pair<uint8_t, double> states[] = {{Up, 1.0}, {Over, 0.95}, {Down, 0.9}};
    uint16_t depth = 1;
    for (const auto& [state, scale] : states)
        for (uint16_t part : parts) button.records.push_back(record(state, part, depth++, scaled(scale)));
    button.records.push_back(record(HitTest, kLogoHitArea, depth));
    button.actions.push_back(onRelease(logoReleaseScript(kind)));
    return button;
}

// "Exit": white when up, yellow under the pointer, orange while pressed.
swf::ButtonDef exitButton() {
    using namespace swf::button;
    ColorTransform yellow;
    yellow.bMult = 0;
    ColorTransform orange;
    orange.gMult = 0;
    orange.gAdd = 0x99;
    orange.bMult = 0;
    swf::ButtonDef button;
    button.records = {record(Up, kExitText, 1), record(Over, kExitText, 2, {}, yellow),
                      record(Down, kExitText, 3, {}, orange), record(HitTest, kExitHitArea, 4)};
    button.actions.push_back(onRelease(exitReleaseScript()));
    return button;
}

// Defines the fonts, the logo, the buttons, the texts and the watcher clip.
bool defineTitleScreen(swf::TagWriter& tags, const GlyphOutlines& glyphs, const LoaderKind& kind,
                       const std::string& title, std::string& error) {
    SubsetFont titleFont, loadingFont;
    if (!makeSubsetFont(glyphs, "Arial Black", glyphSet({title, kExit}), titleFont, error) ||
        !makeSubsetFont(glyphs, "Arial", glyphSet({kLoading}), loadingFont, error))
        return false;
    Shape lettering;
    if (!logoLettering(glyphs, lettering, error)) return false;

    tags.defineFont2(kTitleFont, titleFont.def);
    tags.defineFont2(kLoadingFont, loadingFont.def);
    tags.defineShape(kBar, logoBar(), 1);
    tags.defineShape(kLettering, lettering, 1);
    tags.defineShape(kEmblem, logoEmblem(), 1);
    tags.defineShape(kHighlight, logoHighlight(), 1);
    tags.defineShape(kLogoHitArea, filledRectangle(centredRect(278.5, 90), kBlack), 1);
    tags.defineButton2(kLogoButton, logoButton(kind));

    const int32_t exitBaseline = baselineForVerticalCentre(titleFont, kExit, 280);
    tags.defineText(kExitText, centredLine(titleFont, kTitleFont, kExit, 280, kWhite, exitBaseline), 1);
    tags.defineShape(kExitHitArea, filledRectangle(centredRect(34.7, 23.7), kBlack), 1);
    tags.defineButton2(kExitButton, exitButton());

    tags.defineText(kTitleText, centredLine(titleFont, kTitleFont, title, 360, kWhite), 1);
    tags.defineText(kLoadingText, centredLine(loadingFont, kLoadingFont, kLoading, 360, kWhite), 1);

    swf::TagWriter empty(kSwfVersion);
    empty.showFrame();
    empty.end();
    tags.defineSprite(kWatcher, empty);
    return true;
}

PlaceObject watcherAt(uint16_t depth) {
    PlaceObject p = placeNew(depth, kWatcher, {0, 0});
    swf::ClipAction enterFrame;
    enterFrame.events = swf::clipEvent::EnterFrame;
    enterFrame.actions = watcherScript();
    p.clipActions.push_back(std::move(enterFrame));
    return p;
}

// Frames after the first: the hold, the cover's fade from 25 % to fully
// opaque over frames 26 to 29, and the reveal in frame 30.
void fadeAndReveal(swf::TagWriter& tags, uint16_t coverDepth, const std::vector<uint16_t>& removed,
                   const LoaderKind& kind, const std::function<void()>& frame25) {
    while (tags.frameCount() < kFadeStart - 1) tags.showFrame();
    frame25();
    tags.showFrame();
    for (int32_t multiplier : {64, 128, 192}) {
        tags.place(changeColor(coverDepth, alphaTimes(multiplier)));
        tags.showFrame();
    }
    tags.place(changeColor(coverDepth, ColorTransform{}));
    tags.showFrame();
    for (uint16_t depth : removed) tags.remove(depth);
    tags.doAction(revealScript(kind));
    tags.showFrame();
    tags.end();
}

bool buildShowcase(const GlyphOutlines& glyphs, swf::TagWriter& tags, std::string& error) {
    const LoaderKind kind{"showcasePage", "/showcase/showcase.swf", true, ""};
    tags.setBackgroundColor(kBlack);
    if (!defineTitleScreen(tags, glyphs, kind, "Product Showcase", error)) return false;
    tags.doAction(firstFrameScript(kind));
    tags.place(placeNew(1, kLogoButton, kLogoOrigin));
    tags.place(placeNew(13, kExitButton, kExitOrigin));
    tags.place(placeNew(15, kTitleText, kTitleBaseline));
    tags.place(placeNew(16, kLoadingText, kLoadingBaseline));
    tags.place(watcherAt(18));
    tags.showFrame();
    fadeAndReveal(tags, 17, {1, 13, 15, 16, 17, 18}, kind, [&] {
        // The black cover, one twip in from the stage's corner, fully transparent.
        tags.defineShape(kCoverShape, filledRectangle(Rect{0, 0, 16000, 12000}, kBlack), 1);
        PlaceObject cover = placeNew(17, kCoverShape, {1, 1});
        cover.colorTransform = alphaTimes(0);
        tags.place(cover);
    });
    return true;
}

bool buildCollection(const GlyphOutlines& glyphs, swf::TagWriter& tags, std::string& error) {
    const LoaderKind kind{"collectionPage", "/freeflashgames/collection/collection.swf", false, "_root"};
    tags.setBackgroundColor(kWhite);
    if (!defineTitleScreen(tags, glyphs, kind, "Online Games Collection", error)) return false;

    // The panel clip: the dark blue stage-sized rectangle under the title screen.
    tags.defineShape(kPanelShape, filledRectangle(centredRect(800, 600), kDarkBlue), 1);
    swf::TagWriter panel(kSwfVersion);
    panel.place(placeNew(1, kPanelShape, {0, 0}));
    panel.place(placeNew(2, kLogoButton, minus(kLogoOrigin, kStageCentre)));
    panel.place(placeNew(14, kExitButton, minus(kExitOrigin, kStageCentre)));
    panel.place(placeNew(16, kTitleText, minus(kTitleBaseline, kStageCentre)));
    panel.place(placeNew(17, kLoadingText, minus(kLoadingBaseline, kStageCentre)));
    panel.showFrame();
    panel.end();
    tags.defineSprite(kBackgroundClip, panel);

    tags.defineShape(kCoverShape, filledRectangle(centredRect(800, 600), kWhite), 1);
    swf::TagWriter cover(kSwfVersion);
    cover.place(placeNew(1, kCoverShape, {0, 0}));
    cover.showFrame();
    cover.end();
    tags.defineSprite(kCoverClip, cover);

    tags.doAction(firstFrameScript(kind));
    PlaceObject background = placeNew(1, kBackgroundClip, kStageCentre);
    background.name = "background";
    tags.place(background);
    PlaceObject coverClip = placeNew(19, kCoverClip, kStageCentre);
    coverClip.colorTransform = alphaTimes(0);
    tags.place(coverClip);
    tags.place(watcherAt(21));
    tags.showFrame();
    fadeAndReveal(tags, 19, {1, 19, 21}, kind, [] {});
    return true;
}

} // namespace

bool buildLoader(Loader which, const GlyphOutlines& font, swf::Bytes& movie, std::string& error) {
    swf::TagWriter tags(kSwfVersion);
    const bool built = which == Loader::Showcase ? buildShowcase(font, tags, error)
                                                 : buildCollection(font, tags, error);
    if (!built) return false;
    if (tags.frameCount() != kFrames) {
        error = "the loader's timeline has the wrong number of frames";
        return false;
    }
    movie = swf::movieFile(kSwfVersion, Rect{0, 0, 16000, 12000}, kFrameRate, tags);
    return true;
}

} // namespace tesmar::movies
