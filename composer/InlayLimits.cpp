#include "composer/InlayLimits.h"

#include "raster/PictureLimits.h"

std::string InlayTooLargeMessage(std::int64_t Width, std::int64_t Height) {
    return "The inlay would be " + std::to_string(Width) + " x " + std::to_string(Height) +
           " pixels, more than the largest picture held (" + std::to_string(MaxJpegSide) +
           " pixels a side, " + std::to_string(MaxJpegPixels) + " in all)";
}

void CheckInlaySize(std::int64_t Width, std::int64_t Height) {
    if (Width <= 0 || Height <= 0)
        return;
    if (Width > MaxJpegSide || Height > MaxJpegSide || Width * Height > MaxJpegPixels)
        throw EInlayTooLarge(InlayTooLargeMessage(Width, Height));
}
