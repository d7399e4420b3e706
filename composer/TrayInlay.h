#pragma once

// The tray inlay: the back card of a CD cover with a strip of the spine on each side, the left
// strip turned by 180 degrees, brought to width : height = 1510 : 1175.

#include "composer/InlayLayout.h"
#include "raster/Bitmap32.h"

#include <cstdint>

// The sizes of one composition, all derived from the input's size, the layout and the spine
// setting (the slider position, one of -20, -15, ..., 20).
struct TInlayGeometry {
    float UnitWidth;            // one layout unit in input pixels: W / 285 or W / 151 (single)
    float SpineScale;           // (Position + 100) / 100 (single)
    std::int32_t SpineWidth;    // UnitWidth * SpineScale * 6, rounded half to even
    std::int32_t BackWidth;     // back-and-front layout: (W - SpineWidth) / 2; back layout: W
    std::int64_t ComposedWidth; // back card and two spine strips; may pass 2^31 - 1 for a back
                                // card of more than two billion columns
    std::int32_t ComposedHeight;
    std::int64_t NormalHeight; // ComposedWidth * 1175 / 1510, truncated
};

// Layout units across the input: a wrap-around cover is 285 wide, a back card 151.
inline constexpr int BackAndFrontUnits = 285;
inline constexpr int BackUnits = 151;
inline constexpr int SpineUnits = 6;
inline constexpr int InlayWidthRatio = 1510;
inline constexpr int InlayHeightRatio = 1175;

TInlayGeometry ComputeInlayGeometry(std::int32_t Width, std::int32_t Height, TInlayLayout Layout,
                                    double Position);

// Recomposes Output from Input. Layout BackAndFront: the input is back card, spine and front
// side by side; Back: it is the back card alone and its rightmost strip serves as the spine.
// Output is resized and overwritten in place and announces each step. An inlay too big to hold
// (composer/InlayLimits.h) is refused with EInlayTooLarge before
// anything is done, Output untouched. Otherwise throws what SetDimensions throws when a store
// cannot be had; Output then keeps what the completed steps left in it.
void ComposeTrayInlay(const TBitmap32& Input, TInlayLayout Layout, double Position,
                      TBitmap32& Output);

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
