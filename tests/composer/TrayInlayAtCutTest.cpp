// The composition at an explicit cut: the strip the slider makes of the two edges (worked by
// hand), every pixel of both strips and the back card, and the described composition as the
// special case of its own cut at slider position 0.

#include "composer/SpineCut.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TCutCase {
    std::string Name;
    int W;
    TSpineCut Cut;
    double Position;
    // Worked by hand: the strip B' wide from L', the composed width L' + 2B' and the height that
    // gives 1510 : 1175 (the input is made that high, so no row is stretched).
    int B, L, ComposedW, H;
};

class ExplicitCutTest : public testing::TestWithParam<TCutCase> {};

TEST_P(ExplicitCutTest, StripsAndBackCardComeFromTheCut) {
    const TCutCase& C = GetParam();
    EXPECT_EQ(ScaledSpineCut(C.Cut, C.Position, C.W), (TSpineCut{C.L, C.L + C.B}));

    TBitmap32 Input;
    FillWithCoordinates(Input, C.W, C.H);
    TBitmap32 Output;
    ComposeInlay(Input, TInlayRequest{TInlayLayout::Back, C.Position, C.Cut}, Output);
    ASSERT_EQ(Output.Width(), C.ComposedW);
    ASSERT_EQ(Output.Height(), C.H);
    for (int Y = 0; Y < C.H; ++Y)
        for (int X = 0; X < C.ComposedW; ++X) {
            // Left strip: the spine turned by 180 degrees; then the back card (input columns 0
            // to L' - 1) and the spine as it is (input columns L' to L' + B' - 1).
            const TColor32 Expected =
                X < C.B ? CoordPixel(C.L + C.B - 1 - X, C.H - 1 - Y) : CoordPixel(X - C.B, Y);
            ASSERT_EQ(Output.Pixel(X, Y), Expected)
                << "pixel " << X << ", " << Y << ": " << DescribePixel(Output.Pixel(X, Y));
        }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedByHand, ExplicitCutTest,
    testing::Values(
        // Slider 0: the strip is the cut. 60 + 2 * 10 = 80, 80 * 1175 / 1510 = 62.
        TCutCase{"Spine0", 100, {60, 70}, 0, 10, 60, 80, 62},
        // +20: 10 * 1.2 = 12, widened by one column each side: L' = 60 - (12 - 10) div 2 = 59.
        TCutCase{"SpinePlus20", 100, {60, 70}, 20, 12, 59, 83, 64},
        // -20: 10 * 0.8 = 8, L' = 60 - (8 - 10) div 2 = 61.
        TCutCase{"SpineMinus20", 100, {60, 70}, -20, 8, 61, 77, 59},
        // Odd widths: 7 * 1.2 = 8.4 gives 8, and (8 - 7) div 2 = 0 leaves L where it was;
        // 13 * 0.8 = 10.4 gives 10, and (10 - 13) div 2 truncates to -1.
        TCutCase{"OddWidthPlus20", 100, {60, 67}, 20, 8, 60, 76, 59},
        TCutCase{"OddWidthMinus20", 100, {60, 73}, -20, 10, 61, 81, 63},
        // Single precision decides: 30 * 1.05f = 31.4999986 gives 31 (exact 31.5 would give 32).
        TCutCase{"SinglePrecisionPlus5", 200, {100, 130}, 5, 31, 100, 162, 126},
        // A strip widened past the picture's left edge is moved back inside.
        TCutCase{"AtTheLeftEdgePlus20", 100, {0, 10}, 20, 12, 0, 24, 18},
        // ... and past the right edge: 5 * 1.2 = 6 columns, the last ending at the picture's
        // edge, so the back card ends at 94.
        TCutCase{"AtTheRightEdgePlus20", 100, {95, 100}, 20, 6, 94, 106, 82}),
    [](const auto& Info) { return Info.param.Name; });

// The described composition is the special case of its own cut at slider position 0: the same
// pixels in both layouts, stretch included.
class DescribedCutTest : public testing::TestWithParam<TInlayLayout> {};

TEST_P(DescribedCutTest, ComposesAsTheDescribedCompositionAtSlider0) {
    const TInlayLayout Layout = GetParam();
    const int W = Layout == TInlayLayout::BackAndFront ? 613 : 331;
    TBitmap32 Input;
    FillWithCoordinates(Input, W, 277);
    TBitmap32 Described;
    ComposeTrayInlay(Input, Layout, 0, Described);
    TBitmap32 AtCut;
    ComposeInlay(Input, TInlayRequest{TInlayLayout::Back, 0, DescribedSpineCut(W, Layout, 0)},
                 AtCut);
    ASSERT_EQ(AtCut.Width(), Described.Width());
    ASSERT_EQ(AtCut.Height(), Described.Height());
    for (int Y = 0; Y < AtCut.Height(); ++Y)
        for (int X = 0; X < AtCut.Width(); ++X)
            ASSERT_EQ(AtCut.Pixel(X, Y), Described.Pixel(X, Y)) << X << ", " << Y;
}

INSTANTIATE_TEST_SUITE_P(Layouts, DescribedCutTest,
                         testing::Values(TInlayLayout::Back, TInlayLayout::BackAndFront),
                         [](const auto& Info) {
                             return std::string(Info.param == TInlayLayout::Back ? "Back"
                                                                                 : "BackAndFront");
                         });

TEST(ExplicitCutTest, AnEmptyPictureGivesAnEmptyInlay) {
    TBitmap32 Input;
    TBitmap32 Output;
    FillWithCoordinates(Output, 3, 3);
    ComposeInlay(Input, TInlayRequest{TInlayLayout::Back, 0, TSpineCut{10, 20}}, Output);
    EXPECT_TRUE(Output.IsEmpty());
}

TEST(ExplicitCutTest, StretchesToTheTrayCardsProportion) {
    TBitmap32 Input;
    FillWithCoordinates(Input, 300, 1000);
    TBitmap32 Output;
    ComposeInlay(Input, TInlayRequest{TInlayLayout::Back, 0, TSpineCut{150, 160}}, Output);
    EXPECT_EQ(Output.Width(), 170);
    EXPECT_EQ(Output.Height(), 170 * 1175 / 1510);
}

// The entry answers with the cut it used and the density that prints the inlay 151 mm wide:
// worked by hand for a 1500 x 900 picture (A = 1500 / 285 = 5.26315784, B = round(31.58) = 32,
// Half = 734; at the cut 700:740 and +10 % the strip is 44 wide from 698).
struct TAnswerCase {
    std::string Name;
    TInlayRequest Request;
    TSpineCut Cut;
    int InlayWidth;
};

class ComposeInlayAnswerTest : public testing::TestWithParam<TAnswerCase> {};

TEST_P(ComposeInlayAnswerTest, SaysWhichCutItUsedAndTheDensity) {
    const TAnswerCase& C = GetParam();
    TBitmap32 Input;
    FillWithCoordinates(Input, 1500, 900);
    TBitmap32 Inlay;
    const TInlayComposition Answer = ComposeInlay(Input, C.Request, Inlay);
    EXPECT_EQ(Answer.Cut(), C.Cut);
    EXPECT_EQ(Inlay.Width(), C.InlayWidth);
    EXPECT_EQ(Answer.Density, TrayCardDensity(C.InlayWidth));
    const TInlayComposition Plan = PlanInlay(1500, 900, C.Request);
    EXPECT_EQ(Plan.Cut(), C.Cut);
    EXPECT_EQ(Plan.Geometry.NormalHeight, Inlay.Height());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ComposeInlayAnswerTest,
    testing::Values(
        TAnswerCase{
            "BackAndFrontOwnCut", {TInlayLayout::BackAndFront, 0, std::nullopt}, {734, 766}, 798},
        TAnswerCase{"BackOwnCut", {TInlayLayout::Back, 0, std::nullopt}, {1440, 1500}, 1560},
        TAnswerCase{"ExplicitCutPlus10",
                    {TInlayLayout::BackAndFront, 10, TSpineCut{700, 740}},
                    {698, 742},
                    786}),
    [](const auto& Info) { return Info.param.Name; });

} // namespace
