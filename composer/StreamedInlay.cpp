#include "composer/StreamedInlay.h"

#include "composer/InlayLimits.h"

#include "raster/Bitmap32.h"
#include "raster/LargeBlock.h"
#include "raster/Transfer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace {

// Count pixels of Bytes bytes from Source to Target, the last one first.
template <std::size_t Bytes>
void CopyReversed(const std::uint8_t* Source, std::uint8_t* Target, std::size_t Count) noexcept {
    for (std::size_t X = 0; X < Count; ++X)
        std::memcpy(Target + X * Bytes, Source + (Count - 1 - X) * Bytes, Bytes);
}

} // namespace

std::int32_t InlayInputColumns(const TInlayGeometry& Geometry) noexcept {
    return Geometry.Strip.Right;
}

TStreamedInlay::TStreamedInlay(std::int32_t Width, std::int32_t Height,
                               const TInlayRequest& Request, int PixelBytes, std::int32_t RowPixels)
    : FComposition(PlanInlay(Width, Height, Request)),
      FInputColumns(InlayInputColumns(FComposition.Geometry)), FHeight(std::max(Height, 0)),
      FSpineLeft(FComposition.Geometry.Strip.Left), FPixelBytes(PixelBytes),
      FInlayEmpty(FComposition.Geometry.ComposedWidth <= 0 ||
                  FComposition.Geometry.NormalHeight <= 0 || Height <= 0),
      FSpineBytes(static_cast<std::size_t>(std::max(FComposition.Geometry.SpineWidth, 0)) *
                  static_cast<std::size_t>(PixelBytes)),
      FRowBytes(0) {
    // The same refusal as ComposeTrayInlay's, before any memory is taken.
    CheckInlaySize(FComposition.Geometry.ComposedWidth, FComposition.Geometry.NormalHeight);
    const std::uint64_t RowBytes = std::uint64_t{FSpineBytes} +
                                   static_cast<std::uint64_t>(std::max(RowPixels, FInputColumns)) *
                                       static_cast<std::uint64_t>(PixelBytes);
    FRowBytes = static_cast<std::size_t>(RowBytes);
    if (FHeight == 0 || FRowBytes == 0)
        return;
    if (RowBytes > std::numeric_limits<std::size_t>::max() / static_cast<std::uint64_t>(FHeight))
        throw Exception(CantAllocateDibMessage);
    // The rows come from the bitmaps' store of large blocks (raster/PixelStore.h): in a stack of
    // scans the next file takes over the last one's memory, which costs far less than fresh
    // memory. Every byte that is read is written first, so a reused block is not cleared.
    const std::uint64_t Bytes = RowBytes * static_cast<std::uint64_t>(FHeight);
    TPixelAllocation Allocation =
        AllocatePixelBlock((Bytes + sizeof(std::uint32_t) - 1) / sizeof(std::uint32_t));
    if (!Allocation.Block)
        throw Exception(CantAllocateDibMessage);
    // Every row is written next: fresh memory is asked for whole.
    if (Allocation.Zeroed)
        PrefaultBlock(Allocation.Block.get(), static_cast<std::size_t>(Bytes));
    FBlock = std::move(Allocation.Block);
    FRows = reinterpret_cast<std::uint8_t*>(FBlock.get());
}

std::int32_t TStreamedInlay::SourceRow(std::int32_t Y) const noexcept {
    const std::int64_t NormalHeight = FComposition.Geometry.NormalHeight;
    // The normalisation leaves the composed inlay as it is when the heights agree, and otherwise
    // stretches it as every nearest-neighbour transfer does.
    if (NormalHeight == FHeight)
        return Y;
    return NearestSourceIndex(Y, NormalHeight, 0, FHeight);
}

const std::uint8_t* TStreamedInlay::InlayRow(std::int32_t Y) noexcept {
    const std::int32_t Row = SourceRow(Y);
    std::uint8_t* const Target = FRows + static_cast<std::size_t>(Row) * FRowBytes;
    // The left strip is the spine of the mirror row, last pixel first: together the turn by 180
    // degrees that the window's composition makes of the whole strip.
    const std::uint8_t* Spine = FRows + static_cast<std::size_t>(FHeight - 1 - Row) * FRowBytes +
                                FSpineBytes + static_cast<std::size_t>(FSpineLeft) * FPixelBytes;
    const auto Count = static_cast<std::size_t>(std::max(FComposition.Geometry.SpineWidth, 0));
    if (FPixelBytes == 3)
        CopyReversed<3>(Spine, Target, Count);
    else if (FPixelBytes == 4)
        CopyReversed<4>(Spine, Target, Count);
    else
        for (std::size_t X = 0; X < Count; ++X)
            std::memcpy(Target + X * FPixelBytes, Spine + (Count - 1 - X) * FPixelBytes,
                        static_cast<std::size_t>(FPixelBytes));
    return Target;
}
