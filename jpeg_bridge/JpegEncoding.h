#pragma once

// How the program writes a JPEG file: the same settings and header for every file it saves,
// whichever way the pixels arrive.

#include "jpeg_bridge/LibJpeg.h"
#include "raster/PrintDensity.h"

#include <algorithm>
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

// Sets Info up for Width x Height pixels of blue, green and red (3 bytes each) as a baseline
// JFIF file of Encoding's quality and density, and starts the compression, which writes the
// file's header: the JFIF block, then the EXIF block when Encoding has an exact density. Info is
// created and has its destination; call it inside RunLibJpeg, whose error handling it relies on
// (it keeps nothing with a destructor in its frame).
void StartBgrCompress(jpeg_compress_struct& Info, int Width, int Height,
                      const TJpegEncoding& Encoding);

// Writes the rows of a compression StartBgrCompress started, row Y's pixels from RowOf(Y) (a
// pointer to Width pixels of blue, green and red), a batch of rows per call, and finishes the
// file. Call it inside the same RunLibJpeg body.
template <class TRowOf>
void WriteBgrRowsAndFinish(jpeg_compress_struct& Info, TRowOf&& RowOf) {
    constexpr JDIMENSION RowBatch = 16;
    while (Info.next_scanline < Info.image_height) {
        const JDIMENSION First = Info.next_scanline;
        const JDIMENSION Count = std::min(RowBatch, Info.image_height - First);
        JSAMPROW Rows[RowBatch];
        for (JDIMENSION I = 0; I < Count; ++I)
            Rows[I] = const_cast<JSAMPROW>(RowOf(First + I));
        if (jpeg_write_scanlines(&Info, Rows, Count) == 0)
            break;
    }
    jpeg_finish_compress(&Info);
}

// The content of the APP1 marker for Density: "Exif", two zero bytes, and a little-endian TIFF
// structure with one directory of XResolution and YResolution (both Density, as a rational of
// two 32-bit numbers) and ResolutionUnit 2 (inch). A fraction whose terms do not fit 32 bits is
// written approximately, both terms halved until they fit. Density must be set.
inline constexpr std::size_t ExifResolutionBlockSize = 72;
std::array<std::uint8_t, ExifResolutionBlockSize>
ExifResolutionBlock(const TPrintDensity& Density) noexcept;
