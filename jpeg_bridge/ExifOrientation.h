#pragma once

// The orientation tag of a JPEG file's EXIF block: the number 1 to 8 with which cameras and phones
// say how the stored picture must be turned and mirrored to show upright (raster/Orientation.h).
//
// The block is an APP1 segment that begins with "Exif\0\0" and holds a small TIFF structure: a
// byte-order mark ("II" little-endian, "MM" big-endian), the number 42, the offset of the first
// directory, and in that directory 12-byte entries (tag, type, count, value); the orientation is
// tag 0x0112, one SHORT. The parser reads only the segments before the first scan and checks every
// length, offset and count against the bytes it has: damaged or hostile data gives 1.

#include <cstddef>
#include <cstdint>

// The orientation tag of the JPEG data: 1 to 8; 1 when the data is no JPEG, has no EXIF block
// before its first scan, the block has no orientation tag in its first directory, or the tag is
// damaged or holds another value.
int ExifOrientationOf(const std::uint8_t* Data, std::size_t Size) noexcept;

// The orientation tag in the TIFF structure of an EXIF block (without the "Exif\0\0" before it):
// 1 to 8, or 0 when the structure has none in its first directory or is damaged. Every offset and
// count is checked against Size.
int OrientationInTiff(const std::uint8_t* Data, std::size_t Size) noexcept;
