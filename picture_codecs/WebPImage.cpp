#include "picture_codecs/WebPImage.h"

#include <webp/decode.h>

TDecodedPixels TWebPImage::Decode(const std::vector<std::uint8_t>& Data) const {
    WebPBitstreamFeatures Features;
    if (WebPGetFeatures(Data.data(), Data.size(), &Features) != VP8_STATUS_OK)
        throw EWebPError("WebP error: not a WebP file, or its header is damaged");
    if (Features.has_animation)
        throw EWebPError("WebP error: animated pictures are not supported");
    TDecodedPixels Picture;
    SizeDecodedPixels<EWebPError>(Picture, Features.width, Features.height, "WebP");
    const auto Stride = static_cast<std::size_t>(Picture.Width) * 4;
    if (!WebPDecodeBGRAInto(
            Data.data(), Data.size(), reinterpret_cast<std::uint8_t*>(Picture.Pixels.data()),
            Stride * static_cast<std::size_t>(Picture.Height), static_cast<int>(Stride)))
        throw EWebPError("WebP error: the picture data is damaged or cut short");
    LayOverWhite(Picture.Pixels);
    return Picture;
}
