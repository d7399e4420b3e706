#include "picture_codecs/ExifBlockOrientation.h"

#include "jpeg_bridge/ExifOrientation.h"

#include <cstring>

int ExifBlockOrientation(const std::uint8_t* Data, std::size_t Size) noexcept {
    if (Size >= 6 && std::memcmp(Data, "Exif\0\0", 6) == 0) {
        Data += 6;
        Size -= 6;
    }
    const int Orientation = OrientationInTiff(Data, Size);
    return Orientation != 0 ? Orientation : 1;
}
