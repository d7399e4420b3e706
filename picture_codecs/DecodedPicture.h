#pragma once

// TDecodedPicture: a picture that is decoded whole when its file is read, and kept as opaque
// pixels until it is drawn. The readers of PNG, TIFF and WebP files derive from it. Decoding
// happens before anything is kept, so a file that cannot be read leaves the picture, and the
// bitmap it was meant for, as they were; drawing cannot fail.
//
// Transparent pixels are laid over white, as they would print: a channel c of opacity a (0 to
// 255) becomes c * a / 255 + 255 - a, rounded to the nearest level.

#include "raster/Bitmap32.h"
#include "raster/Graphic.h"
#include "raster/PictureLimits.h"

#include <cstdint>
#include <new>
#include <string>
#include <vector>

// Pictures with more pixels than this are refused as soon as their size is known, before any
// pixel memory is taken: the limit every picture the program loads has (raster/PictureLimits.h).
inline constexpr std::int64_t MaxDecodedPixels = MaxJpegPixels;

// Decoded pixels, rows top-down without gaps.
struct TDecodedPixels {
    int Width = 0;
    int Height = 0;
    std::vector<TColor32> Pixels;
};

// A straight-alpha channel over white.
constexpr std::uint8_t OverWhite(unsigned Channel, unsigned Alpha) noexcept {
    return static_cast<std::uint8_t>((Channel * Alpha + 255 * (255 - Alpha) + 127) / 255);
}
// A channel already multiplied by its opacity (associated alpha) over white.
constexpr std::uint8_t PremultipliedOverWhite(unsigned Channel, unsigned Alpha) noexcept {
    const unsigned Sum = Channel + 255 - Alpha;
    return static_cast<std::uint8_t>(Sum > 255 ? 255 : Sum);
}
// Lays every pixel (blue, green, red, straight alpha in memory) over white and makes it opaque.
void LayOverWhite(std::vector<TColor32>& Pixels) noexcept;

class TDecodedPicture : public TGraphic {
public:
    int Width() const noexcept override { return FPicture.Width; }
    int Height() const noexcept override { return FPicture.Height; }

    // Decodes the rest of Stream (LoadFromData). Throws EReadError when the file cannot be read.
    void LoadFromStream(TFileStream& Stream) override;
    // Decodes Data; throws the kind's error, or EOutOfMemory "Out of memory" when the pixels
    // cannot be held. The picture is then unchanged.
    void LoadFromData(const std::vector<std::uint8_t>& Data);

    // Copies the pixels into Target's top-left Width x Height pixels.
    void Draw(TBitmap32& Target) const override;

protected:
    // Decodes a whole file's bytes into opaque pixels, or throws.
    virtual TDecodedPixels Decode(const std::vector<std::uint8_t>& Data) const = 0;

private:
    TDecodedPixels FPicture;
};

// Whether a picture of this size may be decoded: both sides above 0, at most MaxDecodedPixels
// pixels.
bool IsDecodableSize(std::int64_t Width, std::int64_t Height) noexcept;
// "<Kind> error: the picture is too large or empty (W x H pixels)".
std::string UndecodableSizeMessage(const char* Kind, std::int64_t Width, std::int64_t Height);
[[noreturn]] void ThrowOutOfMemory();

// Makes Picture hold Width x Height pixels, for a picture whose size its file gave. Throws
// TError with UndecodableSizeMessage unless IsDecodableSize, EOutOfMemory when the pixels cannot
// be held.
template <class TError>
void SizeDecodedPixels(TDecodedPixels& Picture, std::int64_t Width, std::int64_t Height,
                       const char* Kind) {
    if (!IsDecodableSize(Width, Height))
        throw TError(UndecodableSizeMessage(Kind, Width, Height));
    try {
        Picture.Pixels.assign(static_cast<std::size_t>(Width * Height), 0);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    Picture.Width = static_cast<int>(Width);
    Picture.Height = static_cast<int>(Height);
}
