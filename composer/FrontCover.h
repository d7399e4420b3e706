#pragma once

// The front cover of a CD jewel case: a square, printed 120 x 120 mm. A picture of it that is not
// square is cut square from its middle; a wrap-around picture (back card, spine, front) holds it
// right of the spine strip.
//
//    wrap-around  |<------ back card ------>|spine|<--------- front --------->|
//                                               Right   +---------------+
//                                                       | middle square |
//                                                       +---------------+

#include "base/Exception.h"
#include "composer/SpineCut.h"
#include "raster/Rect.h"

#include <cstdint>
#include <string>

class TBitmap32;

DECLARE_EXCEPTION_CLASS(EFrontCoverError, Exception);

// A cut that takes more than this share of the longer side (per cent) is worth telling.
inline constexpr double FrontSquareNoticeShare = 3.0;

// The square taken from the middle of a picture's part.
struct TSquareCut {
    TRect Area;          // the square: min(width, height) a side
    std::int32_t Cut;    // columns (of a wider part) or rows (of a higher one) left out
    std::int32_t Longer; // the part's longer side
    bool Columns;        // whether the columns were cut (the part is wider than high)
    double Share() const noexcept { return Longer > 0 ? 100.0 * Cut / Longer : 0; }
};

// The square in the middle of Part (not empty): its side the shorter of Part's two, as many
// columns or rows left out on the left or top as the truncated half of the difference.
TSquareCut MiddleSquare(const TRect& Part);

// The part of a back-and-front picture Width x Height right of the spine strip Cut (as the
// composition's cut puts it, at slider position 0): columns Cut.Right to Width. Throws
// EFrontCoverError when nothing lies right of the strip.
TRect FrontOfCover(std::int32_t Width, std::int32_t Height, const TSpineCut& Cut);

// Copies Area (inside Picture) of Picture into Square, which takes its size. Throws what
// SetDimensions throws.
void CopyPictureArea(const TBitmap32& Picture, const TRect& Area, TBitmap32& Square);

// What a cut of more than FrontSquareNoticeShare says, "" for less: "not square: 180 of its 1400
// columns (12.9 %) cut off to make the front cover square".
std::string SquareCutNotice(const TSquareCut& Cut);
