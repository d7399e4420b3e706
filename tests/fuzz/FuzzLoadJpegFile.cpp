// Fuzzes LoadJpegFile with arbitrary file content, then saves what loaded. Damaged data must be
// refused with an error and must leave the target bitmap untouched.

#include "jpeg_bridge/JpegFile.h"

#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Path = WriteFuzzInput("input.jpg", Data, Size);
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(3, 2);
    Bitmap.FillAll(0x12345678u);
    try {
        LoadJpegFile(&Bitmap, Path);
    } catch (const Exception&) {
        if (Bitmap.Width() != 3 || Bitmap.Height() != 2 || Bitmap.Pixel(2, 1) != 0x12345678u)
            __builtin_trap(); // a failed load changed its target
        return 0;
    }
    if (std::int64_t{Bitmap.Width()} * Bitmap.Height() <= (1 << 20)) {
        try {
            SaveJpegFile(Bitmap, FuzzFolder().File("output.jpg"), 95);
        } catch (const Exception&) {
            __builtin_trap(); // a picture that loaded must save
        }
    }
    return 0;
}
