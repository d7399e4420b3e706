#pragma once

// The program's one JPEG writer: a picture whose rows are handed over one at a time, from the
// top, encoded with the settings and header of jpeg_bridge/JpegEncoding.h and written through a
// TAtomicFile (base/AtomicFile.h): a file is replaced only once the new one is complete, a device
// or a named pipe is written into, a file the user may not write is refused, and after a failure
// no temporary file is left. The codec layer's ijlWrite writes every saved bitmap through it,
// straight from the TBitmap32's rows; the batch command's fast way writes the rows of a streamed
// inlay through it (SaveJpegRows), which never holds the whole inlay. Equal pixels, quality and
// density give equal files, byte for byte, whichever way they come.

#include "base/Exception.h"
#include "jpeg_bridge/JpegEncoding.h"
#include "raster/PrintDensity.h"

#include <cstdint>
#include <functional>
#include <string>

// Row Y of the picture: Width pixels of blue, green, red (3 bytes each, or 4 with a fourth byte
// that is not written).
using TJpegRowSource = std::function<const std::uint8_t*(int Y)>;

// How WriteJpegRows ended.
struct TJpegWriteResult {
    enum class TStage { Done, Create, Encode, Commit };
    TStage Stage = TStage::Done;
    int SystemErrorCode = 0; // errno for Create and Commit, and for Encode with JERR_FILE_WRITE
    int MessageCode = 0;     // libjpeg's code for Encode

    bool Ok() const noexcept { return Stage == TStage::Done; }
};

// Writes the Width x Height picture (both above 0) whose rows Row gives (called once per row,
// from the top; it must not throw), PixelBytes (3 or 4) each, to FileName with Encoding.
TJpegWriteResult WriteJpegRows(const char* FileName, int Width, int Height, int PixelBytes,
                               const TJpegEncoding& Encoding, const TJpegRowSource& Row) noexcept;

// Why the fast way could not read or write a file, with libjpeg's or the system's words. The
// batch command then does the file the full way, which reports the failure in its own words.
DECLARE_EXCEPTION_CLASS(EJpegRowError, Exception);

// Writes the Width x Height picture of 3-byte rows that Row gives to FileName at Quality with
// Density, as SaveJpegFile writes a bitmap of the same pixels (SaveEncoding). Throws Exception
// "No image to save" for an empty size (no file is touched), and EJpegRowError with the system's
// or libjpeg's words when the file cannot be written; an existing file is then as it was.
void SaveJpegRows(const std::string& FileName, int Width, int Height, std::uint8_t Quality,
                  const TPrintDensity& Density, const TJpegRowSource& Row);
