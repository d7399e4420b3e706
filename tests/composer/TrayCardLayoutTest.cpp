// The whole tray card as a layout, and the widths an explicit cut may have, against tables worked
// by hand.

#include "composer/SpineCut.h"
#include "composer/SpineFinder.h"
#include "composer/StreamedInlay.h"
#include "composer/TrayInlay.h"
#include "raster/Transfer.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/MadeCovers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct TCardCase {
    std::string Name;
    int W, H;
    double Position;
    int InlayH; // W * 1175 / 1510, truncated
};

class TrayCardCompositionTest : public testing::TestWithParam<TCardCase> {};

TEST_P(TrayCardCompositionTest, KeepsEveryColumnAndOnlyNormalises) {
    const TCardCase& C = GetParam();
    TBitmap32 Input;
    FillWithCoordinates(Input, C.W, C.H);
    TBitmap32 Inlay;
    const TInlayComposition Answer =
        ComposeInlay(Input, TInlayRequest{TInlayLayout::TrayCard, C.Position, {}}, Inlay);
    EXPECT_EQ(Answer.Cut(), (TSpineCut{C.W, C.W})) << "no spine strip";
    EXPECT_EQ(Answer.Geometry.SpineWidth, 0);
    EXPECT_EQ(Answer.Density, TrayCardDensity(C.W));
    ASSERT_EQ(Inlay.Width(), C.W);
    ASSERT_EQ(Inlay.Height(), C.InlayH);
    // Column x is input column x; rows as every normalisation takes them.
    for (int Y = 0; Y < C.InlayH; ++Y) {
        const int Row = C.InlayH == C.H ? Y : NearestSourceIndex(Y, C.InlayH, 0, C.H);
        for (int X = 0; X < C.W; ++X)
            ASSERT_EQ(Inlay.Pixel(X, Y), Input.Pixel(X, Row)) << X << ", " << Y;
    }
}

INSTANTIATE_TEST_SUITE_P(Cards, TrayCardCompositionTest,
                         testing::Values(TCardCase{"ExactlyTheCard", 1510, 1175, 0, 1175},
                                         TCardCase{"ScannedALittleHigh", 1500, 1200, 0, 1167},
                                         TCardCase{"SliderPlays NoPart", 1500, 1200, 20, 1167},
                                         TCardCase{"Small", 302, 235, -20, 235},
                                         TCardCase{"Wide", 400, 100, 0, 311}),
                         [](const auto& Info) {
                             std::string Name = Info.param.Name;
                             Name.erase(std::remove(Name.begin(), Name.end(), ' '), Name.end());
                             return Name;
                         });

TEST(TrayCardLayoutTest, AnExplicitCutPlaysNoPartAndNoSpineIsFound) {
    TBitmap32 Input;
    FillWithCoordinates(Input, 300, 240);
    TBitmap32 WithCut, Without;
    ComposeInlay(Input, TInlayRequest{TInlayLayout::TrayCard, 0, TSpineCut{100, 120}}, WithCut);
    ComposeInlay(Input, TInlayRequest{TInlayLayout::TrayCard, 0, {}}, Without);
    EXPECT_EQ(WithCut.Width(), 300);
    EXPECT_TRUE(SameBitmaps(WithCut, Without));
    TCoverDesign Design;
    Design.Width = 1510;
    Design.Height = 1175;
    Design.SpineLeft = 0;
    Design.SpineRight = 60;
    TBitmap32 Card;
    MakeCover(Design, Card);
    EXPECT_EQ(FindSpine(Card, TInlayLayout::TrayCard), std::nullopt);
}

// The row way makes the same tray card as the bitmap way.
TEST(TrayCardLayoutTest, StreamedAsComposed) {
    TBitmap32 Input;
    FillWithCoordinates(Input, 50, 61);
    TBitmap32 Inlay;
    ComposeInlay(Input, TInlayRequest{TInlayLayout::TrayCard, 0, {}}, Inlay);
    TStreamedInlay Streamed(50, 61, TInlayRequest{TInlayLayout::TrayCard, 0, {}}, 4, 50);
    for (int Y = 0; Y < 61; ++Y)
        std::memcpy(Streamed.InputRow(Y), Input.ScanLine(Y), 50 * 4);
    ASSERT_EQ(Streamed.InlayWidth(), Inlay.Width());
    ASSERT_EQ(Streamed.InlayHeight(), Inlay.Height());
    for (int Y = 0; Y < Inlay.Height(); ++Y)
        EXPECT_EQ(std::memcmp(Streamed.InlayRow(Y), Inlay.ScanLine(Y), 50 * 4), 0) << "row " << Y;
}

struct TLooksCase {
    std::string Name;
    int W, H;
    bool Looks;
};

class LooksLikeTrayCardTest : public testing::TestWithParam<TLooksCase> {};

// 151 : 117.5 is 1.28511; within 3 %: 1.24655 to 1.32366.
TEST_P(LooksLikeTrayCardTest, WithinThreePerCentOfTheCard) {
    EXPECT_EQ(LooksLikeTrayCard(GetParam().W, GetParam().H), GetParam().Looks);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LooksLikeTrayCardTest,
                         testing::Values(TLooksCase{"TheCard", 1510, 1175, true},
                                         TLooksCase{"Small", 151, 117, true},
                                         TLooksCase{"ThreePerCentNarrower", 1246656, 1000000, true},
                                         TLooksCase{"JustBeyondNarrower", 1246, 1000, false},
                                         TLooksCase{"ThreePerCentWider", 1323, 1000, true},
                                         TLooksCase{"JustBeyondWider", 1324, 1000, false},
                                         TLooksCase{"ABackCard", 1500, 1000, false},
                                         TLooksCase{"AWrapAround", 2850, 1200, false},
                                         TLooksCase{"Empty", 0, 0, false}),
                         [](const auto& Info) { return Info.param.Name; });

struct TWidthsCase {
    std::string Name;
    int W;
    TInlayLayout Layout;
    int Min, Max; // a quarter (rounded up) to three times the own strip at position 0
};

class ExplicitCutWidthsTest : public testing::TestWithParam<TWidthsCase> {};

TEST_P(ExplicitCutWidthsTest, AQuarterToThreeTimesTheOwnStrip) {
    const TWidthsCase& C = GetParam();
    const TSpineCutWidths Widths = ExplicitCutWidths(C.W, C.Layout);
    EXPECT_EQ(Widths.Min, C.Min);
    EXPECT_EQ(Widths.Max, C.Max);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ExplicitCutWidthsTest,
                         testing::Values(
                             // A = 10, B = 60.
                             TWidthsCase{"WrapAround2850", 2850, TInlayLayout::BackAndFront, 15,
                                         180},
                             // A = 9.93377, B = round(59.6) = 60.
                             TWidthsCase{"Back1500", 1500, TInlayLayout::Back, 15, 180},
                             // A = 1.66667, B = 10: a quarter is 2.5, rounded up.
                             TWidthsCase{"WrapAround475", 475, TInlayLayout::BackAndFront, 3, 30},
                             // A = 5, B = 30: 7.5 rounded up.
                             TWidthsCase{"WrapAround1425", 1425, TInlayLayout::BackAndFront, 8, 90},
                             // B = 0: a cut is still one column at least.
                             TWidthsCase{"Tiny", 20, TInlayLayout::BackAndFront, 1, 1}),
                         [](const auto& Info) { return Info.param.Name; });

struct TCheckCase {
    std::string Name;
    TSpineCut Cut;
    TInlayLayout Layout;
    const char* Error; // "" when the cut is taken
};

class CheckExplicitCutTest : public testing::TestWithParam<TCheckCase> {};

// A 1425 pixel wrap-around: own strip 697 to 727, cuts of 8 to 90 columns.
TEST_P(CheckExplicitCutTest, TakesOnlyASpineInsideThePicture) {
    const TCheckCase& C = GetParam();
    if (std::string(C.Error).empty()) {
        EXPECT_NO_THROW(CheckExplicitCut(1425, C.Layout, C.Cut));
        return;
    }
    try {
        CheckExplicitCut(1425, C.Layout, C.Cut);
        ADD_FAILURE() << "taken";
    } catch (const ESpineCutError& E) {
        EXPECT_EQ(E.Message(), C.Error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, CheckExplicitCutTest,
    testing::Values(
        TCheckCase{"Own", {697, 727}, TInlayLayout::BackAndFront, ""},
        TCheckCase{"Narrowest", {700, 708}, TInlayLayout::BackAndFront, ""},
        TCheckCase{"Widest", {600, 690}, TInlayLayout::BackAndFront, ""},
        TCheckCase{"AtTheRightEdge", {1395, 1425}, TInlayLayout::BackAndFront, ""},
        TCheckCase{"TooNarrow",
                   {700, 707},
                   TInlayLayout::BackAndFront,
                   "The cut 700:707 is 7 columns wide; a spine of this picture is 8 to 90 "
                   "columns wide"},
        TCheckCase{"OneColumn",
                   {700, 701},
                   TInlayLayout::BackAndFront,
                   "The cut 700:701 is 1 column wide; a spine of this picture is 8 to 90 "
                   "columns wide"},
        TCheckCase{"TooWide",
                   {600, 691},
                   TInlayLayout::BackAndFront,
                   "The cut 600:691 is 91 columns wide; a spine of this picture is 8 to 90 "
                   "columns wide"},
        TCheckCase{"BeyondTheRight",
                   {1400, 1426},
                   TInlayLayout::BackAndFront,
                   "The cut 1400:1426 lies outside the picture, which is 1425 columns wide"},
        TCheckCase{"LeftOfTheLeft",
                   {-1, 20},
                   TInlayLayout::BackAndFront,
                   "The cut -1:20 lies outside the picture, which is 1425 columns wide"},
        TCheckCase{"Backwards",
                   {30, 20},
                   TInlayLayout::BackAndFront,
                   "The cut 30:20 lies outside the picture, which is 1425 columns wide"},
        // Back layout: A = 9.43709, B = round(56.6) = 57: 15 to 171.
        TCheckCase{"BackLayoutWidths",
                   {1300, 1314},
                   TInlayLayout::Back,
                   "The cut 1300:1314 is 14 columns wide; a spine of this picture is 15 to 171 "
                   "columns wide"},
        TCheckCase{
            "TrayCard", {697, 727}, TInlayLayout::TrayCard, "A whole tray card takes no cut"}),
    [](const auto& Info) { return Info.param.Name; });

struct TDragStopCase {
    std::string Name;
    TSpineEdge Edge;
    int Column;
    double Position;
    TSpineCut Expected;
};

class DragStopsTest : public testing::TestWithParam<TDragStopCase> {};

// A 2850 pixel wrap-around shown at its own cut 1395 to 1455 (cuts of 15 to 180 columns): a
// drag goes as far as the widths let it, the other edge staying.
TEST_P(DragStopsTest, StopsAtTheWidthsOfASpine) {
    const TDragStopCase& C = GetParam();
    const TSpineCut Shown = DescribedSpineCut(2850, TInlayLayout::BackAndFront, C.Position);
    EXPECT_EQ(MoveSpineCutEdge(Shown, C.Edge, C.Column, C.Position, 2850,
                               ExplicitCutWidths(2850, TInlayLayout::BackAndFront)),
              C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, DragStopsTest,
    testing::Values(TDragStopCase{"RightFreely", TSpineEdge::Right, 1470, 0, {1395, 1470}},
                    TDragStopCase{"RightOntoTheLeft", TSpineEdge::Right, 1396, 0, {1395, 1410}},
                    TDragStopCase{"RightFarOut", TSpineEdge::Right, 2000, 0, {1395, 1575}},
                    TDragStopCase{"LeftFarOut", TSpineEdge::Left, 100, 0, {1275, 1455}},
                    TDragStopCase{"LeftOntoTheRight", TSpineEdge::Left, 1454, 0, {1440, 1455}},
                    // At +20 the own strip is 72 wide from 1389; a 15 column cut shows 18.
                    TDragStopCase{
                        "RightOntoTheLeftPlus20", TSpineEdge::Right, 1390, 20, {1390, 1405}}),
    [](const auto& Info) { return Info.param.Name; });

} // namespace
