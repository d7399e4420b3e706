#pragma once

// Turning a picture upright as the orientation tag of its file (the EXIF tag that cameras and
// phones write) says it must be shown. The tag's eight values, each shown with the stored
// picture of an upright "F":
//
//   1 as stored       2 mirrored           3 turned by 180      4 mirrored
//                       left-right                                top-bottom
//   5 mirrored along  6 turned by 90       7 mirrored along     8 turned by 90
//     the diagonal      degrees clockwise    the other diagonal   degrees counter-clockwise
//     from top-left                          (top-right)
//
// that is, what the stored picture needs to become upright.

#include "raster/Bitmap32.h"

// Turns and mirrors Bitmap so that a picture stored with the orientation tag Orientation shows
// upright (the table above). 1 and every value other than 2 to 8 leave it as it is. Values 2 to 4
// work in place; 5 to 8 swap width and height through a new store, and throw what SetDimensions
// throws when it cannot be had, the bitmap then being unchanged. Announces one change (and a
// resize when width and height were swapped); the settings stay.
void OrientUpright(TBitmap32& Bitmap, int Orientation);

// Target takes Source's size and pixels (its store, not a copy) and keeps its own settings;
// Source is left empty. Target announces what TakeFrom announces.
void TakePixelsKeepingSettings(TBitmap32& Target, TBitmap32& Source);
