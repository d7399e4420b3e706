// Fuzzes the WebP reader through the picture registry (tests/fuzz/FuzzCodecPicture.h).

#include "tests/fuzz/FuzzCodecPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    return FuzzCodecPicture("input.webp", Data, Size);
}
