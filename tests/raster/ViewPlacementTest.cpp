#include "raster/ViewPlacement.h"

#include <gtest/gtest.h>

#include <ostream>

static std::ostream& operator<<(std::ostream& Out, const TPixelSize& S) {
    return Out << S.Width << "x" << S.Height;
}

static std::ostream& operator<<(std::ostream& Out, const TRect& R) {
    return Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

struct TPlacementCase {
    const char* Name;
    TPixelSize Viewport;
    TPixelSize Bitmap;
    TPixelSize Size;
    TRect Rect;
};

static void PrintTo(const TPlacementCase& C, std::ostream* Out) {
    *Out << C.Name;
}

class PlacementTest : public testing::TestWithParam<TPlacementCase> {};

TEST_P(PlacementTest, SizeOffsetsAndRect) {
    const TPlacementCase& C = GetParam();
    const TPixelSize Size = OptimalScaledDisplaySize(C.Viewport, C.Bitmap);
    const float OffsetX = CenteredDisplayOffset(C.Viewport.Width, Size.Width);
    const float OffsetY = CenteredDisplayOffset(C.Viewport.Height, Size.Height);
    const TRect Rect = DisplayRectAt(Size, OffsetX, OffsetY);
    EXPECT_EQ(Size, C.Size) << "bitmap " << C.Bitmap << " in view " << C.Viewport;
    EXPECT_EQ(Rect, C.Rect) << "bitmap " << C.Bitmap << " in view " << C.Viewport << ", offsets "
                            << OffsetX << ", " << OffsetY;
}

// The view of the program's window is 868 by 276 in most cases.
INSTANTIATE_TEST_SUITE_P(
    Views, PlacementTest,
    testing::Values(
        TPlacementCase{
            "SmallShownUnscaled", {868, 276}, {100, 50}, {100, 50}, {384, 113, 484, 163}},
        TPlacementCase{"ExactlyHalf", {868, 276}, {1736, 552}, {868, 276}, {0, 0, 868, 276}},
        TPlacementCase{
            "SquareFitsHeight", {868, 276}, {1000, 1000}, {276, 276}, {296, 0, 572, 276}},
        // Offset 116.5 goes to the even 116.
        TPlacementCase{"WideFitsWidth", {868, 276}, {2000, 100}, {868, 43}, {0, 116, 868, 159}},
        TPlacementCase{"OneColumnTooWide", {868, 276}, {869, 276}, {868, 276}, {0, 0, 868, 276}},
        TPlacementCase{"ExactFitIsNotScaled", {868, 276}, {868, 276}, {868, 276}, {0, 0, 868, 276}},
        // Offsets 383.5 and 384.5 both round to 384.
        TPlacementCase{
            "OffsetHalfRoundsUp", {868, 276}, {101, 50}, {101, 50}, {384, 113, 485, 163}},
        TPlacementCase{
            "OffsetHalfRoundsDown", {868, 276}, {99, 50}, {99, 50}, {384, 113, 483, 163}},
        // sy = 276 / 280 in single precision makes 105 * sy 103.49999..., not 103.5.
        TPlacementCase{"SingleFactor", {868, 276}, {105, 280}, {103, 276}, {382, 0, 485, 276}},
        // Widths 2.5 and 3.5 round to the even 2 and 4.
        TPlacementCase{"SizeHalfRoundsDown", {868, 1}, {5, 2}, {2, 1}, {433, 0, 435, 1}},
        TPlacementCase{"SizeHalfRoundsUp", {868, 1}, {7, 2}, {4, 1}, {432, 0, 436, 1}},
        // A side that rounds to nothing leaves an empty image, centred.
        TPlacementCase{"ThinnerThanAPixel", {868, 276}, {10, 10000}, {0, 276}, {434, 0, 434, 276}},
        TPlacementCase{"EmptyBitmap", {868, 276}, {0, 50}, {0, 0}, {434, 138, 434, 138}},
        TPlacementCase{"ZeroWidthView", {0, 276}, {100, 50}, {0, 0}, {0, 138, 0, 138}},
        TPlacementCase{"ZeroHeightView", {868, 0}, {100, 50}, {0, 0}, {434, 0, 434, 0}}),
    [](const testing::TestParamInfo<TPlacementCase>& Info) { return Info.param.Name; });

TEST(PlacementOffsetTest, CentresOnlyWhenTheViewportIsLonger) {
    EXPECT_FLOAT_EQ(CenteredDisplayOffset(868, 101), 383.5f);
    EXPECT_FLOAT_EQ(CenteredDisplayOffset(868, 868), 0.0f);
    EXPECT_FLOAT_EQ(CenteredDisplayOffset(100, 868), 0.0f);
}

struct TBandsCase {
    const char* Name;
    TRect Image;
    std::vector<TRect> Bands;
};

static void PrintTo(const TBandsCase& C, std::ostream* Out) {
    *Out << C.Name;
}

class BackgroundBandsTest : public testing::TestWithParam<TBandsCase> {};

TEST_P(BackgroundBandsTest, CoverTheViewAroundTheImage) {
    const TBandsCase& C = GetParam();
    const std::vector<TRect> Bands = BackgroundBands(C.Image, TPixelSize{868, 276});
    ASSERT_EQ(Bands.size(), C.Bands.size()) << "image " << C.Image;
    for (std::size_t I = 0; I < Bands.size(); ++I)
        EXPECT_EQ(Bands[I], C.Bands[I]) << "band " << I << " around " << C.Image;
}

INSTANTIATE_TEST_SUITE_P(
    Images, BackgroundBandsTest,
    testing::Values(
        TBandsCase{
            "Centred",
            {384, 113, 484, 163},
            {{0, 0, 868, 113}, {0, 163, 868, 276}, {0, 113, 384, 163}, {484, 113, 868, 163}}},
        TBandsCase{"WholeView", {0, 0, 868, 276}, {}},
        TBandsCase{"FullHeight", {296, 0, 572, 276}, {{0, 0, 296, 276}, {572, 0, 868, 276}}},
        TBandsCase{"FullWidth", {0, 116, 868, 159}, {{0, 0, 868, 116}, {0, 159, 868, 276}}},
        TBandsCase{"EmptyImage", {434, 0, 434, 276}, {{0, 0, 434, 276}, {434, 0, 868, 276}}}),
    [](const testing::TestParamInfo<TBandsCase>& Info) { return Info.param.Name; });

TEST(BackBufferLengthTest, GrowsWithMarginAndShrinksOnlyPastIt) {
    struct TStep {
        int Current;
        int Target;
        int Expected;
    };
    const TStep Steps[] = {
        {0, 868, 908},   // too short: target + 40
        {908, 908, 908}, // fits exactly: kept
        {908, 909, 949}, // one too short: grows
        {908, 868, 908}, // exactly 40 too long: kept
        {908, 867, 867}, // 41 too long: follows the target
        {5, -3, 5},      // a negative target counts as 0
        {41, 0, 1},      // never below 1
        {0, 0, 1},       // an empty buffer still gets 1
    };
    for (const TStep& S : Steps)
        EXPECT_EQ(BackBufferLength(S.Current, S.Target), S.Expected)
            << "buffer " << S.Current << ", viewport " << S.Target;
}
