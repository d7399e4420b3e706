// The cuts: where the described composition takes the spine, and where an edge the user drags
// ends up at every slider position.

#include "composer/SpineCut.h"
#include "composer/TrayCard.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string CutText(const TSpineCut& Cut) {
    return "(" + std::to_string(Cut.Left) + ", " + std::to_string(Cut.Right) + ")";
}

TEST(DescribedSpineCutTest, IsTheStripTheDescribedCompositionTakes) {
    // The worked results: B = 63 and Half = 1468 for a 3000 wide wrap-around at 0; B = 143 for a
    // 3000 wide back card at +20, its rightmost columns.
    EXPECT_EQ(DescribedSpineCut(3000, TInlayLayout::BackAndFront, 0), (TSpineCut{1468, 1531}));
    EXPECT_EQ(DescribedSpineCut(1500, TInlayLayout::BackAndFront, -20), (TSpineCut{737, 762}));
    EXPECT_EQ(DescribedSpineCut(3000, TInlayLayout::Back, 20), (TSpineCut{2857, 3000}));
    EXPECT_EQ(DescribedSpineCut(0, TInlayLayout::Back, 0), (TSpineCut{0, 0}));
}

// Dragging one edge of the strip shown at a slider position: the other edge stays exactly, the
// dragged one lands on the pointer's column or one column beside it, and never leaves the
// picture or crosses the other edge.
struct TDragCase {
    std::string Name;
    TSpineCut Shown;
    TSpineEdge Edge;
    int Column;
    int Width;
    int Landed; // where the dragged edge is shown afterwards, worked by hand
};

class DragEdgeTest : public testing::TestWithParam<TDragCase> {};

TEST_P(DragEdgeTest, TheOtherEdgeStaysAndTheDraggedOneLands) {
    const TDragCase& C = GetParam();
    for (const int Position : SpineSettings) {
        const TSpineCut Cut = MoveSpineCutEdge(C.Shown, C.Edge, C.Column, Position, C.Width);
        const TSpineCut Strip = ScaledSpineCut(Cut, Position, C.Width);
        const bool Left = C.Edge == TSpineEdge::Left;
        const int Kept = Left ? Strip.Right : Strip.Left;
        const int Moved = Left ? Strip.Left : Strip.Right;
        EXPECT_EQ(Kept, Left ? C.Shown.Right : C.Shown.Left)
            << "at " << Position << ": cut " << CutText(Cut) << " shows " << CutText(Strip);
        EXPECT_LE(std::abs(Moved - C.Landed), Position == 0 ? 0 : 1)
            << "at " << Position << ": cut " << CutText(Cut) << " shows " << CutText(Strip);
        EXPECT_TRUE(Strip.Left >= 0 && Strip.Left < Strip.Right && Strip.Right <= C.Width)
            << "at " << Position << ": " << CutText(Strip);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Drags, DragEdgeTest,
    testing::Values(
        TDragCase{"LeftEdgeOutward", {500, 560}, TSpineEdge::Left, 470, 1000, 470},
        TDragCase{"LeftEdgeInward", {500, 560}, TSpineEdge::Left, 530, 1000, 530},
        TDragCase{"RightEdgeOutward", {500, 560}, TSpineEdge::Right, 601, 1000, 601},
        TDragCase{"RightEdgeInward", {500, 560}, TSpineEdge::Right, 507, 1000, 507},
        // Past the other edge: one column is the narrowest strip.
        TDragCase{"LeftEdgePastTheRight", {500, 560}, TSpineEdge::Left, 700, 1000, 559},
        TDragCase{"RightEdgePastTheLeft", {500, 560}, TSpineEdge::Right, 20, 1000, 501},
        // Out of the picture: to its edge.
        TDragCase{"LeftEdgeOutOfThePicture", {500, 560}, TSpineEdge::Left, -40, 1000, 0},
        TDragCase{"RightEdgeToThePicturesEdge", {900, 960}, TSpineEdge::Right, 1500, 1000, 1000}),
    [](const auto& Info) { return Info.param.Name; });

} // namespace
