#include "composer/SpineCut.h"

#include "composer/TrayInlay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Width * Scale rounded half to even, as the spine width is rounded; exact in double for every
// 32-bit width and single-precision scale.
std::int64_t ScaledWidth(std::int64_t Width, float Scale) {
    return static_cast<std::int64_t>(
        std::nearbyint(static_cast<double>(Width) * static_cast<double>(Scale)));
}

} // namespace

float SpineScale(double Position) {
    return (static_cast<float>(Position) + 100.0f) / 100.0f;
}

TSpineCut DescribedSpineCut(std::int32_t Width, TInlayLayout Layout, double Position) {
    return PlanInlay(Width, 1, TInlayRequest{Layout, Position, std::nullopt}).Cut();
}

TSpineCut ScaledSpineCut(const TSpineCut& Cut, double Position, std::int32_t Width) {
    const std::int64_t W = std::max(Width, 0);
    const std::int64_t CutWidth = std::int64_t{Cut.Right} - Cut.Left;
    const std::int64_t B =
        std::clamp<std::int64_t>(ScaledWidth(CutWidth, SpineScale(Position)), 0, W);
    // Integer division truncates toward zero, so a narrowed strip moves right by the half
    // that is rounded away.
    const std::int64_t Left = std::clamp<std::int64_t>(Cut.Left - (B - CutWidth) / 2, 0, W - B);
    return TSpineCut{static_cast<std::int32_t>(Left), static_cast<std::int32_t>(Left + B)};
}

TSpineCut MoveSpineCutEdge(const TSpineCut& Shown, TSpineEdge Edge, std::int32_t Column,
                           double Position, std::int32_t Width) {
    return MoveSpineCutEdge(Shown, Edge, Column, Position, Width,
                            TSpineCutWidths{1, std::max(Width, 1)});
}

TSpineCut MoveSpineCutEdge(const TSpineCut& Shown, TSpineEdge Edge, std::int32_t Column,
                           double Position, std::int32_t Width, const TSpineCutWidths& Widths) {
    const std::int32_t W = std::max(Width, 1);
    const float P = SpineScale(Position);
    // The shown strip inside the picture and at least one column wide.
    const std::int32_t ShownLeft = std::clamp(Shown.Left, 0, W - 1);
    const std::int32_t ShownRight = std::clamp(Shown.Right, ShownLeft + 1, W);

    // The strip wanted: one edge moved, the other kept.
    const bool MoveLeft = Edge == TSpineEdge::Left;
    const std::int32_t WantedLeft = MoveLeft ? std::clamp(Column, 0, ShownRight - 1) : ShownLeft;
    const std::int32_t WantedRight = MoveLeft ? ShownRight : std::clamp(Column, ShownLeft + 1, W);
    const std::int64_t Wanted = WantedRight - WantedLeft;

    const auto Scaled = [&](std::int64_t CutWidth) {
        return std::min<std::int64_t>(ScaledWidth(CutWidth, P), W);
    };
    // The cut width whose scaled width comes nearest to the wanted one: not every width is the
    // scaled width of some cut (at +20 none gives 3), so the neighbours are tried too.
    const std::int64_t First =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(std::nearbyint(
                                      static_cast<double>(Wanted) / static_cast<double>(P))));
    std::int64_t CutWidth = First;
    for (const std::int64_t Candidate : {First - 1, First + 1})
        if (Candidate >= 1 &&
            std::llabs(Scaled(Candidate) - Wanted) < std::llabs(Scaled(CutWidth) - Wanted))
            CutWidth = Candidate;
    // The drag stops where the cut would stop being a spine.
    CutWidth = std::clamp<std::int64_t>(CutWidth, std::max(Widths.Min, 1),
                                        std::max(Widths.Max, std::max(Widths.Min, 1)));
    // The strip must fit beside the kept edge; a one-column cut always does (P rounds to 1).
    const std::int64_t Room = MoveLeft ? WantedRight : W - WantedLeft;
    while (CutWidth > 1 && Scaled(CutWidth) > Room)
        --CutWidth;

    const std::int64_t B = Scaled(CutWidth);
    const std::int64_t StripLeft = MoveLeft ? WantedRight - B : WantedLeft;
    // ScaledSpineCut moves the left edge by (B - CutWidth) div 2; this undoes it.
    const std::int64_t Left = StripLeft + (B - CutWidth) / 2;
    return TSpineCut{static_cast<std::int32_t>(Left), static_cast<std::int32_t>(Left + CutWidth)};
}

TSpineCutWidths ExplicitCutWidths(std::int32_t Width, TInlayLayout Layout) {
    const std::int64_t Own = DescribedSpineCut(Width, Layout, 0).Width();
    const std::int64_t Min = std::max<std::int64_t>((Own + 3) / 4, 1);
    const std::int64_t Max = std::max<std::int64_t>(3 * Own, Min);
    return TSpineCutWidths{static_cast<std::int32_t>(Min),
                           static_cast<std::int32_t>(std::min<std::int64_t>(Max, INT32_MAX))};
}

void CheckExplicitCut(std::int32_t Width, TInlayLayout Layout, const TSpineCut& Cut) {
    const std::string Columns = std::to_string(Cut.Left) + ":" + std::to_string(Cut.Right);
    if (Layout == TInlayLayout::TrayCard)
        throw ESpineCutError("A whole tray card takes no cut");
    if (Cut.Left < 0 || Cut.Right > Width || Cut.Left >= Cut.Right)
        throw ESpineCutError("The cut " + Columns + " lies outside the picture, which is " +
                             std::to_string(Width) + " columns wide");
    const TSpineCutWidths Widths = ExplicitCutWidths(Width, Layout);
    const std::int64_t CutWidth = std::int64_t{Cut.Right} - Cut.Left;
    if (CutWidth < Widths.Min || CutWidth > Widths.Max)
        throw ESpineCutError("The cut " + Columns + " is " + std::to_string(CutWidth) +
                             (CutWidth == 1 ? " column" : " columns") +
                             " wide; a spine of this picture is " + std::to_string(Widths.Min) +
                             " to " + std::to_string(Widths.Max) + " columns wide");
}
