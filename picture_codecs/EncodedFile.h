#pragma once

// What the lossless inlay writers (picture_codecs/LosslessInlayFile.h) share: a bitmap's rows
// as red, green, blue bytes, and writing the encoded bytes to their file.

#include "raster/Bitmap32.h"

#include <cstdint>
#include <string>
#include <vector>

// Row Y of Bitmap as red, green, blue bytes, alpha dropped, into Rgb (3 * Width bytes).
void BitmapRgbRow(const TBitmap32& Bitmap, int Y, std::uint8_t* Rgb) noexcept;

// Writes Bytes to FileName through a TAtomicFile. Throws EFCreateError or EWriteError with the
// system's text.
void WriteEncodedFile(const std::string& FileName, const std::vector<std::uint8_t>& Bytes);
