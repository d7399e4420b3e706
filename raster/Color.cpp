#include "raster/Color.h"

TColor32 ColorToPixel(TColor Color, const TSystemColorResolver& ResolveSystemColor) {
    if (Color < 0)
        Color = ResolveSystemColor ? ResolveSystemColor(Color) : 0;
    const auto Value = static_cast<std::uint32_t>(Color);
    const std::uint32_t Red = Value & 0xFFu;
    const std::uint32_t Green = (Value >> 8) & 0xFFu;
    const std::uint32_t Blue = (Value >> 16) & 0xFFu;
    return 0xFF000000u | (Red << 16) | (Green << 8) | Blue;
}
