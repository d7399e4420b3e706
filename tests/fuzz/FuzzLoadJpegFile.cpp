// Fuzzes LoadJpegFile (the codec layer over the one JPEG decoder, jpeg_bridge/JpegRowDecoder.h)
// with arbitrary file content, then saves what loaded. Data that cannot be decoded must be
// refused with an error that leaves the target bitmap untouched; damage that the decoder went
// past is told in libjpeg's words.

#include "jpeg_bridge/JpegFile.h"

#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Path = WriteFuzzInput("input.jpg", Data, Size);
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(3, 2);
    Bitmap.FillAll(0x12345678u);
    std::string Damage;
    try {
        LoadJpegFile(Bitmap, Path, Damage);
    } catch (const Exception&) {
        if (Bitmap.Width() != 3 || Bitmap.Height() != 2 || Bitmap.Pixel(2, 1) != 0x12345678u)
            __builtin_trap(); // a failed load changed its target
        return 0;
    }
    if (!Damage.empty() && Damage.find("JPEG data") == std::string::npos)
        __builtin_trap(); // damage told in other words than libjpeg's
    if (std::int64_t{Bitmap.Width()} * Bitmap.Height() <= (1 << 20)) {
        try {
            SaveJpegFile(Bitmap, FuzzFolder().File("output.jpg"), 95);
        } catch (const Exception&) {
            __builtin_trap(); // a picture that loaded must save
        }
    }
    return 0;
}
