#pragma once

// Helpers shared by the bitmap tests: pixels that name their own coordinates, and a recorder of
// the notifications a bitmap sends.

#include "raster/Bitmap32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

// A pixel that encodes its coordinates: x in the low 12 bits, y in the next 12, alpha 0xAB so
// that a copy that loses or invents alpha shows.
inline TColor32 CoordPixel(int X, int Y) {
    return 0xAB000000u | (static_cast<TColor32>(Y & 0xFFF) << 12) |
           static_cast<TColor32>(X & 0xFFF);
}
inline int CoordX(TColor32 Pixel) {
    return static_cast<int>(Pixel & 0xFFF);
}
inline int CoordY(TColor32 Pixel) {
    return static_cast<int>((Pixel >> 12) & 0xFFF);
}

inline std::string DescribePixel(TColor32 Pixel) {
    std::ostringstream Text;
    Text << "0x" << std::hex << Pixel << std::dec << " (x " << CoordX(Pixel) << ", y "
         << CoordY(Pixel) << ")";
    return Text.str();
}

// Whether Actual has Expected's size and pixels; a failure names the sizes, or the first pixel
// that differs (in rows from the top) with both values in hex, and how many differ. For
// EXPECT_TRUE(SameBitmaps(Actual, Expected)).
inline testing::AssertionResult SameBitmaps(const TBitmap32& Actual, const TBitmap32& Expected) {
    if (Actual.Width() != Expected.Width() || Actual.Height() != Expected.Height())
        return testing::AssertionFailure()
               << "the bitmap is " << Actual.Width() << " x " << Actual.Height() << ", expected "
               << Expected.Width() << " x " << Expected.Height();
    long Differing = 0;
    int FirstX = 0, FirstY = 0;
    for (int Y = 0; Y < Actual.Height(); ++Y)
        for (int X = 0; X < Actual.Width(); ++X)
            if (Actual.Pixel(X, Y) != Expected.Pixel(X, Y) && Differing++ == 0) {
                FirstX = X;
                FirstY = Y;
            }
    if (Differing == 0)
        return testing::AssertionSuccess();
    std::ostringstream Text;
    Text << std::hex << std::setfill('0') << "pixel (" << std::dec << FirstX << ", " << FirstY
         << ") is 0x" << std::hex << std::setw(8) << Actual.Pixel(FirstX, FirstY) << ", expected 0x"
         << std::setw(8) << Expected.Pixel(FirstX, FirstY) << std::dec << " (" << Differing
         << " of " << long(Actual.Width()) * Actual.Height() << " pixels differ)";
    return testing::AssertionFailure() << Text.str();
}

// Sizes Bitmap and fills it with CoordPixel values.
inline void FillWithCoordinates(TBitmap32& Bitmap, int Width, int Height) {
    Bitmap.SetDimensions(Width, Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            Bitmap.ScanLine(Y)[X] = CoordPixel(X, Y);
}

inline std::string RectText(const TRect& R) {
    std::ostringstream Text;
    Text << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
    return Text.str();
}

// Records every notification of one bitmap, in order, as short texts:
// "store", "area (l, t, r, b)", "change", "resize".
class TNotificationRecorder {
public:
    explicit TNotificationRecorder(TBitmap32& Bitmap) : FBitmap(Bitmap) {
        Bitmap.OnHandleChanged = [this](TBitmap32&) { Events.push_back("store"); };
        Bitmap.OnAreaChanged = [this](TBitmap32&, const TRect& Area, std::uint32_t Info) {
            Events.push_back("area " + RectText(Area) +
                             (Info == AREAINFO_RECT ? "" : " info " + std::to_string(Info)));
        };
        Bitmap.OnChange = [this](TBitmap32&) { Events.push_back("change"); };
        Bitmap.OnResize = [this](TBitmap32&) { Events.push_back("resize"); };
    }
    ~TNotificationRecorder() {
        FBitmap.OnHandleChanged = nullptr;
        FBitmap.OnAreaChanged = nullptr;
        FBitmap.OnChange = nullptr;
        FBitmap.OnResize = nullptr;
    }
    TNotificationRecorder(const TNotificationRecorder&) = delete;
    TNotificationRecorder& operator=(const TNotificationRecorder&) = delete;

    int Count(const std::string& Kind) const {
        int N = 0;
        for (const auto& E : Events)
            N += E.rfind(Kind, 0) == 0 ? 1 : 0;
        return N;
    }

    std::vector<std::string> Events;

private:
    TBitmap32& FBitmap;
};
