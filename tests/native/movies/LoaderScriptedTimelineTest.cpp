// The loaders played with their scripts, frame by frame, by a player whose
// host answers fetches only when the test says so: waiting without content,
// the hold and fade after the first content frame, the reveal, and the two
// buttons' requests to the host.
#include <gtest/gtest.h>
#include "LoaderFiles.h"
#include "display/movies/LoaderScripts.h"
#include "player/Player.h"
#include "player/swf/WriterActions.h"
#include "player/swf/WriterTags.h"

using namespace tesmar;

namespace {

// Records what the movie asks of the outside world, in order; fetches wait
// until the test answers them.
struct RecordingHost : Host {
    std::vector<std::pair<uint32_t, std::string>> fetches;
    std::vector<std::string> requests;   // "open <url>" and "fs <command>,<args>", in order
    double clock = 0;

    void fetch(uint32_t request, const std::string& url) override { fetches.emplace_back(request, url); }
    void openInBrowser(const std::string& url) override { requests.push_back("open " + url); }
    void fsCommand(const std::string& command, const std::string& args) override {
        requests.push_back("fs " + command + "," + args);
    }
    void trace(const std::string&) override {}
    double nowMs() override { return clock; }
    std::optional<Image> decodeImage(std::span<const uint8_t>) override { return std::nullopt; }
};

// A content movie of 100 empty frames.
std::vector<uint8_t> contentMovie() {
    swf::TagWriter tags(5);
    tags.setBackgroundColor({10, 20, 30, 255});
    for (int i = 0; i < 100; ++i) tags.showFrame();
    tags.end();
    return swf::movieFile(5, Rect{0, 0, 16000, 12000}, 15, tags);
}

struct Loader {
    RecordingHost host;
    Player player{host};

    explicit Loader(const std::string& file) {
        EXPECT_TRUE(player.load(test::builtFile(file), "")) << player.error();
        player.setViewSize(800, 600);
    }
    void tick() {
        host.clock += 1000.0 / 15;
        player.tick();
    }
    int frame() { return player.stage().level(0)->currentFrame(); }
    stage::MovieClip* content() { return player.stage().level(2); }
    void answerFetch(bool ok) {
        ASSERT_EQ(host.fetches.size(), 1u);
        const std::vector<uint8_t> bytes = ok ? contentMovie() : std::vector<uint8_t>{};
        player.fetchDone(host.fetches[0].first, ok, bytes);
    }
    // A press and a release at stage points, then the tick that runs the
    // button's actions.
    void click(Point press, Point release) {
        player.mouseMove(press.x, press.y);
        player.mouseDown();
        player.mouseMove(release.x, release.y);
        player.mouseUp();
        tick();
    }
};

const Point kExit{400, 454.55};
const Point kLogo{400, 224};

struct LoaderCase {
    const char* file;
    std::string contentAddress;
};
const LoaderCase kShowcase{"ShowcaseLoader.swf", movies::kHomepage + "/showcase/showcase.swf"};
const LoaderCase kCollection{"CollectionLoader.swf", movies::kHomepage + "/freeflashgames/collection/collection.swf"};

} // namespace

TEST(LoaderScripts, FetchTheContentIntoLevel2AndWaitOnFrame1ForeverWithoutIt) {
    for (const LoaderCase& loader : {kShowcase, kCollection}) {
        SCOPED_TRACE(loader.file);
        for (bool fetchFails : {false, true}) {
            Loader run(loader.file);
            run.tick();
            ASSERT_EQ(run.host.fetches.size(), 1u);
            EXPECT_EQ(run.host.fetches[0].second, loader.contentAddress);
            if (fetchFails) run.answerFetch(false);
            // Ten minutes of waiting: still the title screen on frame 1.
            for (int i = 0; i < 15 * 600; ++i) run.tick();
            EXPECT_EQ(run.frame(), 1);
            EXPECT_FALSE(run.content());
            EXPECT_EQ(run.host.fetches.size(), 1u) << "no retry";
            EXPECT_TRUE(run.host.requests.empty());
            // A screen saver waits for hours: the still title screen is not redrawn.
            Image screen;
            run.player.render(screen);
            run.tick();
            EXPECT_FALSE(run.player.needsRedraw());
            run.click(kExit, kExit);
            EXPECT_EQ(run.host.requests, (std::vector<std::string>{"fs quit,"}));
        }
    }
}

TEST(LoaderScripts, RevealComes29FramesAfterTheFirstContentFrameWithTheContentHiddenUntilThen) {
    for (const LoaderCase& loader : {kShowcase, kCollection}) {
        SCOPED_TRACE(loader.file);
        Loader run(loader.file);
        for (int i = 0; i < 7; ++i) run.tick();
        run.answerFetch(true);
        run.tick();   // the content enters level 2 and the watcher sees its first frame
        ASSERT_TRUE(run.content());
        EXPECT_FALSE(run.content()->visible());
        EXPECT_EQ(run.frame(), 1);
        for (int n = 1; n < 29; ++n) {
            run.tick();
            ASSERT_EQ(run.frame(), 1 + n);
            EXPECT_FALSE(run.content()->visible()) << "tick " << n;
        }
        run.tick();
        EXPECT_EQ(run.frame(), 30);
        EXPECT_TRUE(run.content()->visible());
        EXPECT_TRUE(run.player.stage().level(0)->children().empty());
        // The loader stays on frame 30 for good.
        for (int i = 0; i < 40; ++i) run.tick();
        EXPECT_EQ(run.frame(), 30);
        EXPECT_TRUE(run.content()->visible());
        EXPECT_TRUE(run.host.requests.empty());
    }
}

TEST(LoaderScripts, OnlyTheShowcaseRestartsTheContentAtTheReveal) {
    for (const LoaderCase& loader : {kShowcase, kCollection}) {
        SCOPED_TRACE(loader.file);
        Loader run(loader.file);
        run.tick();
        run.answerFetch(true);
        for (int i = 0; i < 29; ++i) run.tick();
        ASSERT_EQ(run.frame(), 29);
        const int reached = run.content()->currentFrame();
        EXPECT_GT(reached, 20);
        run.tick();
        ASSERT_EQ(run.frame(), 30);
        if (loader.file == kShowcase.file)
            EXPECT_EQ(run.content()->currentFrame(), 1);
        else
            EXPECT_EQ(run.content()->currentFrame(), reached + 1);
        EXPECT_TRUE(run.content()->playing());
    }
}

TEST(LoaderScripts, TheLogoOpensTheHomePageAndThenQuits) {
    for (const LoaderCase& loader : {kShowcase, kCollection}) {
        SCOPED_TRACE(loader.file);
        Loader run(loader.file);
        run.tick();
        run.click(kLogo, kLogo);
        EXPECT_EQ(run.host.requests, (std::vector<std::string>{"open " + movies::kHomepage, "fs quit,"}));
    }
}

TEST(LoaderScripts, ButtonsStillWorkWhileHoldingAndFading) {
    Loader run(kShowcase.file);
    run.tick();
    run.answerFetch(true);
    for (int i = 0; i < 27; ++i) run.tick();
    ASSERT_EQ(run.frame(), 27);
    run.click(kExit, kExit);
    EXPECT_EQ(run.host.requests, (std::vector<std::string>{"fs quit,"}));
}

TEST(LoaderScripts, AReleaseOutsideTheHitAreaDoesNothing) {
    for (const LoaderCase& loader : {kShowcase, kCollection}) {
        SCOPED_TRACE(loader.file);
        Loader run(loader.file);
        run.tick();
        run.click(kExit, {kExit.x, kExit.y + 40});
        run.click(kLogo, {kLogo.x, kLogo.y + 80});
        run.click({kExit.x + 30, kExit.y}, kExit);   // pressed outside, released on it
        run.click({20, 20}, {20, 20});
        EXPECT_TRUE(run.host.requests.empty());
        EXPECT_EQ(run.frame(), 1);
    }
}

// The custom-movie players start without a movie and are then given one,
// which arrives in level 0 through a fetch: its scripts run as an embedded
// movie's do.
TEST(LoaderScripts, APlayerStartingEmptyRunsTheScriptsOfTheMovieItIsGiven) {
    RecordingHost host;
    Player player(host);
    player.tick();
    player.loadMovie(0, "C:\\movies\\hello.swf");
    ASSERT_EQ(host.fetches.size(), 1u);
    EXPECT_EQ(host.fetches[0].second, "C:\\movies\\hello.swf");

    swf::TagWriter tags(6);
    swf::ActionWriter actions;
    actions.getUrl("FSCommand:hello", "there");
    tags.doAction(actions.finish());
    tags.showFrame();
    tags.end();
    player.fetchDone(host.fetches[0].first, true, swf::movieFile(6, Rect{0, 0, 4000, 3000}, 24, tags));
    player.tick();
    EXPECT_EQ(player.frameRate(), 24);
    EXPECT_EQ(host.requests, (std::vector<std::string>{"fs hello,there"}));
}
