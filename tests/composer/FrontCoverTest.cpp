// The front cover: the square from the middle of a picture or of a wrap-around's front, and what
// is said when much is cut.

#include "composer/FrontCover.h"
#include "raster/Bitmap32.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

namespace {

struct TSquareCase {
    std::string Name;
    TRect Part;
    // Expected:
    TRect Square;
    int Cut;
    bool Columns;
    std::string Notice;
};

class MiddleSquareTest : public testing::TestWithParam<TSquareCase> {};

TEST_P(MiddleSquareTest, TheMiddleSquareAndWhatIsSaidOfTheCut) {
    const TSquareCase& C = GetParam();
    const TSquareCut Cut = MiddleSquare(C.Part);
    EXPECT_EQ(Cut.Area, C.Square) << "(" << Cut.Area.Left << ", " << Cut.Area.Top << ", "
                                  << Cut.Area.Right << ", " << Cut.Area.Bottom << ")";
    EXPECT_EQ(Cut.Cut, C.Cut);
    EXPECT_EQ(Cut.Columns, C.Columns);
    EXPECT_EQ(SquareCutNotice(Cut), C.Notice);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MiddleSquareTest,
    testing::Values(
        TSquareCase{"Square_NothingCut", {0, 0, 500, 500}, {0, 0, 500, 500}, 0, false, ""},
        // 3 % of 1000 is 30 columns: no more is not worth a word.
        TSquareCase{"ThreePerCentWider_Quiet", {0, 0, 1000, 970}, {15, 0, 985, 970}, 30, true, ""},
        TSquareCase{"JustOverThreePerCent_Told",
                    {0, 0, 1000, 969},
                    {15, 0, 984, 969},
                    31,
                    true,
                    "not square: 31 of its 1000 columns (3.1 %) cut off to make the front cover "
                    "square"},
        // An odd difference leaves the extra row below.
        TSquareCase{"Higher_RowsCutTopAndBottom",
                    {0, 0, 600, 801},
                    {0, 100, 600, 700},
                    201,
                    false,
                    "not square: 201 of its 801 rows (25.1 %) cut off to make the front cover "
                    "square"},
        // The front of a wrap-around begins right of the spine.
        TSquareCase{"FrontOfAWrapAround",
                    {1520, 0, 2850, 1200},
                    {1585, 0, 2785, 1200},
                    130,
                    true,
                    "not square: 130 of its 1330 columns (9.8 %) cut off to make the front cover "
                    "square"}),
    [](const testing::TestParamInfo<TSquareCase>& Info) { return AsTestName(Info.param.Name); });

TEST(FrontOfCoverTest, ThePartRightOfTheSpineStrip) {
    EXPECT_EQ(FrontOfCover(2850, 1200, TSpineCut{1395, 1455}), (TRect{1455, 0, 2850, 1200}));
    EXPECT_EQ(FrontOfCover(10, 4, TSpineCut{8, 9}), (TRect{9, 0, 10, 4}));
    // A strip that reaches the right edge leaves nothing to be the front.
    EXPECT_THROW(FrontOfCover(151, 100, TSpineCut{145, 151}), EFrontCoverError);
}

// Every pixel of the copy is the picture's pixel at the same place in the area; the pixels
// encode their own coordinates.
TEST(FrontOfCoverTest, CopyPictureAreaTakesExactlyTheArea) {
    TBitmap32 Picture;
    Picture.SetDimensions(9, 5);
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 9; ++X)
            Picture.ScanLine(Y)[X] = 0xFF000000u | static_cast<TColor32>(X << 16 | Y << 8);
    TBitmap32 Square;
    CopyPictureArea(Picture, TRect{3, 1, 7, 5}, Square);
    ASSERT_EQ(Square.Width(), 4);
    ASSERT_EQ(Square.Height(), 4);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(Square.Pixel(X, Y), Picture.Pixel(X + 3, Y + 1)) << X << ", " << Y;
}

} // namespace
