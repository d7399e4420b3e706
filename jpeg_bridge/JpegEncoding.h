#pragma once

// How the program writes a JPEG file: the same settings and header for every file it saves,
// whichever way the pixels arrive.

#include "jpeg_bridge/LibJpeg.h"
#include "raster/PrintDensity.h"

#include <array>
#include <cstdint>

struct TJpegEncoding {
    int Quality;     // 1 to 100
    int DensityUnit; // JFIF: 0 only the aspect ratio, 1 dots per inch, 2 dots per centimetre
    int XDensity;    // 1 to 65535
    int YDensity;
    // Set: the exact print density, written besides in an EXIF block (XResolution and
    // YResolution, ResolutionUnit inch), which programs that print by EXIF use at full precision.
    TPrintDensity ExactDensity{};
};

// The settings of a saved inlay (SaveJpegFile, SaveJpegRows): Quality (more than 100 counts as
// 100, 0 as 1); with a Density set, the JFIF header in whole dots per inch
// (Density.RoundedDotsPerInch(), held to 1 to 65535) and the exact fraction in an EXIF block;
// without one, only the aspect ratio 1 : 1.
TJpegEncoding SaveEncoding(std::uint8_t Quality, const TPrintDensity& Density) noexcept;

// Sets Info up for Width x Height pixels of blue, green and red, PixelBytes (3, or 4 with a
// fourth byte that is not written) each, as a baseline JFIF file of Encoding's quality and
// density, and starts the compression, which writes the file's header: the JFIF block, then the
// EXIF block when Encoding has an exact density. Info is created and has its destination; call
// it inside RunLibJpeg, whose error handling it relies on (it keeps nothing with a destructor in
// its frame). The file's bytes do not depend on PixelBytes.
void StartBgrCompress(jpeg_compress_struct& Info, int Width, int Height, int PixelBytes,
                      const TJpegEncoding& Encoding);

// The content of the APP1 marker for Density: "Exif", two zero bytes, and a little-endian TIFF
// structure with one directory of XResolution and YResolution (both Density, as a rational of
// two 32-bit numbers) and ResolutionUnit 2 (inch). A fraction whose terms do not fit 32 bits is
// written approximately, both terms halved until they fit. Density must be set.
inline constexpr std::size_t ExifResolutionBlockSize = 72;
std::array<std::uint8_t, ExifResolutionBlockSize>
ExifResolutionBlock(const TPrintDensity& Density) noexcept;
