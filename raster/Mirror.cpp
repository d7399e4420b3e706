#include "raster/Bitmap32.h"

#include <algorithm>

// Both mirrors swap up to the halfway point; an odd middle column or row stays where it is.

void TBitmap32::MirrorHorizontal() {
    if (!IsEmpty())
        for (int Y = 0; Y < FHeight; ++Y)
            std::reverse(ScanLine(Y), ScanLine(Y) + FWidth);
    NotifyChanged();
}

void TBitmap32::MirrorVertical() {
    if (!IsEmpty())
        for (int Top = 0, Bottom = FHeight - 1; Top < Bottom; ++Top, --Bottom)
            std::swap_ranges(ScanLine(Top), ScanLine(Top) + FWidth, ScanLine(Bottom));
    NotifyChanged();
}
