// Fuzzes the EXIF orientation parser with arbitrary JPEG data: it must give a value from 1 to 8
// and never read outside the data. A value from 2 to 8 then turns a small bitmap.

#include "jpeg_bridge/ExifOrientation.h"
#include "raster/Orientation.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    // A copy of exactly Size bytes, so that AddressSanitizer sees any read past the end.
    std::vector<std::uint8_t> Copy(Data, Data + Size);
    const int Orientation = ExifOrientationOf(Copy.data(), Copy.size());
    if (Orientation < 1 || Orientation > 8)
        __builtin_trap();
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(3, 2);
    Bitmap.ScanLine(0)[0] = 0xFF000001u;
    OrientUpright(Bitmap, Orientation);
    const bool Turned = Orientation >= 5;
    if (Bitmap.Width() != (Turned ? 2 : 3) || Bitmap.Height() != (Turned ? 3 : 2))
        __builtin_trap();
    return 0;
}
