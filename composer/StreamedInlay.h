#pragma once

// TStreamedInlay: the tray inlay composed while the input picture arrives row by row, for the
// batch command's fast way from a scan file to an inlay file. It gives the same pixels as
// ComposeInlay followed by its normalisation, without a composed or normalised bitmap: the
// input rows are kept once, each with room for a spine strip at its left, and final row Y is
// input row R (the composed row that the normalisation takes for Y) with the spine of input row
// H - 1 - R turned into that room.
//
//    kept row R   |<-B->|<-------- InputColumns -------->|...|
//                 |enips|   back card (and front) |spine|   |   (the padding at the right is the
//                  ^ filled from row H - 1 - R's spine,        decoder's, never handed out)
//                    last pixel first
//
// Pixels are PixelBytes bytes each (3 for blue, green, red; 4 for TColor32) and are moved as
// they are. The window keeps ComposeInlay, whose steps its views follow.

#include "composer/InlayLayout.h"
#include "composer/TrayInlay.h"
#include "raster/PixelStore.h"

#include <cstddef>
#include <cstdint>

// The input columns an inlay uses, [0, InlayInputColumns): the back card and its spine strip (a
// wrap-around's front is never used).
std::int32_t InlayInputColumns(const TInlayGeometry& Geometry) noexcept;

class TStreamedInlay {
public:
    // Width x Height is the input picture's size. Every input row holds RowPixels pixels (at
    // least InlayInputColumns; more where a decoder delivers more than asked), of which the
    // first InlayInputColumns count. Throws EInlayTooLarge when the
    // inlay would be wider than a bitmap can be or its rows cannot be had, as ComposeTrayInlay
    // does.
    TStreamedInlay(std::int32_t Width, std::int32_t Height, const TInlayRequest& Request,
                   int PixelBytes, std::int32_t RowPixels);
    // At the layout's own cut.
    TStreamedInlay(std::int32_t Width, std::int32_t Height, TInlayLayout Layout, double Position,
                   int PixelBytes, std::int32_t RowPixels)
        : TStreamedInlay(Width, Height, TInlayRequest{Layout, Position, std::nullopt}, PixelBytes,
                         RowPixels) {}

    // What PlanInlay says of the composition: the cut used and the density among it.
    const TInlayComposition& Composition() const noexcept { return FComposition; }
    const TInlayGeometry& Geometry() const noexcept { return FComposition.Geometry; }
    std::int32_t InputColumns() const noexcept { return FInputColumns; }
    std::int32_t InlayWidth() const noexcept {
        return static_cast<std::int32_t>(FComposition.Geometry.ComposedWidth);
    }
    // 0 when the inlay is empty (a composed width of 1 has a normal height of 0).
    std::int32_t InlayHeight() const noexcept {
        return FInlayEmpty ? 0 : static_cast<std::int32_t>(FComposition.Geometry.NormalHeight);
    }

    // Where input row Y (0 <= Y < Height) goes: RowPixels pixels. Rows may be filled in any order
    // and from several threads at once, each row by one.
    std::uint8_t* InputRow(std::int32_t Y) noexcept {
        return FRows + static_cast<std::size_t>(Y) * FRowBytes + FSpineBytes;
    }

    // The input row that final row Y (0 <= Y < InlayHeight) is made from.
    std::int32_t SourceRow(std::int32_t Y) const noexcept;

    // Final row Y of the inlay, InlayWidth pixels, once every input row is in. Writes the turned
    // spine into the row's room, so rows are asked for from one thread; the row stays valid as
    // long as the inlay.
    const std::uint8_t* InlayRow(std::int32_t Y) noexcept;

private:
    TInlayComposition FComposition;
    std::int32_t FInputColumns;
    std::int32_t FHeight;
    std::int32_t FSpineLeft; // first input column of the spine strip
    int FPixelBytes;
    bool FInlayEmpty;
    std::size_t FSpineBytes;
    std::size_t FRowBytes;
    TPixelBlock FBlock;
    std::uint8_t* FRows = nullptr;
};
