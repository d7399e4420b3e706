#pragma once

// The steps that every composition of the tray inlay shares: the described one
// (composer/TrayInlay.cpp) and the one at an explicit cut (composer/TrayInlayAtCut.cpp).

#include "raster/Bitmap32.h"

#include <cstdint>

// Cuts columns SpineLeft to SpineLeft + SpineWidth - 1 of Input, turns them by 180 degrees and
// puts them into Output's leftmost SpineWidth columns. Not validated: the strip lies inside
// Input, and Output is at least SpineWidth wide and as high as Input.
void PlaceTurnedSpine(const TBitmap32& Input, std::int32_t SpineLeft, std::int32_t SpineWidth,
                      TBitmap32& Output);

// Stretches or squeezes Output vertically to NormalHeight (nearest-neighbour); the width stays.
// Nothing happens when Output already has that height.
void NormaliseInlay(int NormalHeight, TBitmap32& Output);
