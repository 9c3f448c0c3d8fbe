#include <gtest/gtest.h>
#include "tests/native/stage/TestMovies.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

// A 550 x 400 stage with a button at (100, 100) pixels: up state a 40 x 40
// pixel red square (also the hit area), over/down a green one.
struct ButtonFixture : ::testing::Test {
    stage::Stage stage;
    stage::ButtonObject* button = nullptr;

    void SetUp() override {
        auto m = readTestMovie({rectangleShape(1, 800, 800, 255, 0, 0), rectangleShape(2, 800, 800, 0, 255, 0),
                                test::button(3, 1, 2), place(1, 3, 2000, 2000), showFrame()});
        ASSERT_TRUE(m);
        stage.setLevel(0, m, "test.swf");
        stage.setViewSize(550, 400);
        stage.tick();
        button = dynamic_cast<stage::ButtonObject*>(stage.level(0)->childAt(1));
        ASSERT_TRUE(button);
        stage.takeActions();
    }
};

} // namespace

TEST_F(ButtonFixture, ReleaseInsideRunsTheActions) {
    stage.mouseMove(110, 110);
    EXPECT_EQ(button->state(), stage::ButtonObject::State::Over);
    stage.mouseDown();
    EXPECT_EQ(button->state(), stage::ButtonObject::State::Down);
    stage.mouseUp();
    EXPECT_EQ(button->state(), stage::ButtonObject::State::Over);
    auto actions = stage.takeActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].source, stage::QueuedActions::Source::Button);
    EXPECT_EQ(actions[0].clip, stage.level(0)->serial());
    stage.mouseMove(300, 300);
    EXPECT_EQ(button->state(), stage::ButtonObject::State::Up);
}

TEST_F(ButtonFixture, ReleaseOutsideDoesNothing) {
    stage.mouseMove(110, 110);
    stage.mouseDown();
    stage.mouseMove(10, 10);
    stage.mouseUp();
    EXPECT_TRUE(stage.takeActions().empty());
    EXPECT_EQ(button->state(), stage::ButtonObject::State::Up);
}

TEST_F(ButtonFixture, HitTestFollowsTheViewScale) {
    stage.setViewSize(1100, 800);   // twice the stage
    EXPECT_EQ(stage.buttonAt(220, 220), button);
    EXPECT_EQ(stage.buttonAt(110, 110), nullptr);
}

TEST_F(ButtonFixture, ButtonRemovedUnderThePointerIsForgotten) {
    stage.mouseMove(110, 110);
    stage.mouseDown();
    stage.level(0)->removeChild(1);
    stage.mouseUp();   // must not touch the removed button
    EXPECT_TRUE(stage.takeActions().empty());
}

TEST(StageView, ShowAllKeepsTheAspectAndCentres) {
    stage::Stage stage;
    stage.setLevel(0, readTestMovie({showFrame()}), "a.swf");   // 550 x 400
    stage.setViewSize(1100, 1000);
    Matrix view = stage.viewMatrix();
    EXPECT_DOUBLE_EQ(view.a, 2.0 / 20);
    EXPECT_DOUBLE_EQ(view.apply({0, 0}).y, 100);   // (1000 - 800) / 2
    EXPECT_DOUBLE_EQ(view.apply({11000, 8000}).x, 1100);
    stage.setViewSize(275, 400);
    view = stage.viewMatrix();
    EXPECT_DOUBLE_EQ(view.a, 0.5 / 20);
    EXPECT_DOUBLE_EQ(view.apply({0, 0}).y, 100);
}

TEST(StageRedraw, OnlyChangesAskForARedraw) {
    stage::Stage stage;
    stage.setLevel(0, readTestMovie({rectangleShape(1, 2000, 2000, 255, 0, 0), place(1, 1), showFrame(),
                                     showFrame(), move(1, 5000, 0), showFrame()}, 3), "a.swf");
    stage.setViewSize(55, 40);
    stage.tick();
    EXPECT_TRUE(stage.needsRedraw());
    Image image(55, 40);
    stage.render(image);
    EXPECT_FALSE(stage.needsRedraw());
    EXPECT_EQ(image.pixels[0], 0xFFFF0000u);   // the red square at the origin
    EXPECT_EQ(image.pixels[54], 0xFFFFFFFFu);  // white background elsewhere
    stage.tick();                              // frame 2 changes nothing
    EXPECT_FALSE(stage.needsRedraw());
    stage.tick();                              // frame 3 moves the square
    EXPECT_TRUE(stage.needsRedraw());
}
