// Quarter turns: every pixel of a picture whose pixels name their own coordinates lands where a
// clockwise turn puts it, and turns undo each other bit for bit.

#include "raster/QuarterTurn.h"

#include "tests/support/BitmapTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TTurnCase {
    int Degrees;
    std::string Name;
};

class QuarterTurnTest : public testing::TestWithParam<TTurnCase> {};

// Where stored pixel (X, Y) of a W by H picture lands after a clockwise turn.
void Landing(int Degrees, int W, int H, int X, int Y, int& ToX, int& ToY) {
    switch (Degrees) {
    case 90:
        ToX = H - 1 - Y;
        ToY = X;
        return;
    case 180:
        ToX = W - 1 - X;
        ToY = H - 1 - Y;
        return;
    case 270:
        ToX = Y;
        ToY = W - 1 - X;
        return;
    default:
        ToX = X;
        ToY = Y;
    }
}

TEST_P(QuarterTurnTest, EveryPixelLandsWhereTheTurnPutsIt) {
    const int Degrees = GetParam().Degrees;
    constexpr int W = 5, H = 3; // odd sizes: the middle row and column move too
    TBitmap32 Picture;
    FillWithCoordinates(Picture, W, H);
    TNotificationRecorder Recorder(Picture);
    TurnClockwise(Picture, Degrees);
    const bool Sideways = Degrees % 180 != 0;
    ASSERT_EQ(Picture.Width(), Sideways ? H : W);
    ASSERT_EQ(Picture.Height(), Sideways ? W : H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            int ToX, ToY;
            Landing(Degrees, W, H, X, Y, ToX, ToY);
            EXPECT_EQ(Picture.Pixel(ToX, ToY), CoordPixel(X, Y))
                << "stored (" << X << ", " << Y << ") should be at (" << ToX << ", " << ToY
                << "), found " << DescribePixel(Picture.Pixel(ToX, ToY));
        }
    EXPECT_EQ(Recorder.Count("change"), Degrees == 0 ? 0 : 1);
    EXPECT_EQ(Recorder.Count("resize"), Sideways ? 1 : 0);
}

TEST_P(QuarterTurnTest, FourTurnsGiveThePictureBack) {
    TBitmap32 Original, Picture;
    FillWithCoordinates(Original, 7, 4);
    FillWithCoordinates(Picture, 7, 4);
    for (int I = 0; I < 4; ++I)
        TurnClockwise(Picture, GetParam().Degrees);
    EXPECT_TRUE(SameBitmaps(Picture, Original));
}

INSTANTIATE_TEST_SUITE_P(Turns, QuarterTurnTest,
                         testing::Values(TTurnCase{0, "None"}, TTurnCase{90, "Quarter"},
                                         TTurnCase{180, "Half"}, TTurnCase{270, "ThreeQuarters"}),
                         [](const auto& Info) { return Info.param.Name; });

TEST(QuarterTurn, LeftThenRightGivesThePictureBack) {
    TBitmap32 Original, Picture;
    FillWithCoordinates(Original, 6, 3);
    FillWithCoordinates(Picture, 6, 3);
    TurnClockwise(Picture, 270);
    TurnClockwise(Picture, 90);
    EXPECT_TRUE(SameBitmaps(Picture, Original));
}

TEST(QuarterTurn, OtherAnglesAreRefusedAndChangeNothing) {
    for (const int Degrees : {45, -90, 360, 1}) {
        TBitmap32 Original, Picture;
        FillWithCoordinates(Original, 4, 2);
        FillWithCoordinates(Picture, 4, 2);
        EXPECT_THROW(TurnClockwise(Picture, Degrees), EQuarterTurn) << Degrees;
        EXPECT_TRUE(SameBitmaps(Picture, Original)) << Degrees;
        EXPECT_FALSE(IsQuarterTurn(Degrees)) << Degrees;
    }
}

TEST(QuarterTurn, AnEmptyPictureStaysEmpty) {
    TBitmap32 Picture;
    TurnClockwise(Picture, 90);
    EXPECT_TRUE(Picture.IsEmpty());
}

} // namespace
