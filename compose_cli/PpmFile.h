#pragma once

// Binary PPM (P6) output: a lossless copy of a bitmap's colours for scripts and comparisons.

#include "base/Exception.h"
#include "base/FileWriteError.h"
#include "raster/Bitmap32.h"

#include <cstdint>
#include <functional>
#include <string>

// Writes Bitmap as "P6", width, height, 255, then red, green, blue of every pixel, top row
// first; alpha is dropped. The file is written as base/AtomicFile.h says: replaced only once the
// new one is complete, or written into when it is a device or a named pipe. Throws
// Exception "No image to save" for an empty bitmap (no file is touched), EFCreateError "Cannot
// create file "%s". %s" or EWriteError "Cannot write file "%s". %s" with the system's text.
void SavePpmFile(const TBitmap32& Bitmap, const std::string& FileName);

// The same file from rows made one at a time: Row(Y) gives row Y's Width pixels of blue, green,
// red (3 bytes each) and is called once per row, from the top. "No image to save" for an empty
// size; otherwise the errors of SavePpmFile.
void SavePpmRows(const std::string& FileName, int Width, int Height,
                 const std::function<const std::uint8_t*(int Y)>& Row);
