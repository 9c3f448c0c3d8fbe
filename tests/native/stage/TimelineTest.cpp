#include <gtest/gtest.h>
#include "tests/native/stage/TestMovies.h"
#include "player/swf/PlaceReader.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

struct TimelineFixture : ::testing::Test {
    stage::Stage stage;
    stage::MovieClip* root = nullptr;

    void load(const std::vector<std::vector<uint8_t>>& tags, uint16_t frames) {
        auto m = readTestMovie(tags, frames);
        ASSERT_TRUE(m);
        root = &stage.setLevel(0, m, "test.swf");
        stage.tick();   // shows frame 1
        // The root's load event comes after everything its first frame queued;
        // the tests below look at the rest.
        auto& queued = root->context().actions;
        ASSERT_FALSE(queued.empty());
        EXPECT_EQ(queued.back().clip, root->serial());
        EXPECT_EQ(queued.back().clipEvent, swf::clipEvent::Load);
        queued.pop_back();
    }
};

} // namespace

TEST_F(TimelineFixture, PlacesMovesAndRemovesFrameByFrame) {
    load({rectangleShape(1, 100, 100, 255, 0, 0), place(1, 1, 20, 0), showFrame(),
          move(1, 200, 0), showFrame(),
          remove(1), showFrame()}, 3);
    ASSERT_EQ(root->currentFrame(), 1);
    stage::DisplayObject* shape = root->childAt(1);
    ASSERT_TRUE(shape);
    EXPECT_DOUBLE_EQ(shape->matrix().tx, 20);
    stage.tick();
    EXPECT_EQ(root->currentFrame(), 2);
    EXPECT_EQ(root->childAt(1), shape);
    EXPECT_DOUBLE_EQ(shape->matrix().tx, 200);
    stage.tick();
    EXPECT_FALSE(root->childAt(1));
    stage.tick();   // loops back to frame 1
    EXPECT_EQ(root->currentFrame(), 1);
    ASSERT_TRUE(root->childAt(1));
    EXPECT_DOUBLE_EQ(root->childAt(1)->matrix().tx, 20);
}

TEST_F(TimelineFixture, GoingBackKeepsObjectsWhoseCharacterMatches) {
    load({rectangleShape(1, 100, 100, 255, 0, 0), rectangleShape(2, 50, 50, 0, 255, 0),
          place(1, 1, 20, 0), place(2, 1), showFrame(),
          move(1, 300, 0), remove(2), place(2, 2), showFrame()}, 2);
    stage::DisplayObject* first = root->childAt(1);
    root->gotoFrame(2, false);
    EXPECT_EQ(root->childAt(1), first);
    EXPECT_EQ(root->childAt(2)->characterId(), 2);
    root->gotoFrame(1, false);
    EXPECT_EQ(root->childAt(1), first);             // same character, same depth: kept
    EXPECT_DOUBLE_EQ(first->matrix().tx, 20);       // with the placement of frame 1
    EXPECT_EQ(root->childAt(2)->characterId(), 1);  // character differs: replaced
    EXPECT_FALSE(root->playing());
}

TEST_F(TimelineFixture, ForwardGotoAppliesTheFramesInBetween) {
    load({rectangleShape(1, 100, 100, 255, 0, 0), showFrame(),
          place(3, 1, 10, 10), showFrame(),
          move(3, 70, 10), showFrame(),
          showFrame()}, 4);
    root->gotoFrame(4, true);
    ASSERT_TRUE(root->childAt(3));
    EXPECT_DOUBLE_EQ(root->childAt(3)->matrix().tx, 70);
    EXPECT_TRUE(root->playing());
    EXPECT_FALSE(root->gotoLabel("nowhere", false));
}

TEST_F(TimelineFixture, ScriptCreatedObjectsSurviveGotos) {
    load({rectangleShape(1, 100, 100, 255, 0, 0), showFrame(), showFrame()}, 2);
    auto made = stage::createObject(root->context(), root->loadedMovie(), 1);
    ASSERT_TRUE(made);
    made->setPlacedByTimeline(false);
    stage::DisplayObject* raw = root->addChild(stage::kFirstScriptDepth + 100, std::move(made));
    auto atTimelineDepth = stage::createObject(root->context(), root->loadedMovie(), 1);
    atTimelineDepth->setPlacedByTimeline(false);
    root->addChild(100, std::move(atTimelineDepth));
    root->gotoFrame(2, false);
    root->gotoFrame(1, false);
    EXPECT_EQ(root->childAt(stage::kFirstScriptDepth + 100), raw);
    // Going back clears the timeline's depths, whoever filled them.
    EXPECT_EQ(root->childAt(100), nullptr);
}

TEST_F(TimelineFixture, ClipsRunTheirOwnTimelineFromTheNextTick) {
    load({rectangleShape(1, 100, 100, 255, 0, 0),
          sprite(2, {place(1, 1), showFrame(), remove(1), showFrame()}, 2),
          place(1, 2, 0, 0, 0, "clip"), showFrame()}, 1);
    auto* clip = dynamic_cast<stage::MovieClip*>(root->childNamed("clip"));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->currentFrame(), 1);
    EXPECT_TRUE(clip->childAt(1));
    stage.tick();
    EXPECT_EQ(clip->currentFrame(), 2);
    EXPECT_FALSE(clip->childAt(1));
    EXPECT_EQ(root->currentFrame(), 1);   // a one-frame main timeline stays
}

TEST_F(TimelineFixture, FrameActionsAreQueuedWhenTheFrameIsShown) {
    load({doAction({0x07, 0x00}), showFrame(), showFrame()}, 2);
    auto actions = stage.takeActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].clip, root->serial());
    stage.tick();
    EXPECT_TRUE(stage.takeActions().empty());
}

TEST_F(TimelineFixture, ClipThatPlacesItselfStopsAtTheNestingLimit) {
    load({sprite(2, {place(1, 2), showFrame()}, 1), place(1, 2), showFrame()}, 1);
    int depth = 0;
    for (auto* clip = dynamic_cast<stage::MovieClip*>(root->childAt(1)); clip;
         clip = dynamic_cast<stage::MovieClip*>(clip->childAt(1)))
        ++depth;
    EXPECT_GT(depth, 1);
    EXPECT_LE(depth, stage::kMaxNesting);
}

TEST_F(TimelineFixture, PlacingOnATakenDepthIsIgnored) {
    load({rectangleShape(1, 100, 100, 255, 0, 0), rectangleShape(2, 10, 10, 0, 0, 255),
          place(1, 1), place(1, 2), showFrame()}, 1);
    ASSERT_TRUE(root->childAt(1));
    EXPECT_EQ(root->childAt(1)->characterId(), 1);
}

TEST_F(TimelineFixture, ClipEventsAreQueuedOnLoadAndEveryFrame) {
    BitWriter p;
    p.u8(0x80 | 0x02);          // clip actions, character
    p.u16(1);
    p.u16(2);
    p.u16(0);                   // reserved
    p.u32(0x03);                // all events: load, enter frame
    p.u32(0x02);                // enter frame: play
    p.u32(2);
    p.raw({0x06, 0x00});
    p.u32(0x01);                // load: stop
    p.u32(2);
    p.raw({0x07, 0x00});
    p.u32(0);
    load({sprite(2, {showFrame()}, 1), tag(26, p.bytes), showFrame()}, 1);
    auto first = stage.takeActions();
    // The handler, then the entry that lets scripts see the load (onLoad, classes).
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].clipEvent, 0x01u);
    EXPECT_EQ(*first[0].actions, (swf::Bytes{0x07, 0x00}));
    EXPECT_EQ(first[1].clipEvent, 0x01u);
    EXPECT_EQ(first[1].actions, nullptr);
    for (int i = 0; i < 2; ++i) {
        stage.tick();
        auto each = stage.takeActions();
        ASSERT_EQ(each.size(), 1u);
        EXPECT_EQ(each[0].clipEvent, 0x02u);
        EXPECT_EQ(each[0].clip, root->childAt(1)->serial());
    }
    const uint64_t gone = root->childAt(1)->serial();
    root->removeChild(1);
    EXPECT_EQ(root->context().find(gone), nullptr);
}

TEST_F(TimelineFixture, InitActionsRunOnceBeforeFrameActions) {
    BitWriter init;
    init.u16(2);
    init.raw({0x06, 0x00});
    load({sprite(2, {showFrame()}, 1), tag(59, init.bytes), doAction({0x07, 0x00}), showFrame(), showFrame()}, 2);
    auto first = stage.takeActions();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].source, stage::QueuedActions::Source::InitAction);
    EXPECT_EQ(first[1].source, stage::QueuedActions::Source::Frame);
    stage.tick();   // frame 2
    stage.tick();   // back to frame 1: its frame actions again, init actions not
    auto again = stage.takeActions();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].source, stage::QueuedActions::Source::Frame);
}
