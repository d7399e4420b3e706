#pragma once

// Colours of controls: 32-bit values 00BBGGRR, as a window description stores them. A negative
// value names a system colour instead (its low byte is the colour's index in the system's colour
// table), which is resolved before use. For painting into a bitmap a colour becomes an opaque
// pixel.

#include "raster/Bitmap32.h"

#include <cstdint>
#include <functional>

using TColor = std::int32_t;

// The bit that marks a system colour, and the system colours the program names.
inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
inline constexpr TColor clBtnFace = clSystemColor | 15;

// Turns a system colour (a negative TColor) into a plain 00BBGGRR colour.
using TSystemColorResolver = std::function<TColor(TColor SystemColor)>;

// The opaque pixel of Color: alpha 255, red, green and blue from the value, so 0x00EEE7E4 gives
// 0xFFE4E7EE. A negative Color is resolved first; without a resolver it counts as black. Bits
// above the blue byte of a resolved colour are ignored.
TColor32 ColorToPixel(TColor Color, const TSystemColorResolver& ResolveSystemColor);
