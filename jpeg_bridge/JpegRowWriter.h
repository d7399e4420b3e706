#pragma once

// Writing a JPEG file from rows that are made one at a time, for the batch command's fast way,
// which never holds the whole inlay: the file has exactly the bytes SaveJpegFile writes for a
// bitmap of the same pixels, quality and density (the same settings and header,
// jpeg_bridge/JpegEncoding.h), and like it replaces its target only once complete.

#include "jpeg_bridge/JpegRowReader.h"
#include "raster/PrintDensity.h"

#include <cstdint>
#include <functional>
#include <string>

// Row Y of the picture: Width pixels of blue, green, red, 3 bytes each.
using TJpegRowSource = std::function<const std::uint8_t*(int Y)>;

// Writes the Width x Height picture whose rows Row gives (called once per row, from the top) to
// FileName at Quality (0 to 100, more counts as 100) with Density in the header as SaveJpegFile
// puts it. Throws Exception "No image to save" for an empty size (no file is touched), and
// EJpegRowError with the system's or libjpeg's words when the file cannot be written; an
// existing file is then as it was and no temporary file is left.
void SaveJpegRows(const std::string& FileName, int Width, int Height, std::uint8_t Quality,
                  const TPrintDensity& Density, const TJpegRowSource& Row);
