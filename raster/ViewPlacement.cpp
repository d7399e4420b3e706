#include "raster/ViewPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Nearest integer, halfway values to the even one (nearbyint under the default rounding mode),
// kept inside the 32-bit range.
std::int32_t RoundHalfToEven(double Value) {
    const double Rounded = std::nearbyint(Value);
    if (!(Rounded > std::numeric_limits<std::int32_t>::min()))
        return Rounded < 0 ? std::numeric_limits<std::int32_t>::min() : 0;
    if (Rounded >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(Rounded);
}

// A length times a single-precision factor: the product of a 32-bit integer and a float has at
// most 55 significant bits, so double holds it exactly for every length below 2^29.
std::int32_t ScaledLength(std::int32_t Length, float Factor) {
    return RoundHalfToEven(static_cast<double>(Length) * static_cast<double>(Factor));
}

// The quotient as the view stores it: formed in double, then kept in single precision.
float SingleRatio(std::int32_t Numerator, std::int32_t Denominator) {
    return static_cast<float>(static_cast<double>(Numerator) / static_cast<double>(Denominator));
}

} // namespace

TPixelSize OptimalScaledDisplaySize(TPixelSize Viewport, TPixelSize Bitmap, float Scale) {
    if (Bitmap.Width <= 0 || Bitmap.Height <= 0 || Viewport.Width <= 0 || Viewport.Height <= 0)
        return TPixelSize{0, 0};
    TPixelSize Size;
    const bool TooLarge = Viewport.Width < ScaledLength(Bitmap.Width, Scale) ||
                          Viewport.Height < ScaledLength(Bitmap.Height, Scale);
    if (TooLarge) {
        const float Sx = SingleRatio(Viewport.Width, Bitmap.Width);
        const float Sy = SingleRatio(Viewport.Height, Bitmap.Height);
        if (Sx >= Sy)
            Size = TPixelSize{ScaledLength(Bitmap.Width, Sy), Viewport.Height};
        else
            Size = TPixelSize{Viewport.Width, ScaledLength(Bitmap.Height, Sx)};
    } else {
        Size = TPixelSize{ScaledLength(Bitmap.Width, Scale), ScaledLength(Bitmap.Height, Scale)};
    }
    return TPixelSize{std::max(Size.Width, 0), std::max(Size.Height, 0)};
}

float CenteredDisplayOffset(std::int32_t ViewportLength, std::int32_t DisplayLength) {
    if (ViewportLength <= DisplayLength)
        return 0.0f;
    return static_cast<float>(
        (static_cast<double>(ViewportLength) - static_cast<double>(DisplayLength)) / 2.0);
}

TRect DisplayRectAt(TPixelSize DisplaySize, float OffsetX, float OffsetY) {
    const std::int32_t Left = RoundHalfToEven(OffsetX);
    const std::int32_t Top = RoundHalfToEven(OffsetY);
    // Offsets and sizes both lie inside the viewport, so the sums stay in range; saturate anyway
    // rather than wrap.
    const auto Add = [](std::int32_t A, std::int32_t B) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{A} + B, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
    };
    return TRect{Left, Top, Add(Left, DisplaySize.Width), Add(Top, DisplaySize.Height)};
}

std::vector<TRect> BackgroundBands(const TRect& DisplayRect, TPixelSize Control) {
    const TRect& R = DisplayRect;
    const std::int32_t W = Control.Width;
    const std::int32_t H = Control.Height;
    std::vector<TRect> Bands;
    if (R.Left <= 0 && R.Top <= 0 && R.Right >= W && R.Bottom >= H)
        return Bands;
    for (const TRect& Band :
         {TRect{0, 0, W, R.Top}, TRect{0, R.Bottom, W, H}, TRect{0, R.Top, R.Left, R.Bottom},
          TRect{R.Right, R.Top, W, R.Bottom}})
        if (!RectIsEmpty(Band))
            Bands.push_back(Band);
    return Bands;
}

std::int32_t BackBufferLength(std::int32_t Current, std::int32_t Target) {
    Target = std::max(Target, 0);
    std::int64_t Length = Current;
    if (Current < Target)
        Length = std::int64_t{Target} + BackBufferMargin;
    else if (std::int64_t{Current} - Target > BackBufferMargin)
        Length = Target;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(Length, 1, std::numeric_limits<std::int32_t>::max()));
}
