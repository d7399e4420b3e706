#include "picture_codecs/WebPImage.h"

#include "base/FileStream.h"
#include "picture_codecs/ExifBlockOrientation.h"

#include <webp/decode.h>

#include <algorithm>
#include <cstring>

namespace {

// The RIFF header: "RIFF", the size of what follows it, "WEBP".
constexpr std::size_t RiffHeaderBytes = 12;

std::uint32_t LittleEndian32(const std::uint8_t* Bytes) noexcept {
    return std::uint32_t{Bytes[0]} | std::uint32_t{Bytes[1]} << 8 | std::uint32_t{Bytes[2]} << 16 |
           std::uint32_t{Bytes[3]} << 24;
}

// The orientation in the file's EXIF chunk, 1 when it has none. Chunks follow the RIFF header,
// each a name, a size and its data, padded to an even length.
int OrientationOf(const std::vector<std::uint8_t>& Data) noexcept {
    std::size_t At = RiffHeaderBytes;
    while (Data.size() - At >= 8) {
        const std::uint32_t Size = LittleEndian32(Data.data() + At + 4);
        if (Size > Data.size() - At - 8)
            break;
        if (std::memcmp(Data.data() + At, "EXIF", 4) == 0)
            return ExifBlockOrientation(Data.data() + At + 8, Size);
        At += 8 + std::size_t{Size} + (Size & 1);
        if (At > Data.size())
            break;
    }
    return 1;
}

} // namespace

TDecodedFile TWebPImage::Decode(TFileStream& Stream) const {
    // The header first: the file is read only as far as its RIFF size says.
    std::uint8_t Header[RiffHeaderBytes];
    if (Stream.Read(Header, sizeof Header) != sizeof Header ||
        std::memcmp(Header, "RIFF", 4) != 0 || std::memcmp(Header + 8, "WEBP", 4) != 0)
        throw EWebPError("WebP error: not a WebP file, or its header is damaged");
    const std::uint64_t Claimed = std::uint64_t{LittleEndian32(Header + 4)} + 8;
    std::vector<std::uint8_t> Data(static_cast<std::size_t>(
        std::max<std::uint64_t>(RiffHeaderBytes, std::min<std::uint64_t>(Claimed, Stream.Size()))));
    std::copy_n(Header, sizeof Header, Data.begin());
    Data.resize(RiffHeaderBytes +
                Stream.Read(Data.data() + RiffHeaderBytes, Data.size() - RiffHeaderBytes));

    WebPBitstreamFeatures Features;
    if (WebPGetFeatures(Data.data(), Data.size(), &Features) != VP8_STATUS_OK)
        throw EWebPError("WebP error: not a WebP file, or its header is damaged");
    if (Features.has_animation)
        throw EWebPError("WebP error: animated pictures are not supported");
    TDecodedFile Picture;
    SizeDecodedPixels<EWebPError>(Picture.Pixels, Features.width, Features.height, "WebP");
    const auto Stride = static_cast<std::size_t>(Picture.Pixels.Width()) * 4;
    // libwebp writes every pixel or fails; the memory is taken page by page as it writes.
    TColor32* const Pixels = Picture.Pixels.WholeForOverwrite();
    if (!WebPDecodeBGRAInto(Data.data(), Data.size(), reinterpret_cast<std::uint8_t*>(Pixels),
                            Stride * static_cast<std::size_t>(Picture.Pixels.Height()),
                            static_cast<int>(Stride)))
        throw EWebPError("WebP error: the picture data is damaged or cut short");
    Picture.Pixels.LayOverWhite();
    Picture.Orientation = OrientationOf(Data);
    return Picture;
}
