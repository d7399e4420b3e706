#include "raster/Bitmap.h"

#include "base/SysError.h"
#include "raster/Bitmap32.h"
#include "raster/LargeBlock.h"
#include "raster/PixelRows.h"

#include <algorithm>
#include <cerrno>
#include <limits>

std::int64_t TBitmap::StrideFor(int Width, TPixelFormat Format) noexcept {
    return (std::int64_t{std::max(Width, 0)} * BitsPerPixel(Format) + 31) / 32 * 4;
}

TBitmap::TBuffer TBitmap::AllocateBuffer(int Width, int Height, TPixelFormat Format, int& Stride) {
    const std::int64_t RowBytes = StrideFor(Width, Format);
    // Rows are addressed with int strides and the whole buffer with ptrdiff_t.
    if (RowBytes > std::numeric_limits<int>::max() ||
        RowBytes * Height > std::numeric_limits<std::ptrdiff_t>::max())
        throw EOutOfResources(OutOfResourcesMessage);
    errno = 0;
    TBuffer Buffer(static_cast<std::uint8_t*>(AllocateZeroedBlock(
        static_cast<std::size_t>(RowBytes) * static_cast<std::size_t>(Height), 1)));
    if (!Buffer)
        throw EOutOfResources(errno != 0 ? SysErrorMessage(errno) : OutOfResourcesMessage);
    Stride = static_cast<int>(RowBytes);
    return Buffer;
}

void TBitmap::SetSize(int NewWidth, int NewHeight) {
    NewWidth = std::max(NewWidth, 0);
    NewHeight = std::max(NewHeight, 0);
    if (NewWidth == FWidth && NewHeight == FHeight)
        return;
    TBuffer Buffer;
    int Stride = 0;
    if (FPixelFormat != TPixelFormat::pfNone && NewWidth > 0 && NewHeight > 0)
        Buffer = AllocateBuffer(NewWidth, NewHeight, FPixelFormat, Stride);
    FBits = std::move(Buffer);
    FStride = Stride;
    FWidth = NewWidth;
    FHeight = NewHeight;
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == FPixelFormat)
        return;
    if (FWidth == 0 || FHeight == 0 || Value == TPixelFormat::pfNone) {
        FBits.reset();
        FStride = 0;
        FPixelFormat = Value;
        return;
    }
    int Stride = 0;
    TBuffer Buffer = AllocateBuffer(FWidth, FHeight, Value, Stride);
    // Buffer rows correspond one to one, so the picture stays upright without any row flip.
    if (FBits) {
        for (int Row = 0; Row < FHeight; ++Row) {
            const std::uint8_t* Src = FBits.get() + std::size_t(Row) * std::size_t(FStride);
            std::uint8_t* Dst = Buffer.get() + std::size_t(Row) * std::size_t(Stride);
            if (Value == TPixelFormat::pf24bit)
                Bgrx32ToBgr24(Src, Dst, FWidth);
            else
                Bgr24ToBgrx32(Src, Dst, FWidth);
        }
    }
    FBits = std::move(Buffer);
    FStride = Stride;
    FPixelFormat = Value;
}

std::optional<TBitmapStorage> TBitmap::QueryStorage() noexcept {
    if (FWidth == 0 || FHeight == 0)
        return std::nullopt;
    return TBitmapStorage{FWidth, FHeight, BitsPerPixel(FPixelFormat), FStride, FBits.get()};
}

void TBitmap::LoadFromStream(TFileStream&) {
    throw EInvalidGraphic("Bitmap files are not supported");
}

void TBitmap::Draw(TBitmap32& Target) const {
    if (!FBits)
        return;
    for (int Row = 0; Row < FHeight; ++Row) {
        if (FPixelFormat == TPixelFormat::pf32bit)
            Bgra32ToColor32(ScanLine(Row), Target.ScanLine(Row), FWidth);
        else
            Bgr24ToColor32(ScanLine(Row), Target.ScanLine(Row), FWidth);
    }
}
