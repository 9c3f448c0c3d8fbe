#include <gtest/gtest.h>
#include "tests/native/stage/TestMovies.h"

using namespace tesmar;
using namespace tesmar::test;

namespace {

uint32_t pixel(const Image& image, int x, int y) { return image.pixels[size_t(y) * image.width + x]; }

FillStyle solid(uint8_t r, uint8_t g, uint8_t b) {
    FillStyle fill;
    fill.color = Rgba{r, g, b, 255};
    return fill;
}

LineStyle line(double widthTwips, uint8_t r, uint8_t g, uint8_t b) {
    LineStyle style;
    style.width = widthTwips;
    style.color = Rgba{r, g, b, 255};
    return style;
}

Point px(double x, double y) { return {x * 20, y * 20}; }

// A 550 x 400 stage whose root clip scripts draw on, at one pixel per 20 twips.
struct DrawingStage {
    stage::Stage stage;
    stage::MovieClip* root;
    DrawingStage() { root = &stage.setLevel(0, readTestMovie({showFrame()}), "a.swf"); stage.tick(); }
    stage::Drawing& drawing() { return root->drawing(); }
    Image render() {
        Image image(550, 400);
        stage.render(image);
        return image;
    }
};

constexpr uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;

} // namespace

TEST(DrawingApi, AFillClosesItselfBackToWhereItBegan) {
    DrawingStage s;
    s.drawing().moveTo(px(10, 10));
    s.drawing().beginFill(solid(255, 0, 0));
    s.drawing().lineTo(px(110, 10));
    s.drawing().lineTo(px(110, 110));
    s.drawing().lineTo(px(10, 110));   // no way back drawn: the fill closes itself
    Image open = s.render();
    EXPECT_EQ(pixel(open, 50, 50), kRed);
    s.drawing().endFill();
    Image ended = s.render();
    EXPECT_EQ(pixel(ended, 50, 50), kRed);
    EXPECT_EQ(pixel(ended, 5, 50), kWhite);
    EXPECT_EQ(s.drawing().bounds().xMax, 110 * 20);
}

TEST(DrawingApi, LinesDrawWithoutAFillAndMovesDrawNothing) {
    DrawingStage s;
    s.drawing().lineStyle(line(100, 0, 0, 255));   // 5 px wide
    s.drawing().moveTo(px(10, 50));
    s.drawing().lineTo(px(200, 50));
    s.drawing().moveTo(px(10, 100));
    s.drawing().lineStyle(std::nullopt);
    s.drawing().lineTo(px(200, 100));   // no line style: nothing
    Image image = s.render();
    EXPECT_EQ(pixel(image, 100, 50), kBlue);
    EXPECT_EQ(pixel(image, 100, 100), kWhite);
    EXPECT_EQ(pixel(image, 100, 75), kWhite);   // no fill between them
}

TEST(DrawingApi, ANewFillEndsThePreviousOneAndDrawsOverIt) {
    DrawingStage s;
    s.drawing().beginFill(solid(255, 0, 0));
    s.drawing().moveTo(px(0, 0));
    s.drawing().lineTo(px(100, 0));
    s.drawing().lineTo(px(100, 100));
    s.drawing().lineTo(px(0, 100));
    s.drawing().beginFill(solid(0, 255, 0));   // the red square closes here
    s.drawing().moveTo(px(50, 50));
    s.drawing().lineTo(px(150, 50));
    s.drawing().lineTo(px(150, 150));
    s.drawing().lineTo(px(50, 150));
    s.drawing().endFill();
    Image image = s.render();
    EXPECT_EQ(pixel(image, 25, 25), kRed);
    EXPECT_EQ(pixel(image, 75, 75), kGreen);    // the later fill is on top
    EXPECT_EQ(pixel(image, 125, 125), kGreen);
    EXPECT_EQ(pixel(image, 125, 25), kWhite);
}

TEST(DrawingApi, LinesOfAFillAreDrawnOnItAndCurvesBendTheEdge) {
    DrawingStage s;
    s.drawing().lineStyle(line(200, 0, 0, 255));
    s.drawing().beginFill(solid(255, 0, 0));
    s.drawing().moveTo(px(100, 100));
    s.drawing().lineTo(px(300, 100));
    s.drawing().curveTo(px(300, 300), px(100, 300));   // bulges to the lower right
    s.drawing().endFill();
    Image image = s.render();
    EXPECT_EQ(pixel(image, 200, 100), kBlue);   // the stroke lies over the fill's edge
    EXPECT_EQ(pixel(image, 150, 150), kRed);
    EXPECT_EQ(pixel(image, 240, 240), kRed);   // inside the curve, outside the straight diagonal
    EXPECT_EQ(pixel(image, 100, 200), kBlue);  // the closing edge has the stroke too
}

TEST(DrawingApi, ClearForgetsEverythingAndHitTestsFollowTheShape) {
    DrawingStage s;
    s.drawing().beginFill(solid(255, 0, 0));
    s.drawing().moveTo(px(0, 0));
    s.drawing().lineTo(px(100, 0));
    s.drawing().lineTo(px(0, 100));
    s.drawing().endFill();
    EXPECT_TRUE(s.root->hitTest(px(10, 10)));
    EXPECT_FALSE(s.root->hitTest(px(90, 90)));
    EXPECT_FALSE(s.root->bounds().empty());
    s.drawing().clear();
    EXPECT_TRUE(s.drawing().empty());
    EXPECT_FALSE(s.root->hitTest(px(10, 10)));
    EXPECT_EQ(pixel(s.render(), 10, 10), kWhite);
}

TEST(DrawingApi, TheDrawingIsBeneathTheChildren) {
    stage::Stage stage;
    stage::MovieClip& root =
        stage.setLevel(0, readTestMovie({rectangleShape(1, 400, 400, 0, 0, 255), place(1, 1), showFrame()}), "a.swf");
    stage.tick();
    root.drawing().beginFill(solid(255, 0, 0));
    root.drawing().moveTo(px(0, 0));
    root.drawing().lineTo(px(40, 0));
    root.drawing().lineTo(px(40, 40));
    root.drawing().lineTo(px(0, 40));
    Image image(550, 400);
    stage.render(image);
    EXPECT_EQ(pixel(image, 10, 10), kBlue);
    EXPECT_EQ(pixel(image, 30, 30), kRed);
}
