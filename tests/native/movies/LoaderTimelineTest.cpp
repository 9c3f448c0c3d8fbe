// The loaders played by the stage, scripts aside: what each tick shows and
// which action blocks it hands to the script machine, and what the two
// buttons hand over when pressed and released.
#include <gtest/gtest.h>
#include "ActionListing.h"
#include "LoaderFiles.h"
#include "host/NativeHost.h"
#include "player/Player.h"
#include "player/swf/PlaceReader.h"

using namespace tesmar;
using stage::QueuedActions;
using tesmar::test::listActions;

namespace {

using Listing = std::vector<std::string>;

const Listing kExitScript{"GetURL 'FSCommand:quit' ''", "End"};

// A loader in a player whose script runner only records what it is given.
struct LoaderRun {
    host::NativeHost host;
    Player player{host};
    std::vector<QueuedActions> queued;

    explicit LoaderRun(const std::string& file) {
        const auto bytes = test::builtFile(file);
        EXPECT_TRUE(player.load(bytes, file)) << player.error();
        player.setViewSize(800, 600);
        player.setActionRunner([this](const QueuedActions& q) { queued.push_back(q); });
    }
    stage::MovieClip& root() { return *player.stage().level(0); }

    std::vector<Listing> tick() {
        queued.clear();
        player.tick();
        return listings(queued);
    }
    // Press at one point, release at another: the button blocks handed over.
    std::vector<Listing> click(Point press, Point release) {
        queued.clear();
        player.mouseMove(press.x, press.y);
        player.mouseDown();
        player.mouseMove(release.x, release.y);
        player.mouseUp();
        std::vector<QueuedActions> buttons;
        for (const QueuedActions& q : queued)
            if (q.source == QueuedActions::Source::Button) buttons.push_back(q);
        return listings(buttons);
    }
    static std::vector<Listing> listings(const std::vector<QueuedActions>& blocks) {
        std::vector<Listing> out;
        for (const QueuedActions& q : blocks) out.push_back(q.actions ? listActions(*q.actions) : Listing{});
        return out;
    }
};

std::vector<int> depths(const stage::MovieClip& clip) {
    std::vector<int> out;
    for (const auto& [depth, object] : clip.children()) out.push_back(depth);
    return out;
}

bool startsWith(const std::vector<Listing>& blocks, const std::string& first) {
    for (const Listing& l : blocks)
        if (!l.empty() && l[0].rfind(first, 0) == 0) return true;
    return false;
}

} // namespace

TEST(LoaderTimeline, ShowcaseFramesFollowTheDisplayListTable) {
    LoaderRun run("ShowcaseLoader.swf");
    auto first = run.tick();
    EXPECT_EQ(run.root().currentFrame(), 1);
    EXPECT_EQ(depths(run.root()), (std::vector<int>{1, 13, 15, 16, 18}));
    EXPECT_TRUE(startsWith(first, "ConstantPool 'homepage'"));
    // With no script to stop it, the timeline runs on: the fade and the reveal.
    const int32_t alphas[] = {0, 64, 128, 192, 256};
    for (int frame = 2; frame <= 30; ++frame) {
        auto blocks = run.tick();
        ASSERT_EQ(run.root().currentFrame(), frame);
        if (frame < 30) {
            EXPECT_TRUE(startsWith(blocks, "ConstantPool '_level2' '_framesloaded'")) << frame;
        }
        if (frame < 25) {
            EXPECT_EQ(depths(run.root()), (std::vector<int>{1, 13, 15, 16, 18})) << frame;
        } else if (frame < 30) {
            EXPECT_EQ(depths(run.root()), (std::vector<int>{1, 13, 15, 16, 17, 18})) << frame;
            const ColorTransform cover = run.root().childAt(17)->colorTransform();
            EXPECT_EQ(cover.aMult, alphas[frame - 25]) << frame;
            EXPECT_EQ(cover.rMult, 256);
        } else {
            EXPECT_TRUE(depths(run.root()).empty());
            EXPECT_TRUE(startsWith(blocks, "ConstantPool '_level2' '_visible' 'gotoAndPlay'"));
        }
    }
}

TEST(LoaderTimeline, CollectionFramesFollowTheDisplayListTable) {
    LoaderRun run("CollectionLoader.swf");
    run.tick();
    EXPECT_EQ(depths(run.root()), (std::vector<int>{1, 19, 21}));
    auto* panel = dynamic_cast<stage::MovieClip*>(run.root().childNamed("background"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(depths(*panel), (std::vector<int>{1, 2, 14, 16, 17}));
    const int32_t alphas[] = {0, 64, 128, 192, 256};
    for (int frame = 2; frame <= 30; ++frame) {
        auto blocks = run.tick();
        if (frame < 30) {
            EXPECT_EQ(depths(run.root()), (std::vector<int>{1, 19, 21})) << frame;
            EXPECT_EQ(run.root().childAt(19)->colorTransform().aMult, alphas[std::max(0, frame - 25)]) << frame;
        } else {
            EXPECT_TRUE(depths(run.root()).empty());
            EXPECT_TRUE(startsWith(blocks, "ConstantPool '_level2' '_visible'"));
        }
    }
}

TEST(LoaderTimeline, ButtonsActOnReleaseInsideTheirHitAreasOnly) {
    for (const char* file : {"ShowcaseLoader.swf", "CollectionLoader.swf"}) {
        SCOPED_TRACE(file);
        LoaderRun run(file);
        run.tick();
        run.player.stage().takeActions();
        // "Exit": its hit area is 34.7 x 23.7 pixels around (400, 454.55).
        EXPECT_EQ(run.click({400, 454}, {400, 454}), (std::vector<Listing>{kExitScript}));
        EXPECT_EQ(run.click({416.5, 465}, {416.5, 465}), (std::vector<Listing>{kExitScript}));
        EXPECT_TRUE(run.click({418.5, 454}, {418.5, 454}).empty());
        EXPECT_TRUE(run.click({400, 454}, {400, 490}).empty());
        // The logo: 278.5 x 90 pixels around (400, 224).
        auto logo = run.click({530, 180}, {530, 180});
        ASSERT_EQ(logo.size(), 1u);
        EXPECT_EQ(logo[0].back(), "End");
        EXPECT_EQ(logo[0][logo[0].size() - 2], "GetURL 'FSCommand:quit' ''");
        EXPECT_TRUE(run.click({400, 224}, {400, 300}).empty());
        EXPECT_TRUE(run.click({400, 272}, {400, 272}).empty());
    }
}
