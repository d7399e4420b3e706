#include "composer/TrayCard.h"
#include "composer/InlayLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

void PrintTo(const TPrintDensity& Density, std::ostream* Out) {
    *Out << Density.Numerator << "/" << Density.Denominator << " dpi";
}

namespace {

TEST(InlayLayoutTest, ChosenByTheProportions) {
    struct TCase {
        int Width, Height;
        TInlayLayout Expected;
    };
    // Back-and-front exactly when Height * 15 div 10 < Width.
    const TCase Cases[] = {
        {151, 100, TInlayLayout::BackAndFront},
        {150, 100, TInlayLayout::Back},
        {15, 11, TInlayLayout::Back}, // 16 is not below 15
        {17, 11, TInlayLayout::BackAndFront},
        {0, 0, TInlayLayout::Back},
        {2000000000, 2000000000, TInlayLayout::Back}, // no overflow
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ChooseInlayLayout(C.Width, C.Height), C.Expected) << C.Width << " x " << C.Height;
}

TEST(TrayCardTest, SpineSettingsAreTheNineStepsOfFive) {
    for (int Value = -25; Value <= 25; ++Value)
        EXPECT_EQ(IsSpineSetting(Value), Value % 5 == 0 && Value >= -20 && Value <= 20) << Value;
}

TEST(TrayCardTest, DensityPrintsTheInlay151MillimetresWide) {
    struct TCase {
        int Width;
        TPrintDensity Exact;
        int Rounded;
    };
    // Width * 254 / 1510 dots per inch: 1594 gives 268.13, 1510 gives 254, 3189 gives 536.4.
    const TCase Cases[] = {
        {1594, {202438, 755}, 268},
        {1510, {254, 1}, 254},
        {3189, {405003, 755}, 536},
        {151, {127, 5}, 25},
        {1, {127, 755}, 1},
        {0, {0, 1}, 1},
        {1000000, {25400000, 151}, 65535},
    };
    for (const TCase& C : Cases) {
        const TPrintDensity Density = TrayCardDensity(C.Width);
        EXPECT_EQ(Density, C.Exact) << "width " << C.Width;
        EXPECT_EQ(Density.RoundedDotsPerInch(), C.Rounded) << "width " << C.Width;
    }
}

TEST(TrayCardTest, RoundedDensityIsTheWholeDotsPerInchOfEveryWidthAJpegCanHave) {
    // The JFIF density of a saved inlay: the nearest whole number of Width * 25.4 / 151.
    for (int Width = 1; Width <= 65535; ++Width) {
        const double Expected = std::clamp(std::nearbyint(Width * 25.4 / 151), 1.0, 65535.0);
        ASSERT_EQ(TrayCardDensity(Width).RoundedDotsPerInch(), static_cast<int>(Expected))
            << "width " << Width;
    }
}

} // namespace
