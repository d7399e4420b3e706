#pragma once

// A bitmap's pixels as the plain samples the PNG, TIFF and WebP fixture writers take, so that a
// made picture can be written losslessly in any of those formats.

#include "raster/Bitmap32.h"
#include "tests/support/PictureFixtures.h"

#include <cstdint>

// Red, green and blue of every pixel, 8 bits each; with Alpha, an opaque alpha sample after them.
inline TSampleImage RgbSamplesOf(const TBitmap32& Bitmap, bool Alpha = false) {
    TSampleImage Image{Bitmap.Width(), Bitmap.Height(), Alpha ? 4 : 3, 8, {}};
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X) {
            const TColor32 P = Bitmap.Pixel(X, Y);
            for (const int Shift : {16, 8, 0})
                Image.Samples.push_back(static_cast<std::uint16_t>((P >> Shift) & 0xFF));
            if (Alpha)
                Image.Samples.push_back(255);
        }
    return Image;
}
