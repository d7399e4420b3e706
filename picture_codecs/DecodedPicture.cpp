#include "picture_codecs/DecodedPicture.h"

#include "base/FileStream.h"
#include "raster/Bitmap.h"

#include <algorithm>

namespace {

// A band holds about this many bytes of pixels (at least one row): memory is taken in steps of
// this size as the rows arrive.
constexpr std::size_t BandBytes = std::size_t{4} << 20;

bool SwapsSides(int Orientation) noexcept {
    return Orientation >= 5 && Orientation <= 8;
}

} // namespace

void TDecodedPixels::SetSize(int Width, int Height, int BandRows) {
    FWidth = Width;
    FHeight = Height;
    const std::size_t RowBytes = static_cast<std::size_t>(Width) * sizeof(TColor32);
    const std::size_t Rows =
        BandRows > 0 ? static_cast<std::size_t>(BandRows) : BandBytes / RowBytes;
    FBandRows =
        static_cast<int>(std::clamp<std::size_t>(Rows, 1, static_cast<std::size_t>(Height)));
    FBands.clear();
    FBands.resize(static_cast<std::size_t>((Height + FBandRows - 1) / FBandRows));
}

TColor32* TDecodedPixels::Row(int Y) {
    std::unique_ptr<TColor32[]>& Band = FBands[static_cast<std::size_t>(Y / FBandRows)];
    if (!Band) {
        const int First = Y / FBandRows * FBandRows;
        const int Rows = std::min(FBandRows, FHeight - First);
        Band = std::make_unique<TColor32[]>(static_cast<std::size_t>(Rows) *
                                            static_cast<std::size_t>(FWidth));
    }
    return Band.get() + Offset(Y);
}

TColor32* TDecodedPixels::WholeForOverwrite() {
    FBandRows = FHeight;
    FBands.clear();
    // Not cleared: the system gives the memory a page at a time as the decoder writes it.
    FBands.push_back(std::make_unique_for_overwrite<TColor32[]>(static_cast<std::size_t>(FWidth) *
                                                                static_cast<std::size_t>(FHeight)));
    return FBands.front().get();
}

void TDecodedPixels::LayOverWhite() noexcept {
    for (std::size_t Band = 0; Band < FBands.size(); ++Band) {
        const int First = static_cast<int>(Band) * FBandRows;
        const int Rows = std::min(FBandRows, FHeight - First);
        ::LayOverWhite(FBands[Band].get(),
                       static_cast<std::size_t>(Rows) * static_cast<std::size_t>(FWidth));
    }
}

void LayOverWhite(TColor32* Pixels, std::size_t Count) noexcept {
    for (TColor32* P = Pixels; P != Pixels + Count; ++P) {
        const unsigned Alpha = *P >> 24;
        if (Alpha == 255)
            continue;
        *P = 0xFF000000u | std::uint32_t{OverWhite((*P >> 16) & 0xFF, Alpha)} << 16 |
             std::uint32_t{OverWhite((*P >> 8) & 0xFF, Alpha)} << 8 | OverWhite(*P & 0xFF, Alpha);
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

int TDecodedPicture::Width() const noexcept {
    return SwapsSides(FPicture.Orientation) ? FPicture.Pixels.Height() : FPicture.Pixels.Width();
}

int TDecodedPicture::Height() const noexcept {
    return SwapsSides(FPicture.Orientation) ? FPicture.Pixels.Width() : FPicture.Pixels.Height();
}

void TDecodedPicture::LoadFromStream(TFileStream& Stream) {
    try {
        TDecodedFile Decoded = Decode(Stream);
        if (Decoded.Orientation < 1 || Decoded.Orientation > 8)
            Decoded.Orientation = 1;
        FPicture = std::move(Decoded);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
}

void TDecodedPicture::Draw(TBitmap32& Target) const {
    const TDecodedPixels& Pixels = FPicture.Pixels;
    const int W = Pixels.Width();
    const int H = Pixels.Height();
    const int O = FPicture.Orientation;
    // Where stored pixel (X, Y) goes, as the orientation tag says (raster/Orientation.h).
    const bool MirrorX = O == 2 || O == 3 || O == 6 || O == 7;
    const bool MirrorY = O == 3 || O == 4 || O == 7 || O == 8;
    for (int Y = 0; Y < H; ++Y) {
        const TColor32* Stored = Pixels.Row(Y);
        if (!SwapsSides(O)) {
            TColor32* Out = Target.ScanLine(MirrorY ? H - 1 - Y : Y);
            if (MirrorX)
                std::reverse_copy(Stored, Stored + W, Out);
            else
                std::copy_n(Stored, W, Out);
            continue;
        }
        // Stored row Y becomes a column of the upright picture: column H - 1 - Y when the
        // picture turns clockwise (6, 7), column Y otherwise; stored column X becomes row
        // W - 1 - X when it turns counter-clockwise (7, 8), row X otherwise.
        const int Column = MirrorX ? H - 1 - Y : Y;
        for (int X = 0; X < W; ++X)
            Target.ScanLine(MirrorY ? W - 1 - X : X)[Column] = Stored[X];
    }
}
