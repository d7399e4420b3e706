#pragma once

// The cut lines an image view draws over its picture, and the arithmetic that puts them on the
// screen and finds them under the pointer, free of any window toolkit so that tests can call it
// with plain numbers. Lengths are in the view's device pixels, columns in the bitmap's.
//
//    DisplayRect +----------------------+--+---------------------+
//                |                      |  |/////// dimmed //////|
//                |       the picture    |  |/////////////////////|
//                +----------------------+--+---------------------+
//                                       ^  ^
//                       the Left line --+  +-- the Right line: columns from Right on are dimmed
//
// A line stands on the boundary before its column: at the first view column that shows that
// bitmap column (or one right of it) under the view's nearest-neighbour sampling.

#include "raster/Rect.h"

#include <cstdint>
#include <optional>

enum class TCutLine : std::uint8_t { Left, Right };

struct TCutLines {
    std::int32_t Left;  // the boundary before this bitmap column
    std::int32_t Right; // the same; this column and all right of it are dimmed

    friend bool operator==(const TCutLines&, const TCutLines&) = default;
};

// The view column at which the boundary before bitmap column Column lies, for a bitmap
// BitmapWidth columns wide shown in DisplayRect: the first view column whose sampled bitmap
// column is Column or more (as the view's stretch samples: view column i shows bitmap column
// i * BitmapWidth / DisplayWidth, the factor in single precision, truncated); DisplayRect.Left
// for a Column of 0 or less, DisplayRect.Right for BitmapWidth or more. An empty DisplayRect
// gives its Left.
std::int32_t ViewColumnOfBitmapColumn(std::int32_t Column, const TRect& DisplayRect,
                                      std::int32_t BitmapWidth);

// The bitmap boundary nearest to the view position X (device pixels, fractions allowed):
// (X - DisplayRect.Left) * BitmapWidth / DisplayWidth rounded half to even, kept within 0 ...
// BitmapWidth. An empty DisplayRect gives 0.
std::int32_t BitmapColumnAtViewX(double X, const TRect& DisplayRect, std::int32_t BitmapWidth);

// The line under the pointer at view position X, the lines standing at view columns LeftX and
// RightX: the nearer one no farther than Tolerance; of two lines equally near (drawn at one
// place), the Left one when the pointer is left of it, else the Right one. None beyond
// Tolerance.
std::optional<TCutLine> CutLineAt(double X, std::int32_t LeftX, std::int32_t RightX,
                                  double Tolerance);
