#pragma once

// Rectangles of pixels: Left, Top, Right, Bottom, with Right and Bottom exclusive.

#include <algorithm>
#include <cstdint>

struct TRect {
    std::int32_t Left;
    std::int32_t Top;
    std::int32_t Right;
    std::int32_t Bottom;

    friend bool operator==(const TRect&, const TRect&) = default;
};

// Width and height in 64 bits: the difference of two 32-bit coordinates may not fit in 32.
inline std::int64_t RectWidth(const TRect& R) {
    return std::int64_t{R.Right} - R.Left;
}
inline std::int64_t RectHeight(const TRect& R) {
    return std::int64_t{R.Bottom} - R.Top;
}

// A rectangle is empty unless it has a positive width and a positive height.
inline bool RectIsEmpty(const TRect& R) {
    return !(R.Right > R.Left && R.Bottom > R.Top);
}

// The common part of two rectangles. A result of zero width or height keeps its position;
// rectangles that do not touch give (0, 0, 0, 0).
inline TRect IntersectRects(const TRect& R1, const TRect& R2) {
    const TRect Result{std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top),
                       std::min(R1.Right, R2.Right), std::min(R1.Bottom, R2.Bottom)};
    if (Result.Right >= Result.Left && Result.Bottom >= Result.Top)
        return Result;
    return TRect{0, 0, 0, 0};
}
