// Fuzzes TBitmap32::LoadPictureFile (the libjpeg path for the placeholder picture) with
// arbitrary content of a ".jpg" file. Damaged data must end in an error or a picture, never in
// a crash or an access outside a buffer.

#include "jpeg_bridge/JPEGImage.h"
#include "raster/Bitmap32.h"

#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    RegisterJpegPictures();
    const std::string Path = WriteFuzzInput("input.jpg", Data, Size);
    TBitmap32 Bitmap;
    try {
        Bitmap.LoadPictureFile(Path);
    } catch (const Exception&) {
        return 0;
    }
    // Every pixel of a loaded picture is opaque.
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X)
            if (Bitmap.Pixel(X, Y) >> 24 != 0xFF)
                __builtin_trap();
    return 0;
}
