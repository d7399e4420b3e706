// Fuzzes the PNG reader through the picture registry (tests/fuzz/FuzzPictureFile.h).

#include "picture_codecs/CodecPictures.h"
#include "tests/fuzz/FuzzPictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    RegisterCodecPictures();
    return FuzzPictureFile("input.png", Data, Size);
}
