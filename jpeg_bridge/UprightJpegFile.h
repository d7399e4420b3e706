#pragma once

// The user's JPEG files as every picture viewer shows them: turned and mirrored as their EXIF
// orientation tag says (a phone photo of a cover is often stored sideways with a tag of 6 or 8).

#include "raster/Bitmap32.h"

#include <cstddef>
#include <string>

// The head of a file in which the orientation tag is looked for: room for the JFIF segment and
// the largest EXIF segment (64 KiB) with others before it.
inline constexpr std::size_t ExifSearchBytes = std::size_t{256} << 10;

// The orientation tag of the JPEG file FileName (jpeg_bridge/ExifOrientation.h), read from its
// first ExifSearchBytes bytes: 1 to 8; 1 when the file cannot be read or has no sound tag there.
// Cheap: nothing is decoded. A file with a tag of 2 to 8 needs turning after LoadJpegFile.
int ReadJpegFileOrientation(const std::string& FileName) noexcept;

// LoadJpegFile, then the picture turned upright by the file's orientation tag (OrientUpright).
// Throws what LoadJpegFile throws, with its messages, and what OrientUpright throws; on every
// failure the bitmap is untouched. The bitmap's settings stay.
void LoadUprightJpegFile(TBitmap32& Bitmap, const std::string& FileName);
// The same, telling in Damage what LoadJpegFile tells of damaged data (jpeg_bridge/JpegFile.h).
void LoadUprightJpegFile(TBitmap32& Bitmap, const std::string& FileName, std::string& Damage);
