#pragma once

// CIE L*a*b* colours, as TIFF files of the CIELab kind store them, turned into sRGB: L*a*b*
// relative to the file's white point (D50 where the file names none, as Adobe's TIFF notes
// say), to XYZ, adapted to the D65 white of sRGB with the Bradford transform, to linear sRGB,
// and through the sRGB transfer curve. Channels outside sRGB are clipped.

#include <array>
#include <cstdint>

class TCieLabToSrgb {
public:
    // A conversion for colours relative to the white point of chromaticity (WhiteX, WhiteY).
    TCieLabToSrgb(double WhiteX, double WhiteY);

    // The sRGB red, green and blue levels (0 to 255) of L* (0 to 100), a* and b*.
    std::array<std::uint8_t, 3> Convert(double L, double A, double B) const noexcept;

private:
    std::array<double, 3> FWhite;                   // XYZ of the white point, Y = 1
    std::array<std::array<double, 3>, 3> FToLinear; // XYZ (white point) to linear sRGB
};
