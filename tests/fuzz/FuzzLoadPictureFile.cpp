// Fuzzes TBitmap32::LoadPictureFile (the libjpeg path for the placeholder picture) with
// arbitrary content of a ".jpg" file (tests/fuzz/FuzzPictureFile.h).

#include "jpeg_bridge/JPEGImage.h"
#include "tests/fuzz/FuzzPictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    RegisterJpegPictures();
    return FuzzPictureFile("input.jpg", Data, Size);
}
