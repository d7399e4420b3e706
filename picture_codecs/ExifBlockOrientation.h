#pragma once

// The orientation tag (raster/Orientation.h) of an EXIF block as PNG files (the eXIf chunk) and
// WebP files (the EXIF chunk) carry it: a small TIFF structure, a byte-order mark ("II"
// little-endian, "MM" big-endian), the number 42, the offset of the first directory, and in that
// directory 12-byte entries (tag, type, count, value); the orientation is tag 0x0112, one SHORT.
// Some writers put "Exif\0\0" before the structure, as in a JPEG file; it is skipped.

#include <cstddef>
#include <cstdint>

// The orientation, 1 to 8; 1 when the block is damaged, has no orientation in its first
// directory, or the tag holds another value. Every offset and count is checked against Size.
int ExifBlockOrientation(const std::uint8_t* Data, std::size_t Size) noexcept;
