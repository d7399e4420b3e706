#pragma once

// Quarter turns of a whole picture: a scan made sideways or upside down, turned as the user
// asks. Every pixel moves to its new place unchanged, so four turns give back the picture bit
// for bit.

#include "base/Exception.h"
#include "raster/Bitmap32.h"

DECLARE_EXCEPTION_CLASS(EQuarterTurn, Exception);

// Whether Degrees is a quarter turn this module makes: 0, 90, 180 or 270.
bool IsQuarterTurn(int Degrees) noexcept;

// Turns Bitmap clockwise by Degrees (0, 90, 180 or 270; 0 leaves it as it is and announces
// nothing). 90 and 270 swap width and height through a new store, and throw what SetDimensions
// throws when it cannot be had, the bitmap then being unchanged. Throws EQuarterTurn for any
// other angle, before changing anything. Announces one change (and a resize when width and height
// were swapped); the settings stay.
void TurnClockwise(TBitmap32& Bitmap, int Degrees);
