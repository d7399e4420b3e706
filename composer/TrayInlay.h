#pragma once

// The tray inlay: the back card of a CD cover with a strip of the spine on each side, the left
// strip turned by 180 degrees, brought to width : height = 1510 : 1175. ComposeInlay is the one
// entry into the composer: the window, both ways of the batch command and printing ask it (or
// PlanInlay, the same without the pixels) for the inlay, the cut it used and its print density.
//
// Every layout comes down to one strip of the input, the spine: columns L to L + B - 1.
//
//    input   |<-------- L -------->|<-B->|<------------ not used ------------>|
//            |      back card      |spine|   (a wrap-around's front)           |
//            0                     L   L + B                                   W
//
//    inlay   |<-B->|<-------- L -------->|<-B->|     Wc = L + 2B wide, H high, then stretched
//            |enips|      back card      |spine|     or squeezed to Hn = Wc * 1175 / 1510 rows
//             ^ the spine turned by 180 degrees       (every column kept)
//
// Where the strip lies (A: one layout unit, W / 285 or W / 151 in single precision; P: the spine
// scale, (Position + 100) / 100 in single precision; B = A * P * 6 rounded half to even):
//
//    back-and-front   L = Half = (W - B) / 2: back card, spine, front taken as 139.5 : 6 : 139.5
//    back             L = W - B: the back card's rightmost B columns serve as the spine
//    tray card        L = W, B = 0: the picture is a whole card already, spines included; it is
//                     only brought to 1510 : 1175
//    explicit cut     the strip the user moved or the spine finder found, (Left, Right) at
//                     position 0, widened or narrowed by P around its middle (ScaledSpineCut,
//                     composer/SpineCut.h); the layout plays no part (but for the tray card,
//                     which takes no cut)

#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"
#include "composer/TrayCard.h"
#include "raster/Bitmap32.h"
#include "raster/PrintDensity.h"

#include <cstdint>
#include <optional>

// Layout units across the input: a wrap-around cover is 285 wide, a back card (and a whole tray
// card) 151; a spine is 6 units at position 0.
inline constexpr int BackAndFrontUnits = 285;
inline constexpr int BackUnits = 151;
inline constexpr int SpineUnits = 6;

// What a composition is asked for, besides the picture.
struct TInlayRequest {
    TInlayLayout Layout = TInlayLayout::Back;
    double Position = 0; // the spine setting, one of -20, -15, ..., 20
    // An explicit cut, its edges at position 0; none: the layout's own cut. Not used in the
    // tray-card layout.
    std::optional<TSpineCut> Cut;
};

// The sizes of one composition, all derived from the input's size and the request.
struct TInlayGeometry {
    float UnitWidth;            // one layout unit in input pixels: W / 285 or W / 151 (single)
    float SpineScale;           // (Position + 100) / 100 (single)
    std::int32_t SpineWidth;    // B: the width of each spine strip of the inlay
    std::int32_t BackWidth;     // L: the back card's columns, left of the spine strip
    TSpineCut Strip;            // the cut used: input columns L to L + B - 1
    std::int64_t ComposedWidth; // L + 2B; may pass 2^31 - 1 for a back card of more than two
                                // billion columns
    std::int32_t ComposedHeight;
    std::int64_t NormalHeight; // ComposedWidth * 1175 / 1510, truncated
};

// What a composition gives besides the pixels.
struct TInlayComposition {
    TInlayGeometry Geometry;
    TPrintDensity Density; // prints the inlay TrayCardWidthMm wide; none for an empty inlay

    const TSpineCut& Cut() const noexcept { return Geometry.Strip; }
};

// The composition of a picture of Width x Height for Request, without pixels: where the spine
// strip lies (the explicit cut when one is given, else the layout's own), the sizes and the
// density. Not validated: an explicit cut has Left < Right.
TInlayComposition PlanInlay(std::int32_t Width, std::int32_t Height, const TInlayRequest& Request);

// Recomposes Inlay from Picture as PlanInlay plans it. Inlay is resized and overwritten in place
// and announces each step. An inlay too big to hold (composer/InlayLimits.h) is refused with
// EInlayTooLarge before anything is done, Inlay untouched. Otherwise
// throws what SetDimensions throws when a store cannot be had; Inlay then keeps what the
// completed steps left in it.
TInlayComposition ComposeInlay(const TBitmap32& Picture, const TInlayRequest& Request,
                               TBitmap32& Inlay);

// The geometry alone, at the layout's own cut.
inline TInlayGeometry ComputeInlayGeometry(std::int32_t Width, std::int32_t Height,
                                           TInlayLayout Layout, double Position) {
    return PlanInlay(Width, Height, TInlayRequest{Layout, Position, std::nullopt}).Geometry;
}

// The described composition: ComposeInlay at the layout's own cut.
inline void ComposeTrayInlay(const TBitmap32& Input, TInlayLayout Layout, double Position,
                             TBitmap32& Output) {
    ComposeInlay(Input, TInlayRequest{Layout, Position, std::nullopt}, Output);
}

// The same with the layout as a flag, BackAndFront true for TInlayLayout::BackAndFront.
inline TInlayGeometry ComputeInlayGeometry(std::int32_t Width, std::int32_t Height,
                                           bool BackAndFront, double Position) {
    return ComputeInlayGeometry(
        Width, Height, BackAndFront ? TInlayLayout::BackAndFront : TInlayLayout::Back, Position);
}
inline void ComposeTrayInlay(const TBitmap32& Input, bool BackAndFront, double Position,
                             TBitmap32& Output) {
    ComposeTrayInlay(Input, BackAndFront ? TInlayLayout::BackAndFront : TInlayLayout::Back,
                     Position, Output);
}
