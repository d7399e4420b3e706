#pragma once

// The numbers of the EXIF fields (TIFF tags and value types) that the JPEG bridge reads and
// writes.

#include <cstdint>

inline constexpr std::uint16_t ExifTagOrientation = 0x0112;
inline constexpr std::uint16_t ExifTagXResolution = 0x011A;
inline constexpr std::uint16_t ExifTagYResolution = 0x011B;
inline constexpr std::uint16_t ExifTagResolutionUnit = 0x0128;

inline constexpr std::uint16_t ExifTypeShort = 3;
inline constexpr std::uint16_t ExifTypeRational = 5;
