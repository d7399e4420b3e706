#pragma once

// Helpers shared by the bitmap tests: pixels that name their own coordinates, and a recorder of
// the notifications a bitmap sends.

#include "raster/Bitmap32.h"

#include <cstdint>
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

// Whether A and B have the same size and the same pixels.
inline bool SameBitmaps(const TBitmap32& A, const TBitmap32& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height())
        return false;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            if (A.Pixel(X, Y) != B.Pixel(X, Y))
                return false;
    return true;
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
