#pragma once

// TDecodedPicture: a picture that is decoded whole when its file is read, and kept as opaque
// pixels until it is drawn. The readers of PNG, TIFF and WebP files derive from it. Decoding
// happens before anything is kept, so a file that cannot be read leaves the picture, and the
// bitmap it was meant for, as they were; drawing cannot fail.
//
// A reader looks at the file's signature and header first and reads no more of the file than
// the header asks for; the pixels are held in bands of rows that are taken as the rows are
// decoded, so that a small file claiming a large picture fails before it holds much memory.
//
// Transparent pixels are laid over white, as they would print: a channel c of opacity a (0 to
// 255) becomes c * a / 255 + 255 - a, rounded to the nearest level.

#include "raster/Bitmap32.h"
#include "raster/Graphic.h"
#include "raster/PictureLimits.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

class TFileStream;

// Pictures with more pixels than this are refused as soon as their size is known, before any
// pixel memory is taken: the limit every picture the program loads has (raster/PictureLimits.h).
inline constexpr std::int64_t MaxDecodedPixels = MaxJpegPixels;

// Decoded pixels as stored in the file, rows top-down, in bands of whole rows. A band is taken,
// zero-filled, when a row of it is first asked for.
class TDecodedPixels {
public:
    // A picture of Width x Height pixels (a decodable size) without memory yet, in bands of
    // BandRows rows (0: of about 4 MB each).
    void SetSize(int Width, int Height, int BandRows = 0);
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }

    // Row Y (0 to Height - 1) to be written; takes its band when it has none yet. Throws
    // std::bad_alloc when the band cannot be had.
    TColor32* Row(int Y);
    // The whole picture as one band of rows, taken now and not cleared: for a decoder that writes
    // every pixel or fails. Throws std::bad_alloc when it cannot be had.
    TColor32* WholeForOverwrite();
    // Row Y of a picture whose every band was taken. Not validated.
    const TColor32* Row(int Y) const noexcept { return BandOf(Y) + Offset(Y); }

    // Lays every pixel (blue, green, red, straight alpha in memory) over white and makes it
    // opaque.
    void LayOverWhite() noexcept;

private:
    TColor32* BandOf(int Y) const noexcept {
        return FBands[static_cast<std::size_t>(Y / FBandRows)].get();
    }
    std::size_t Offset(int Y) const noexcept {
        return static_cast<std::size_t>(Y % FBandRows) * static_cast<std::size_t>(FWidth);
    }

    int FWidth = 0;
    int FHeight = 0;
    int FBandRows = 1;
    std::vector<std::unique_ptr<TColor32[]>> FBands;
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
void LayOverWhite(TColor32* Pixels, std::size_t Count) noexcept;

// What a reader found in a file: the pixels as stored and the orientation tag (1 to 8,
// raster/Orientation.h) that says how they are to be shown.
struct TDecodedFile {
    TDecodedPixels Pixels;
    int Orientation = 1;
};

class TDecodedPicture : public TGraphic {
public:
    // The size of the picture as shown: width and height of the stored pixels, swapped for the
    // orientations 5 to 8.
    int Width() const noexcept override;
    int Height() const noexcept override;
    // The orientation tag the file gave (1 to 8).
    int Orientation() const noexcept { return FPicture.Orientation; }

    // Decodes the file of Stream. Throws the kind's error, EReadError when the file cannot be
    // read, or EOutOfMemory "Out of memory" when the pixels cannot be held; the picture is then
    // unchanged.
    void LoadFromStream(TFileStream& Stream) override;

    // Copies the pixels, turned upright as the orientation tag says, into Target's top-left
    // Width x Height pixels.
    void Draw(TBitmap32& Target) const override;

protected:
    // Decodes the file into opaque pixels, or throws.
    virtual TDecodedFile Decode(TFileStream& Stream) const = 0;

private:
    TDecodedFile FPicture;
};

// Whether a picture of this size may be decoded: both sides above 0, at most MaxDecodedPixels
// pixels.
bool IsDecodableSize(std::int64_t Width, std::int64_t Height) noexcept;
// "<Kind> error: the picture is too large or empty (W x H pixels)".
std::string UndecodableSizeMessage(const char* Kind, std::int64_t Width, std::int64_t Height);
[[noreturn]] void ThrowOutOfMemory();

// Gives Picture the size Width x Height that its file gave. Throws TError with
// UndecodableSizeMessage unless IsDecodableSize. Takes no pixel memory.
template <class TError>
void SizeDecodedPixels(TDecodedPixels& Picture, std::int64_t Width, std::int64_t Height,
                       const char* Kind) {
    if (!IsDecodableSize(Width, Height))
        throw TError(UndecodableSizeMessage(Kind, Width, Height));
    Picture.SetSize(static_cast<int>(Width), static_cast<int>(Height));
}
