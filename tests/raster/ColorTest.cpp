#include "raster/Color.h"

#include <gtest/gtest.h>

#include <iomanip>

TEST(ColorToPixelTest, SwapsRedAndBlueAndMakesOpaque) {
    struct TCase {
        TColor Color;
        TColor32 Pixel;
    };
    const TCase Cases[] = {
        {15656932, 0xFFE4E7EEu}, // 0x00EEE7E4: red 228, green 231, blue 238
        {0x000000FF, 0xFFFF0000u}, {0x00FF0000, 0xFF0000FFu}, {0, 0xFF000000u},
        {0x00FFFFFF, 0xFFFFFFFFu}, {0x7F123456, 0xFF563412u}, // the top byte of a plain colour is
                                                              // not alpha
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ColorToPixel(C.Color, nullptr), C.Pixel)
            << std::hex << "colour 0x" << C.Color << " gave 0x" << ColorToPixel(C.Color, nullptr);
}

TEST(ColorToPixelTest, ResolvesSystemColoursFirst) {
    TColor Asked = 0;
    const TSystemColorResolver Resolver = [&](TColor SystemColor) {
        Asked = SystemColor;
        return TColor{0x00EEE7E4};
    };
    EXPECT_EQ(ColorToPixel(clBtnFace, Resolver), 0xFFE4E7EEu);
    EXPECT_EQ(Asked, clBtnFace);
    EXPECT_EQ(clBtnFace, -16777201);

    Asked = 0;
    EXPECT_EQ(ColorToPixel(0x00EEE7E4, Resolver), 0xFFE4E7EEu);
    EXPECT_EQ(Asked, 0) << "a plain colour is not resolved";

    EXPECT_EQ(ColorToPixel(clBtnFace, nullptr), 0xFF000000u) << "no resolver: black";
}
