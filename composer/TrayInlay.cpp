#include "composer/TrayInlay.h"

#include "composer/InlayLimits.h"
#include "composer/InlaySteps.h"

#include <cmath>

// Back-and-front layout: the input is a wrap-around cover, the output the inlay.
//
//    input   |<---- Half ---->|<-B->|<------------ front (unused) ------------>|
//            |   back card    |spine|                                          |
//
//    output  |<-B->|<---- Half ---->|<-B->|
//            |enips|   back card    |spine|   left strip: the spine turned by 180 degrees
//
// Back layout: the input is the back card; its rightmost B columns serve as the spine.
//
//    input   |<---------- W --------->|        output  |<-B->|<---------- W --------->|
//            |   back card      |spine|                |enips|   back card      |spine|
//
// Both outputs are then stretched or squeezed vertically to the height that gives 1510 : 1175.

TInlayGeometry ComputeInlayGeometry(std::int32_t Width, std::int32_t Height, TInlayLayout Layout,
                                    double Position) {
    const bool BackAndFront = Layout == TInlayLayout::BackAndFront;
    TInlayGeometry G{};
    // Single precision for the unit and the scale is part of the result: W = 475 at -15 gives a
    // spine of 9, where exact fractions would give 8.5 and round to 8.
    G.UnitWidth = static_cast<float>(Width) /
                  static_cast<float>(BackAndFront ? BackAndFrontUnits : BackUnits);
    G.SpineScale = (static_cast<float>(Position) + 100.0f) / 100.0f;
    // The product of two singles and 6 is exact in double; nearbyint rounds half to even.
    G.SpineWidth = static_cast<std::int32_t>(std::nearbyint(
        static_cast<double>(G.UnitWidth) * static_cast<double>(G.SpineScale) * SpineUnits));
    if (BackAndFront) {
        G.BackWidth = (Width - G.SpineWidth) / 2;
        G.ComposedWidth = std::int64_t{G.BackWidth} + 2 * std::int64_t{G.SpineWidth};
    } else {
        G.BackWidth = Width;
        G.ComposedWidth = std::int64_t{Width} + G.SpineWidth;
    }
    G.ComposedHeight = Height;
    G.NormalHeight = G.ComposedWidth * InlayHeightRatio / InlayWidthRatio;
    return G;
}

void PlaceTurnedSpine(const TBitmap32& Input, std::int32_t SpineLeft, std::int32_t SpineWidth,
                      TBitmap32& Output) {
    const std::int32_t H = Input.Height();
    TBitmap32 Spine;
    Spine.SetDimensions(SpineWidth, H);
    Spine.DrawFrom(TRect{0, 0, SpineWidth, H}, TRect{SpineLeft, 0, SpineLeft + SpineWidth, H},
                   &Input);
    Spine.MirrorHorizontal();
    Spine.MirrorVertical();
    Output.DrawFrom(TRect{0, 0, SpineWidth, H}, TRect{0, 0, SpineWidth, H}, &Spine);
}

void NormaliseInlay(int NormalHeight, TBitmap32& Output) {
    if (NormalHeight == Output.Height())
        return;
    const std::int32_t W = Output.Width();
    TBitmap32 Normal;
    Normal.SetDimensions(W, NormalHeight);
    Normal.DrawFrom(TRect{0, 0, W, NormalHeight}, TRect{0, 0, W, Output.Height()}, &Output);
    // Normal is thrown away next, so its store is handed over rather than copied.
    Output.TakeFrom(Normal);
}

void ComposeTrayInlay(const TBitmap32& Input, TInlayLayout Layout, double Position,
                      TBitmap32& Output) {
    const std::int32_t W = Input.Width();
    const std::int32_t H = Input.Height();
    const TInlayGeometry G = ComputeInlayGeometry(W, H, Layout, Position);
    const std::int32_t B = G.SpineWidth;
    // Refused before the output is touched and before any pixel memory is taken.
    CheckInlaySize(G.ComposedWidth, G.NormalHeight);

    Output.SetDimensions(static_cast<int>(G.ComposedWidth), H);
    if (Layout == TInlayLayout::BackAndFront) {
        const std::int32_t Half = G.BackWidth;
        // Back card and the spine after it, shifted right by one spine width.
        Output.DrawFrom(TRect{B, 0, Half + 2 * B, H}, TRect{0, 0, Half + B, H}, &Input);
        PlaceTurnedSpine(Input, Half, B, Output);
    } else {
        Output.DrawFrom(TRect{B, 0, W + B, H}, TRect{0, 0, W, H}, &Input);
        PlaceTurnedSpine(Input, W - B, B, Output);
    }
    NormaliseInlay(static_cast<int>(G.NormalHeight), Output);
}
