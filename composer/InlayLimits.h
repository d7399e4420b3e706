#pragma once

// The largest tray inlay the program makes: one that a JPEG file can hold and that loading would
// accept as a picture (raster/PictureLimits.h). Every composition checks the size of its inlay
// with CheckInlaySize before it takes any pixel memory, so that a small hostile picture (a JPEG
// of 65500 by 1 pixels composes to 34818 by 27093) is refused at once.

#include "base/Exception.h"

#include <cstdint>
#include <string>

// An inlay beyond the size limit; the message names the size and the limit.
DECLARE_EXCEPTION_CLASS(EInlayTooLarge, Exception);

// "The inlay would be W x H pixels, more than the largest picture held (65500 pixels a side,
// 134217728 in all)", with the limits of raster/PictureLimits.h.
std::string InlayTooLargeMessage(std::int64_t Width, std::int64_t Height);

// Throws EInlayTooLarge with InlayTooLargeMessage when an inlay of Width by Height pixels is
// wider or higher than MaxJpegSide or has more than MaxJpegPixels pixels. Sizes of 0 or less
// pass: they make an empty inlay.
void CheckInlaySize(std::int64_t Width, std::int64_t Height);
