#pragma once

// Lossless inlay files for people who print through other programs: PNG (libpng) and TIFF
// (libtiff, RGB, Deflate), each holding exactly the bitmap's red, green and blue (the pixels of
// the PPM output) and the print density, so that the inlay prints at its size:
//
//   PNG    a pHYs chunk in pixels per metre, the density's dots per inch / 0.0254 rounded (a
//          tray card's inlay of 1000 pixels or more prints within 0.02 mm of its width)
//   TIFF   XResolution and YResolution as rationals with ResolutionUnit inch, as a JPEG's EXIF
//
// The file is encoded in memory and then written as base/AtomicFile.h says: replaced only once
// the new one is complete, or written into when it is a device or a named pipe.

#include "base/FileWriteError.h"
#include "raster/Bitmap32.h"
#include "raster/PrintDensity.h"

#include <string>

// Raised when libpng or libtiff cannot encode the picture: "PNG error: %s", "TIFF error: %s".
DECLARE_EXCEPTION_CLASS(ELosslessWriteError, Exception);

// Writes Bitmap as an 8-bit RGB PNG with Density (none: no pHYs chunk). Throws Exception "No
// image to save" for an empty bitmap (no file is touched), ELosslessWriteError, EFCreateError
// or EWriteError.
void SavePngFile(const TBitmap32& Bitmap, const std::string& FileName,
                 const TPrintDensity& Density);

// Writes Bitmap as an 8-bit RGB TIFF, Deflate-compressed, with Density (none: no resolution).
// Throws as SavePngFile does.
void SaveTiffFile(const TBitmap32& Bitmap, const std::string& FileName,
                  const TPrintDensity& Density);
