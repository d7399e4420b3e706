#include "composer/InlayLimits.h"

#include "raster/Bitmap32.h"
#include "raster/PictureLimits.h"

void CheckInlaySize(std::int64_t Width, std::int64_t Height) {
    if (Width <= 0 || Height <= 0)
        return;
    if (Width > MaxJpegSide || Height > MaxJpegSide || Width * Height > MaxJpegPixels)
        throw Exception(CantAllocateDibMessage);
}
