#pragma once

// The picture kinds read through libpng, libtiff and libwebp: PNG, TIFF and WebP pictures for the
// picture registry (raster/Picture.h), beside the JPEG pictures of the JPEG bridge.

#include "raster/Picture.h"

#include <string>

// Adds "png" TPNGImage, "tif" and "tiff" TTIFFImage and "webp" TWebPImage to Registry (the
// program's by default), after the kinds already there. The programs call it once at start;
// calling it again adds nothing.
void RegisterCodecPictures(TPictureRegistry& Registry = PictureRegistry());

// Whether FileName's extension (ExtractFileExt's rule) is one of ".png", ".tif", ".tiff" and
// ".webp", in any case: the files that load through the registry's codec pictures.
bool IsCodecPictureName(const std::string& FileName);
