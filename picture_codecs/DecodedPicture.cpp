#include "picture_codecs/DecodedPicture.h"

#include "base/FileStream.h"
#include "raster/Bitmap.h"

#include <algorithm>

void LayOverWhite(std::vector<TColor32>& Pixels) noexcept {
    for (TColor32& P : Pixels) {
        const unsigned Alpha = P >> 24;
        if (Alpha == 255)
            continue;
        P = 0xFF000000u | std::uint32_t{OverWhite((P >> 16) & 0xFF, Alpha)} << 16 |
            std::uint32_t{OverWhite((P >> 8) & 0xFF, Alpha)} << 8 | OverWhite(P & 0xFF, Alpha);
    }
}

void ThrowOutOfMemory() {
    throw EOutOfMemory(OutOfMemoryMessage);
}

std::string UndecodableSizeMessage(const char* Kind, std::int64_t Width, std::int64_t Height) {
    return std::string(Kind) + " error: the picture is too large or empty (" +
           std::to_string(Width) + " x " + std::to_string(Height) + " pixels)";
}

bool IsDecodableSize(std::int64_t Width, std::int64_t Height) noexcept {
    return Width > 0 && Height > 0 && Width <= MaxDecodedPixels && Height <= MaxDecodedPixels &&
           Width * Height <= MaxDecodedPixels;
}

void TDecodedPicture::LoadFromStream(TFileStream& Stream) {
    LoadFromData(Stream.ReadAll());
}

void TDecodedPicture::LoadFromData(const std::vector<std::uint8_t>& Data) {
    FPicture = Decode(Data);
}

void TDecodedPicture::Draw(TBitmap32& Target) const {
    if (FPicture.Pixels.empty())
        return;
    const auto RowLength = static_cast<std::size_t>(FPicture.Width);
    for (int Y = 0; Y < FPicture.Height; ++Y)
        std::copy_n(FPicture.Pixels.data() + static_cast<std::size_t>(Y) * RowLength, RowLength,
                    Target.ScanLine(Y));
}
