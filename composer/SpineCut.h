#pragma once

// Where a composition cuts its input picture: the spine strip, columns Left to Right - 1. The
// back card is every column left of the strip; what lies right of it (the front of a wrap-around)
// is not used.
//
//    input   |<--------- back card --------->|<- spine ->|<------- not used ------->|
//            0                             Left        Right                        W
//
// ComposeInlay (composer/TrayInlay.h) cuts where the layout's proportions put the spine
// (DescribedSpineCut), or at an explicit cut: one the user moved, or one the spine finder found,
// whose two edges are those of the spine at slider position 0; the slider widens or narrows it
// around its centre (ScaledSpineCut).

#include "base/Exception.h"
#include "composer/InlayLayout.h"

#include <cstdint>

struct TSpineCut {
    std::int32_t Left;  // first column of the spine strip
    std::int32_t Right; // first column after it

    std::int32_t Width() const noexcept { return Right - Left; }
    friend bool operator==(const TSpineCut&, const TSpineCut&) = default;
};

enum class TSpineEdge : std::uint8_t { Left, Right };

// The spine scale P of a slider position: (Position + 100) / 100 in single precision, as the
// described composition forms it.
float SpineScale(double Position);

// The strip the layout's own cut takes as the spine of a picture Width columns wide: (Half,
// Half + B) in the back-and-front layout, (W - B, W) in the back layout, (W, W) for a whole tray
// card (PlanInlay).
TSpineCut DescribedSpineCut(std::int32_t Width, TInlayLayout Layout, double Position);

// The strip an explicit cut gives at slider position Position, in a picture Width columns wide:
// B' = (R - L) * P rounded half to even (at most Width), L' = L - (B' - (R - L)) div 2 (div
// truncating toward zero), then kept within 0 ... Width - B'; the strip is (L', L' + B'). Not
// validated: Left < Right.
TSpineCut ScaledSpineCut(const TSpineCut& Cut, double Position, std::int32_t Width);

// The explicit cut after the user moved one edge of the strip Shown (as the composition at
// Position shows it: ScaledSpineCut or DescribedSpineCut) to column Column, in a picture Width
// columns wide (at least 1). The moved edge is kept inside the picture and at least one column
// from the other edge. The result's ScaledSpineCut at Position keeps the other edge exactly
// where it was shown and puts the moved one at Column, or one column off where the slider's
// rounding leaves no cut that gives Column exactly.
TSpineCut MoveSpineCutEdge(const TSpineCut& Shown, TSpineEdge Edge, std::int32_t Column,
                           double Position, std::int32_t Width);

// The widths an explicit cut may have (its own width, at slider position 0), so that it stays a
// spine: from a quarter of the layout's own strip width at position 0 (rounded up, at least 1)
// to three times it (at least that least width).
struct TSpineCutWidths {
    std::int32_t Min;
    std::int32_t Max;
};
TSpineCutWidths ExplicitCutWidths(std::int32_t Width, TInlayLayout Layout);

// MoveSpineCutEdge with the moved edge stopped where the cut would be narrower than Widths.Min
// or wider than Widths.Max (as far as the picture leaves room).
TSpineCut MoveSpineCutEdge(const TSpineCut& Shown, TSpineEdge Edge, std::int32_t Column,
                           double Position, std::int32_t Width, const TSpineCutWidths& Widths);

// Raised for an explicit cut that a picture cannot take (CheckExplicitCut).
DECLARE_EXCEPTION_CLASS(ESpineCutError, Exception);

// Throws ESpineCutError when Cut is no strip of a picture Width columns wide (Left below 0,
// Right beyond Width, or Left not below Right), or its width lies outside ExplicitCutWidths, or
// the layout is the whole tray card, which takes no cut. The message says which and the widths.
void CheckExplicitCut(std::int32_t Width, TInlayLayout Layout, const TSpineCut& Cut);
