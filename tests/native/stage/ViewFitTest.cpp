// The stage's fit into the host's view: scale modes, alignment, and the
// way scripts spell them.
#include <gtest/gtest.h>
#include "player/stage/ViewFit.h"

using namespace tesmar;
using namespace tesmar::stage;

namespace {

const Rect kStage{0, 0, 550 * 20, 400 * 20};

Point corner(const ViewFit& fit, double x, double y, int viewW = 1100, int viewH = 1000) {
    return fit.matrix(kStage, viewW, viewH).apply({x * 20, y * 20});
}

} // namespace

TEST(ViewFit, ShowAllKeepsTheAspectAndCentres) {
    ViewFit fit;
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).x, 0);
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).y, 100);   // 800 tall in a 1000 view
    EXPECT_DOUBLE_EQ(corner(fit, 550, 400).x, 1100);
    EXPECT_DOUBLE_EQ(corner(fit, 550, 400).y, 900);
}

TEST(ViewFit, ExactFitStretchesAndNoBorderFillsTheView) {
    ViewFit fit;
    fit.scale = ViewFit::Scale::ExactFit;
    EXPECT_DOUBLE_EQ(corner(fit, 550, 400).x, 1100);
    EXPECT_DOUBLE_EQ(corner(fit, 550, 400).y, 1000);
    fit.scale = ViewFit::Scale::NoBorder;
    // Scale 2.5 so that the height fills; the width overflows on both sides.
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).x, (1100 - 1375) / 2.0);
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).y, 0);
}

TEST(ViewFit, NoScaleKeepsPixelsAndFollowsTheAlignment) {
    ViewFit fit;
    fit.scale = ViewFit::Scale::NoScale;
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).x, 275);
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).y, 300);
    fit.align = ViewFit::Left | ViewFit::Bottom;
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).x, 0);
    EXPECT_DOUBLE_EQ(corner(fit, 0, 0).y, 600);
    EXPECT_DOUBLE_EQ(corner(fit, 550, 400).y, 1000);
}

TEST(ViewFit, AlignmentIsReadFromAnyLettersAndWrittenInOneOrder) {
    EXPECT_EQ(alignText(alignFromText("TL")), "LT");
    EXPECT_EQ(alignText(alignFromText("br")), "RB");
    EXPECT_EQ(alignText(alignFromText("TllLBbbtRrrlBr")), "LTRB");
    EXPECT_EQ(alignText(alignFromText("true")), "TR");
    EXPECT_EQ(alignText(alignFromText("asdf")), "");
}

TEST(ViewFit, ScaleModeNamesIgnoreCaseAndUnknownOnesShowAll) {
    EXPECT_EQ(scaleFromName("EXACTFIT"), ViewFit::Scale::ExactFit);
    EXPECT_EQ(scaleFromName("noborder"), ViewFit::Scale::NoBorder);
    EXPECT_EQ(scaleFromName("noScale"), ViewFit::Scale::NoScale);
    EXPECT_EQ(scaleFromName("noScal"), ViewFit::Scale::ShowAll);
    EXPECT_STREQ(scaleName(ViewFit::Scale::NoBorder), "noBorder");
}
