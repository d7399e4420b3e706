#include "composer/TrayInlayAtCut.h"

#include "composer/InlayLimits.h"
#include "composer/InlaySteps.h"
#include "composer/TrayInlay.h"

void ComposeTrayInlayAtCut(const TBitmap32& Input, const TSpineCut& Cut, double Position,
                           TBitmap32& Output) {
    const std::int32_t W = Input.Width();
    const std::int32_t H = Input.Height();
    const TSpineCut Strip = ScaledSpineCut(Cut, Position, W);
    const std::int32_t B = Strip.Width();
    const std::int32_t Back = Strip.Left;
    const std::int64_t ComposedWidth = std::int64_t{Back} + 2 * std::int64_t{B};
    const std::int64_t NormalHeight = ComposedWidth * InlayHeightRatio / InlayWidthRatio;
    // Refused before the output is touched and before any pixel memory is taken.
    CheckInlaySize(ComposedWidth, NormalHeight);

    Output.SetDimensions(static_cast<int>(ComposedWidth), H);
    // Back card and the spine after it, shifted right by one spine width.
    Output.DrawFrom(TRect{B, 0, Back + 2 * B, H}, TRect{0, 0, Back + B, H}, &Input);
    PlaceTurnedSpine(Input, Back, B, Output);
    NormaliseInlay(static_cast<int>(NormalHeight), Output);
}
