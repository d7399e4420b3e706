#pragma once

// Where an image view shows its bitmap: the arithmetic of fit-and-centre, free of any window
// toolkit so that tests can call it with plain numbers. All lengths are in the view's pixels.
//
//        Viewport (VW x VH)
//   +---------------------------+   The bitmap is shown at its own size when it fits, otherwise
//   |          top band         |   shrunk with its aspect ratio kept until one side fills the
//   +------+-------------+------+   viewport. It is centred; the offsets are single-precision
//   | left | DisplayRect | right|   and may end in .5, and are rounded half to even only when
//   +------+-------------+------+   the rectangle is formed. The bands around it get the
//   |        bottom band        |   background colour.
//   +---------------------------+

#include "raster/Rect.h"

#include <cstdint>
#include <vector>

struct TPixelSize {
    std::int32_t Width;
    std::int32_t Height;

    friend bool operator==(const TPixelSize&, const TPixelSize&) = default;
};

// The size at which a Bitmap-sized picture is shown in a Viewport-sized view that shrinks to fit
// when the picture at Scale is larger than the viewport, and otherwise shows it at Scale (never
// enlarging it beyond that). The fit uses the single-precision factors sx = VW / BW and
// sy = VH / BH: sx >= sy gives (BW * sy rounded, VH), otherwise (VW, BH * sx rounded). An empty
// bitmap or viewport gives (0, 0); a side that comes out non-positive becomes 0. Scale is taken
// as given (the views use 1.0); it is not raised to a minimum here.
TPixelSize OptimalScaledDisplaySize(TPixelSize Viewport, TPixelSize Bitmap, float Scale = 1.0f);

// The offset along one axis that centres DisplayLength in ViewportLength: (VL - DL) / 2 as a
// single-precision value when the viewport is longer, otherwise 0 (the image then starts at the
// viewport's edge).
float CenteredDisplayOffset(std::int32_t ViewportLength, std::int32_t DisplayLength);

// The view pixels covered by an image of DisplaySize whose top-left corner lies at (OffsetX,
// OffsetY): (0, 0, w, h) moved by the offsets rounded half to even, so 383.5 and 384.5 both give
// 384. The view of an empty bitmap covers nothing at all, (0, 0, 0, 0); callers form that case
// themselves.
TRect DisplayRectAt(TPixelSize DisplaySize, float OffsetX, float OffsetY);

// The non-empty parts of a Control-sized view around DisplayRect, in the order top, bottom, left,
// right: (0, 0, W, R.Top), (0, R.Bottom, W, H), (0, R.Top, R.Left, R.Bottom),
// (R.Right, R.Top, W, R.Bottom). None when DisplayRect covers the whole control. DisplayRect may
// reach outside the control; the bands are not cut to it.
std::vector<TRect> BackgroundBands(const TRect& DisplayRect, TPixelSize Control);

// The margin by which a view's back buffer grows beyond what it needs, and by which the view may
// shrink before the buffer follows.
inline constexpr std::int32_t BackBufferMargin = 40;

// One side of a back buffer of length Current after the viewport became Target long (negative
// counts as 0): Target + 40 when the buffer is too short, Target when it is more than 40 too long,
// Current otherwise; never below 1.
std::int32_t BackBufferLength(std::int32_t Current, std::int32_t Target);
