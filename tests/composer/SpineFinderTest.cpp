// The spine finder on made covers: spines at different places and widths, dark on light and light
// on dark, with and without a scan's grain and lean, a back card whose right edge is the spine,
// and covers where it must find nothing (no visible spine, a strong edge that is no spine).

#include "composer/SpineFinder.h"

#include "tests/support/MadeCovers.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr TColor32 PaperWhite = 0xFFF2EEE4;
constexpr TColor32 DarkBlue = 0xFF1E2A44;
constexpr TColor32 DarkRed = 0xFF7A2E2E;
constexpr TColor32 Black = 0xFF141414;
constexpr TColor32 Cream = 0xFFF0E0B0;
constexpr TColor32 Grey = 0xFF606060;

struct TFinderCase {
    std::string Name;
    TCoverDesign Cover;
    TInlayLayout Layout;
    std::optional<TSpineCut> Expected; // none: nothing may be found
};

TCoverDesign WrapAround(int Width, int Height, int SpineLeft, int SpineRight) {
    TCoverDesign Design;
    Design.Width = Width;
    Design.Height = Height;
    Design.SpineLeft = SpineLeft;
    Design.SpineRight = SpineRight;
    return Design;
}

TCoverDesign Coloured(TCoverDesign Design, TColor32 Back, TColor32 Spine, TColor32 Front) {
    Design.Back = Back;
    Design.Spine = Spine;
    Design.Front = Front;
    return Design;
}

TCoverDesign WithGrain(TCoverDesign Design, int Noise, int Lean = 0) {
    Design.Noise = Noise;
    Design.Lean = Lean;
    return Design;
}

TCoverDesign WithPanel(TCoverDesign Design, int PanelLeft) {
    Design.PanelLeft = PanelLeft;
    return Design;
}

class SpineFinderTest : public testing::TestWithParam<TFinderCase> {};

TEST_P(SpineFinderTest, FindsTheSpineWithinHalfAPerCentOrNothing) {
    const TFinderCase& C = GetParam();
    TBitmap32 Cover;
    MakeCover(C.Cover, Cover);
    const std::optional<TSpineFinding> Found = FindSpine(Cover, C.Layout);
    if (!C.Expected) {
        EXPECT_FALSE(Found) << "found (" << Found->Cut.Left << ", " << Found->Cut.Right
                            << ") where there is no spine";
        return;
    }
    ASSERT_TRUE(Found) << "no spine found";
    const double Tolerance = 0.005 * C.Cover.Width;
    EXPECT_LE(std::abs(Found->Cut.Left - C.Expected->Left), Tolerance)
        << "left edge " << Found->Cut.Left << ", expected " << C.Expected->Left;
    EXPECT_LE(std::abs(Found->Cut.Right - C.Expected->Right), Tolerance)
        << "right edge " << Found->Cut.Right << ", expected " << C.Expected->Right;
    EXPECT_GE(Found->Confidence, 0.75f * 0.9f);
    EXPECT_LE(Found->Confidence, 1.0f);
}

// A wrap-around of 138 mm back, 6.5 mm spine and 121 mm front at 10 pixels per millimetre.
const TCoverDesign WiderBack = WrapAround(2655, 1200, 1380, 1445);

INSTANTIATE_TEST_SUITE_P(
    MadeCovers, SpineFinderTest,
    testing::Values(
        TFinderCase{"BackWiderThanFront", WiderBack, TInlayLayout::BackAndFront,
                    TSpineCut{1380, 1445}},
        TFinderCase{"BackWiderThanFrontWithGrain", WithGrain(WiderBack, 24),
                    TInlayLayout::BackAndFront, TSpineCut{1380, 1445}},
        TFinderCase{"LightSpineOnDarkCover",
                    Coloured(WrapAround(1200, 600, 600, 630), Black, Cream, Grey),
                    TInlayLayout::BackAndFront, TSpineCut{600, 630}},
        TFinderCase{"LightSpineOnDarkCoverWithGrain",
                    WithGrain(Coloured(WrapAround(1200, 600, 600, 630), Black, Cream, Grey), 24),
                    TInlayLayout::BackAndFront, TSpineCut{600, 630}},
        TFinderCase{"SpineLeftOfTheMiddle", WrapAround(1500, 700, 480, 520),
                    TInlayLayout::BackAndFront, TSpineCut{480, 520}},
        TFinderCase{"NarrowSpine", WrapAround(2000, 900, 1000, 1034), TInlayLayout::BackAndFront,
                    TSpineCut{1000, 1034}},
        TFinderCase{"WideSpine", WrapAround(2000, 900, 950, 1045), TInlayLayout::BackAndFront,
                    TSpineCut{950, 1045}},
        TFinderCase{"LeaningScanWithGrain", WithGrain(WrapAround(2000, 1000, 1010, 1060), 16, 9),
                    TInlayLayout::BackAndFront, TSpineCut{1010, 1060}},
        // The strong edge of a panel in the front is no spine: it has no partner at a
        // plausible distance.
        TFinderCase{"SpineBesideAPanelEdge", WithPanel(WrapAround(2000, 900, 1000, 1050), 1300),
                    TInlayLayout::BackAndFront, TSpineCut{1000, 1050}},
        // Back cards: the spine at the picture's right edge, or before a margin of the
        // scanner's lid.
        TFinderCase{"BackCardEndingInItsSpine", WrapAround(1510, 1175, 1450, 1510),
                    TInlayLayout::Back, TSpineCut{1450, 1510}},
        TFinderCase{
            "BackCardEndingInItsSpineWithGrain",
            WithGrain(Coloured(WrapAround(1510, 1175, 1440, 1510), DarkBlue, Cream, Cream), 24),
            TInlayLayout::Back, TSpineCut{1440, 1510}},
        TFinderCase{"BackCardWithAMarginAfterItsSpine",
                    Coloured(WrapAround(1510, 1175, 1400, 1460), PaperWhite, DarkRed, PaperWhite),
                    TInlayLayout::Back, TSpineCut{1400, 1460}},
        // Nothing to find.
        TFinderCase{"SpineInTheBacksColour",
                    Coloured(WrapAround(1200, 600, 600, 630), PaperWhite, PaperWhite, DarkRed),
                    TInlayLayout::BackAndFront, std::nullopt},
        TFinderCase{"BackCardWithoutAVisibleSpine",
                    WithGrain(Coloured(WrapAround(1510, 1175, 1450, 1510), PaperWhite, PaperWhite,
                                       PaperWhite),
                              24),
                    TInlayLayout::Back, std::nullopt},
        TFinderCase{
            "OneStrongEdgeAndNoSpine",
            WithGrain(Coloured(WrapAround(1200, 600, 610, 610), PaperWhite, PaperWhite, DarkBlue),
                      16),
            TInlayLayout::BackAndFront, std::nullopt},
        TFinderCase{"SpineOutsideTheMiddle", WrapAround(2000, 900, 300, 350),
                    TInlayLayout::BackAndFront, std::nullopt},
        TFinderCase{"TooSmallToTell", WrapAround(90, 40, 45, 47), TInlayLayout::BackAndFront,
                    std::nullopt}),
    [](const auto& Info) { return Info.param.Name; });

} // namespace
