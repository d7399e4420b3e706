#pragma once

// Reading and writing the user's JPEG files through the codec layer (jpeg_bridge/IjlCodec.h).
// The codec decodes straight into a TBitmap32's store and encodes straight from it (its rows
// are the codec's buffer: blue, green, red and a fourth byte, top row first, no padding); no
// other copy of the picture is made on the way. Every failure of the codec becomes an EIJLError
// whose message has four lines separated by a carriage return alone:
//
//   Error <stage> image:
//   <file name as passed in>
//   Error: <the codec's text for the code>
//   IJL Error number: <the code>
//
// with the stage "initialising for" (ijlInit), "reading parameters of" (reading the header),
// "reading" (decoding) or "Saving" (encoding and writing).

#include "base/Exception.h"
#include "raster/Bitmap32.h"
#include "raster/PrintDensity.h"

#include <cstddef>
#include <cstdint>
#include <string>

DECLARE_EXCEPTION_CLASS(EIJLError, Exception);

inline constexpr const char* BitmapNotInitialisedMessage = "Bitmap not initialised";
inline constexpr const char* NoImageToSaveMessage = "No image to save";

// Reads the JPEG file FileName into Bitmap, which takes the picture's size and pixels with
// alpha 255 (4-channel files: the codec's red, green, blue, opacity with the colours scaled by
// the opacity) and announces the change once. Throws Exception "Bitmap not initialised" without
// a bitmap; EIJLError with the stage "reading parameters of" when the file is missing, cannot be
// opened or has no readable header, and with the stage "reading" when its data is damaged or
// cut short, its channel count is not 1, 3 or 4, or it has more than MaxJpegPixels pixels
// (refused before any pixel memory is taken); Exception "Can't allocate the DIB handle" when the
// picture's store cannot be had. On each of these failures the bitmap is untouched and announces
// nothing.
void LoadJpegFile(TBitmap32* Bitmap, const std::string& FileName);
inline void LoadJpegFile(TBitmap32& Bitmap, const std::string& FileName) {
    LoadJpegFile(&Bitmap, FileName);
}
// LoadJpegFile, which also tells in Damage libjpeg's words for damage in the data that the
// decoder went past ("Corrupt JPEG data: premature end of data segment": a file cut short that
// still ends in an end marker, whose missing rows come out grey), or makes it empty for sound
// data. Such a file loads as it always has.
void LoadJpegFile(TBitmap32& Bitmap, const std::string& FileName, std::string& Damage);

// Writes Bitmap as a baseline JPEG file of quality Quality (0 to 100; more counts as 100) with
// blue, green and red as they are and alpha ignored. With a Density set, the file's JFIF header
// carries it in whole dots per inch (Density.RoundedDotsPerInch()) and an EXIF block after it
// the exact fraction, as XResolution and YResolution in dots per inch; without one, the JFIF
// header holds only the aspect ratio 1 : 1 and there is no EXIF block. The file is written as
// base/AtomicFile.h says: a file is replaced only once the new one is complete (after a failure
// an existing file is as it was), a device or a named pipe is written into, and a file the user
// may not write is refused. Throws Exception "No image to save" for an empty bitmap (no file is
// touched), EIJLError with the stage "Saving" when the file cannot be written.
void SaveJpegFile(const TBitmap32& Bitmap, const std::string& FileName, std::uint8_t Quality,
                  const TPrintDensity& Density = {});

// The EIJLError message for a stage, a file and a codec result code.
std::string IjlErrorMessage(const std::string& Stage, const std::string& FileName, int Code);

// DIBPadBytes for a row of Width pixels of Channels bytes: ((W * k + 3) div 4) * 4 - W * k.
int DibPadBytes(int Width, int Channels);

// The conversion of the codec's 4-channel pixels, in place: bytes b0, b1, b2, a become
// (b2 * a + 1) div 256, (b1 * a + 1) div 256, (b0 * a + 1) div 256, a; red, green, blue and
// opacity thus turn into the bitmap's blue, green, red and alpha, scaled by the opacity.
void ConvertFourChannelPixels(std::uint8_t* Pixels, std::size_t PixelCount);
