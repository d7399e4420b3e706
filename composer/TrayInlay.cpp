#include "composer/TrayInlay.h"

#include "composer/InlayLimits.h"

#include <cmath>

namespace {

// The strip the layout's proportions give: B = A * P * 6 rounded half to even, at the back
// card's right edge (back layout) or after the back card's half of what remains (back and
// front); a whole tray card has none, all its columns being the card.
TSpineCut LayoutStrip(std::int32_t Width, TInlayLayout Layout, float UnitWidth, float Scale) {
    if (Layout == TInlayLayout::TrayCard)
        return TSpineCut{Width, Width};
    // The product of two singles and 6 is exact in double; nearbyint rounds half to even.
    const auto B = static_cast<std::int32_t>(
        std::nearbyint(static_cast<double>(UnitWidth) * static_cast<double>(Scale) * SpineUnits));
    const std::int32_t Left = Layout == TInlayLayout::BackAndFront ? (Width - B) / 2 : Width - B;
    return TSpineCut{Left, Left + B};
}

// Cuts columns SpineLeft to SpineLeft + SpineWidth - 1 of Input, turns them by 180 degrees and
// puts them into Output's leftmost SpineWidth columns.
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

// Stretches or squeezes Output vertically to NormalHeight (nearest-neighbour); the width stays.
// Nothing happens when Output already has that height.
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

} // namespace

TInlayComposition PlanInlay(std::int32_t Width, std::int32_t Height, const TInlayRequest& Request) {
    const TInlayLayout Layout = Request.Layout;
    TInlayGeometry G{};
    // Single precision for the unit and the scale is part of the result: W = 475 at -15 gives a
    // spine of 9, where exact fractions would give 8.5 and round to 8.
    G.UnitWidth =
        static_cast<float>(Width) /
        static_cast<float>(Layout == TInlayLayout::BackAndFront ? BackAndFrontUnits : BackUnits);
    G.SpineScale = SpineScale(Request.Position);
    G.Strip = Request.Cut && Layout != TInlayLayout::TrayCard
                  ? ScaledSpineCut(*Request.Cut, Request.Position, Width)
                  : LayoutStrip(Width, Layout, G.UnitWidth, G.SpineScale);
    G.SpineWidth = G.Strip.Width();
    G.BackWidth = G.Strip.Left;
    G.ComposedWidth = std::int64_t{G.BackWidth} + 2 * std::int64_t{G.SpineWidth};
    G.ComposedHeight = Height;
    G.NormalHeight = G.ComposedWidth * InlayHeightRatio / InlayWidthRatio;
    return TInlayComposition{G, TrayCardDensity(G.ComposedWidth)};
}

TInlayComposition ComposeInlay(const TBitmap32& Picture, const TInlayRequest& Request,
                               TBitmap32& Inlay) {
    const std::int32_t H = Picture.Height();
    const TInlayComposition Plan = PlanInlay(Picture.Width(), H, Request);
    const TInlayGeometry& G = Plan.Geometry;
    const std::int32_t B = G.SpineWidth;
    const std::int32_t L = G.BackWidth;
    // Refused before the inlay is touched and before any pixel memory is taken.
    CheckInlaySize(G.ComposedWidth, G.NormalHeight);

    Inlay.SetDimensions(static_cast<int>(G.ComposedWidth), H);
    // The back card and the spine after it, shifted right by one spine width (a block copy).
    Inlay.DrawFrom(TRect{B, 0, L + 2 * B, H}, TRect{0, 0, L + B, H}, &Picture);
    PlaceTurnedSpine(Picture, L, B, Inlay);
    NormaliseInlay(static_cast<int>(G.NormalHeight), Inlay);
    return Plan;
}
