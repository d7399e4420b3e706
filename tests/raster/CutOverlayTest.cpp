// Where an image view draws the cut lines and which line the pointer grabs: the boundaries that
// the view's nearest-neighbour sampling shows, at one to one and shrunk.

#include "raster/CutOverlay.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TColumnCase {
    std::string Name;
    TRect Display;
    int BitmapWidth;
    int Column;
    int ViewX;
};

class ViewColumnTest : public testing::TestWithParam<TColumnCase> {};

TEST_P(ViewColumnTest, LinesStandWhereTheirColumnBeginsOnTheScreen) {
    const TColumnCase& C = GetParam();
    EXPECT_EQ(ViewColumnOfBitmapColumn(C.Column, C.Display, C.BitmapWidth), C.ViewX);
    // Pointing at the line gives its column back wherever the screen can show it.
    if (C.Column > 0 && C.Column < C.BitmapWidth &&
        C.Display.Right - C.Display.Left >= C.BitmapWidth) {
        EXPECT_EQ(BitmapColumnAtViewX(C.ViewX, C.Display, C.BitmapWidth), C.Column);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ViewColumnTest,
    testing::Values(
        // One to one at (384, 113): column 40 begins at 384 + 40.
        TColumnCase{"OneToOne", {384, 113, 484, 163}, 100, 40, 424},
        TColumnCase{"OneToOneFirstColumn", {384, 113, 484, 163}, 100, 0, 384},
        TColumnCase{"OneToOneAfterTheLast", {384, 113, 484, 163}, 100, 100, 484},
        // Half size: view column i shows bitmap column 2i; column 41 first shows at i = 21.
        TColumnCase{"HalfSizeEven", {0, 0, 868, 276}, 1736, 40, 20},
        TColumnCase{"HalfSizeOdd", {0, 0, 868, 276}, 1736, 41, 21},
        // 6000 shown 552 wide (a wrap-around in an 868 x 276 view): the factor 10.8695650 in
        // single precision; column 3110 first shows at view column 287 (286 shows 3108).
        TColumnCase{"ShrunkWrapAround", {158, 0, 710, 276}, 6000, 3110, 158 + 287},
        // Beyond the picture: its edges.
        TColumnCase{"LeftOfThePicture", {10, 0, 110, 50}, 100, -5, 10},
        TColumnCase{"RightOfThePicture", {10, 0, 110, 50}, 100, 150, 110},
        TColumnCase{"EmptyDisplay", {10, 0, 10, 0}, 100, 50, 10}),
    [](const auto& Info) { return Info.param.Name; });

TEST(BitmapColumnAtViewXTest, TakesTheNearestBoundaryWithinThePicture) {
    const TRect Display{100, 0, 400, 50}; // 600 columns shown 300 wide
    EXPECT_EQ(BitmapColumnAtViewX(100, Display, 600), 0);
    EXPECT_EQ(BitmapColumnAtViewX(250, Display, 600), 300);
    EXPECT_EQ(BitmapColumnAtViewX(250.3, Display, 600), 301);
    EXPECT_EQ(BitmapColumnAtViewX(50, Display, 600), 0);
    EXPECT_EQ(BitmapColumnAtViewX(500, Display, 600), 600);
    EXPECT_EQ(BitmapColumnAtViewX(250, TRect{0, 0, 0, 0}, 600), 0);
}

struct THitCase {
    std::string Name;
    double X;
    int LeftX, RightX;
    std::optional<TCutLine> Expected;
};

class CutLineAtTest : public testing::TestWithParam<THitCase> {};

TEST_P(CutLineAtTest, GrabsTheNearerLineWithinReach) {
    const THitCase& C = GetParam();
    EXPECT_EQ(CutLineAt(C.X, C.LeftX, C.RightX, 4), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pointers, CutLineAtTest,
    testing::Values(THitCase{"OnTheLeftLine", 300, 300, 320, TCutLine::Left},
                    THitCase{"NearTheLeftLine", 296, 300, 320, TCutLine::Left},
                    THitCase{"OnTheRightLine", 321, 300, 320, TCutLine::Right},
                    THitCase{"NearerTheRightLine", 306, 300, 309, TCutLine::Right},
                    THitCase{"BetweenFarLines", 310, 300, 320, std::nullopt},
                    THitCase{"OutOfReach", 295, 300, 320, std::nullopt},
                    // Lines at one place: the side of the pointer decides.
                    THitCase{"LeftOfLinesAtOnePlace", 298, 300, 300, TCutLine::Left},
                    THitCase{"RightOfLinesAtOnePlace", 302, 300, 300, TCutLine::Right}),
    [](const auto& Info) { return Info.param.Name; });

} // namespace
