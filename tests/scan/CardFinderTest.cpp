// Finding the card: what counts as the bed, and pictures that have none.

#include "scan/CardFinder.h"

#include "tests/support/MadeCovers.h"
#include "tests/support/MadeScans.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void MakeBackCard(TBitmap32& Card) {
    TCoverDesign Design;
    Design.Width = 604;
    Design.Height = 472;
    Design.SpineLeft = 580;
    Design.SpineRight = 604;
    MakeCover(Design, Card);
}

TEST(CardFinder, TransparentPartsCountAsWhite) {
    TBitmap32 Card, OnWhite, OnNothing;
    MakeBackCard(Card);
    TScanSetup Setup;
    Setup.TiltDegrees = 2;
    Setup.Grain = 0;
    MakeScan(Card, Setup, OnWhite);
    // The same scan with its white bed transparent (and black underneath).
    OnNothing.CopyFrom(&OnWhite);
    for (int Y = 0; Y < OnNothing.Height(); ++Y)
        for (int X = 0; X < OnNothing.Width(); ++X)
            if (OnNothing.Pixel(X, Y) == 0xFFFFFFFF)
                OnNothing.ScanLine(Y)[X] = 0x00000000;
    const TCardFinding White = FindCard(OnWhite);
    const TCardFinding Transparent = FindCard(OnNothing);
    ASSERT_TRUE(Transparent.HasBorder);
    EXPECT_EQ(Transparent.Bed, 0xFFFFFFFFu);
    EXPECT_NEAR(Transparent.TiltDegrees, 2, 0.1);
    EXPECT_EQ(Transparent.Card, White.Card);
}

struct TNoBedCase {
    std::string Name;
    int Width;
    int Height;
    TColor32 Fill;
};

class NoBedTest : public testing::TestWithParam<TNoBedCase> {};

// Nothing to cut: the finding is the picture as it is, and nothing throws.
TEST_P(NoBedTest, FindsNoBorder) {
    const TNoBedCase& Case = GetParam();
    TBitmap32 Picture;
    Picture.SetDimensions(Case.Width, Case.Height);
    Picture.FillAll(Case.Fill);
    const TCardFinding Finding = FindCard(Picture);
    EXPECT_FALSE(Finding.HasBorder);
    EXPECT_EQ(Finding.TiltDegrees, 0);
    EXPECT_EQ(Finding.Card, Picture.FullArea());
    EXPECT_FALSE(ScanWantsStraightening(Finding));
}

INSTANTIATE_TEST_SUITE_P(Pictures, NoBedTest,
                         testing::Values(TNoBedCase{"Empty", 0, 0, 0},
                                         TNoBedCase{"OnePixel", 1, 1, 0xFF123456},
                                         TNoBedCase{"ThinLine", 3000, 2, 0xFFFFFFFF},
                                         TNoBedCase{"AllLid", 400, 300, 0xFFFFFFFF},
                                         TNoBedCase{"AllBlack", 400, 300, 0xFF000000}),
                         [](const auto& Info) { return Info.param.Name; });

TEST(CardFinder, ACardOnTheBedIsWorthAHint) {
    TBitmap32 Card, Scan;
    MakeBackCard(Card);
    TScanSetup Setup;
    Setup.Bed = 0xFF101010;
    MakeScan(Card, Setup, Scan);
    const TCardFinding Finding = FindCard(Scan);
    EXPECT_TRUE(Finding.HasBorder);
    EXPECT_NEAR(Finding.TiltDegrees, 0, 0.05);
    EXPECT_EQ(Finding.LevelDegrees, 0);
    EXPECT_TRUE(ScanWantsStraightening(Finding));
    // The cut lies inside the card, which starts Margin pixels in.
    EXPECT_GE(Finding.Card.Left, Setup.Margin);
    EXPECT_GE(Finding.Card.Top, Setup.Margin);
    EXPECT_LE(Finding.Card.Right, Setup.Margin + Card.Width());
    EXPECT_LE(Finding.Card.Bottom, Setup.Margin + Card.Height());
}

} // namespace
