#pragma once

// Fuzzes one kind of picture through TBitmap32::LoadPictureFile: arbitrary content of a file
// named FileName (its extension picks the registered kind) must end in an error that leaves the
// bitmap as it was, or in a picture of opaque pixels; never in a crash or an access outside a
// buffer. The caller registers the picture kinds first.

#include "base/Exception.h"
#include "raster/Bitmap32.h"

#include "tests/fuzz/FuzzInput.h"

inline int FuzzPictureFile(const char* FileName, const std::uint8_t* Data, std::size_t Size) {
    const std::string Path = WriteFuzzInput(FileName, Data, Size);
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(3, 2);
    Bitmap.FillAll(0x12345678u);
    try {
        Bitmap.LoadPictureFile(Path);
    } catch (const Exception&) {
        if (Bitmap.Width() != 3 || Bitmap.Height() != 2 || Bitmap.Pixel(2, 1) != 0x12345678u)
            __builtin_trap(); // a failed load changed its target
        return 0;
    }
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X)
            if (Bitmap.Pixel(X, Y) >> 24 != 0xFF)
                __builtin_trap();
    return 0;
}
