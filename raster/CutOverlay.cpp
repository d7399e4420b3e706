#include "raster/CutOverlay.h"

#include <algorithm>
#include <cmath>

namespace {

// The bitmap column that view column Index (counted from the display's left) shows: the view's
// stretch samples Index * Scale, truncated, with the scale in single precision, and a display
// one column wide shows the middle column.
std::int64_t SampledColumn(std::int64_t Index, std::int64_t DisplayWidth,
                           std::int32_t BitmapWidth) {
    if (DisplayWidth == 1)
        return (std::int64_t{BitmapWidth} - 1) / 2;
    const auto Scale =
        static_cast<float>(static_cast<double>(BitmapWidth) / static_cast<double>(DisplayWidth));
    const double Exact = static_cast<double>(Index) * static_cast<double>(Scale);
    return std::min(static_cast<std::int64_t>(Exact), std::int64_t{BitmapWidth} - 1);
}

} // namespace

std::int32_t ViewColumnOfBitmapColumn(std::int32_t Column, const TRect& DisplayRect,
                                      std::int32_t BitmapWidth) {
    const std::int64_t DisplayWidth = std::int64_t{DisplayRect.Right} - DisplayRect.Left;
    if (DisplayWidth <= 0 || BitmapWidth <= 0 || Column <= 0)
        return DisplayRect.Left;
    if (Column >= BitmapWidth)
        return DisplayRect.Right;
    // The sampled columns never decrease from left to right: search the first that reaches
    // Column.
    std::int64_t Low = 0;
    std::int64_t High = DisplayWidth;
    while (Low < High) {
        const std::int64_t Middle = Low + (High - Low) / 2;
        if (SampledColumn(Middle, DisplayWidth, BitmapWidth) >= Column)
            High = Middle;
        else
            Low = Middle + 1;
    }
    return static_cast<std::int32_t>(DisplayRect.Left + Low);
}

std::int32_t BitmapColumnAtViewX(double X, const TRect& DisplayRect, std::int32_t BitmapWidth) {
    const std::int64_t DisplayWidth = std::int64_t{DisplayRect.Right} - DisplayRect.Left;
    if (DisplayWidth <= 0 || BitmapWidth <= 0)
        return 0;
    const double Column =
        std::nearbyint((X - DisplayRect.Left) * BitmapWidth / static_cast<double>(DisplayWidth));
    if (!std::isfinite(Column))
        return 0;
    return static_cast<std::int32_t>(std::clamp(Column, 0.0, static_cast<double>(BitmapWidth)));
}

std::optional<TCutLine> CutLineAt(double X, std::int32_t LeftX, std::int32_t RightX,
                                  double Tolerance) {
    const double ToLeft = std::abs(X - LeftX);
    const double ToRight = std::abs(X - RightX);
    if (std::min(ToLeft, ToRight) > Tolerance)
        return std::nullopt;
    if (ToLeft < ToRight)
        return TCutLine::Left;
    if (ToRight < ToLeft)
        return TCutLine::Right;
    return X < LeftX ? TCutLine::Left : TCutLine::Right;
}
