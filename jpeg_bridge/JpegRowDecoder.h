#pragma once

// TJpegRowDecoder: the program's one JPEG decoder. Every JPEG the program reads passes through
// it: the user's files through the codec layer (jpeg_bridge/IjlCodec.h) into a TBitmap32's rows,
// the picture registry's JPEG kind (jpeg_bridge/JPEGImage.h) from the bytes it keeps, and the
// batch command's fast way (jpeg_bridge/JpegRowReader.h) into the rows of a streamed inlay.
//
// It reads from an open file through the one descriptor it was given (every libjpeg decoder
// reading at its own offset with pread, so several may read at once and all read the one file
// opened, whatever is put under its name meanwhile) or from bytes in memory; it delivers each
// row straight into the place the caller names for it, only the columns asked for; it refuses
// progressive files of more than MaxJpegScans scans; and it decodes a large single-scan picture
// on two threads at once (base/ForkJoin.h), the calling thread the upper rows and a second one
// the lower rows, each with a libjpeg decoder of its own. The pixels are the same either way.
//
// Nothing here throws: every outcome is a TJpegResult, which each caller words its own way.

#include <cstddef>
#include <cstdint>
#include <functional>

// Large pictures are worth a second decoding thread from this many pixels on.
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr std::uint64_t JpegSplitMinPixels = std::uint64_t{1} << 21;
#else
// Fuzzing works on small pictures and must reach the split decoding too.
inline constexpr std::uint64_t JpegSplitMinPixels = std::uint64_t{1} << 10;
#endif

// What a header says.
struct TJpegHeader {
    int Width = 0;
    int Height = 0;
    int Components = 0;     // 1 (grey), 3 (colour), 4 (CMYK or YCCK), or another count
    bool MultiScan = false; // several scans (progressive): every scan covers the whole picture
    int RowGroup = 8;       // rows per row group (iMCU row): where a decoding can be split
};

// The pixels of the delivered rows.
enum class TJpegRowPixels {
    Bgr,        // grey and colour files: blue, green, red, 3 bytes
    Bgra,       // grey and colour files: blue, green, red, 255, 4 bytes (a TBitmap32's row)
    CmykAsRgba, // CMYK and YCCK files: red, green, blue and opacity 255, 4 bytes; the inks
                // (inverted where the file has an Adobe marker, as Adobe's programs write them)
                // turned into light
    // The picture registry's decoding: grey files quantized by libjpeg to at most 236 grey
    // levels with its default dithering, colour files as they are; blue, green, red, 255.
    BgraGreyQuantized,
};

// Where decoded row Y goes: room for the row's pixels. Called once per row; from both threads
// at once when the decoding is split. Must not throw.
using TJpegRowTarget = std::function<std::uint8_t*(int Y)>;

struct TJpegDecodeJob {
    TJpegRowPixels Pixels = TJpegRowPixels::Bgr;
    // Columns [0, RowPixels) are made into pixels: the header's width for whole rows, or
    // TJpegRowDecoder::RowPixels of the columns a composition uses.
    int RowPixels = 0;
    TJpegRowTarget RowOf;
    // Whether data that ends before the picture is complete ends the work (as the codec and the
    // fast way want), or is only a warning after which libjpeg fills the rest with grey (as the
    // picture registry wants).
    bool EndOfDataIsFatal = true;
    // May the decoding be split between two threads? It is where it pays: single-scan pictures
    // of at least JpegSplitMinPixels on a machine with a second core, not quantized.
    bool TwoThreads = false;
};

// How reading a header or decoding ended.
struct TJpegResult {
    int MessageCode = 0;            // libjpeg's code of the fatal error that ended it, 0 none
    int SystemErrorCode = 0;        // errno at that moment, for JERR_FILE_READ
    bool SawEndOfData = false;      // the data ended before its end marker
    bool ScanLimitExceeded = false; // more than MaxJpegScans scans (MessageCode is then set)
    bool Changed = false;  // the data no longer is the picture of the header, or cannot give the
                           // pixels asked for (a file changed between two reads)
    bool CutShort = false; // the data ended before the rows asked for were made
    // The first warning that the data is damaged (jpeg_bridge/LibJpeg.h, IsDamage) in a decoding
    // that went on, with libjpeg's words ("Corrupt JPEG data: premature end of data segment");
    // 0 and empty for sound data.
    int DamageCode = 0;
    char DamageText[200] = {};

    bool Ok() const noexcept { return MessageCode == 0 && !Changed && !CutShort; }
};

class TJpegRowDecoder {
public:
    // Data from the open file Handle, which stays the caller's and open while the decoder is
    // used; read from its start, its own position left alone.
    static TJpegRowDecoder OfFile(int Handle) noexcept { return TJpegRowDecoder(Handle, {}, 0); }
    // Data from Size bytes at Data, which stay the caller's and in place while the decoder is
    // used. Not validated: Size > 0 (libjpeg refuses empty data with JERR_INPUT_EMPTY).
    static TJpegRowDecoder OfData(const std::uint8_t* Data, std::size_t Size) noexcept {
        return TJpegRowDecoder(-1, Data, Size);
    }

    // Reads the header into Header.
    TJpegResult ReadHeader(TJpegHeader& Header, bool EndOfDataIsFatal) const noexcept;

    // Decodes every row of the picture whose header is Header into Job.RowOf(Y), top to bottom
    // (each thread its own rows). A picture that is no longer Header's gives Changed. After a
    // failure the rows are as far as they came.
    TJpegResult Decode(const TJpegHeader& Header, const TJpegDecodeJob& Job) const noexcept;

    // The pixels a decoded row holds when columns [0, Columns) are asked for: a few more than
    // Columns (where colour is stored at half width, a pixel's colour is interpolated from the
    // samples on both sides, so the decoder reads on past the last column asked for, as a full
    // decoding does), at most the width.
    static int RowPixels(const TJpegHeader& Header, int Columns) noexcept;

private:
    TJpegRowDecoder(int Handle, const std::uint8_t* Data, std::size_t Size) noexcept
        : FHandle(Handle), FData(Data), FSize(Size) {}
    TJpegResult DecodeBand(const TJpegHeader& Header, const TJpegDecodeJob& Job, int First,
                           int End) const noexcept;

    int FHandle;
    const std::uint8_t* FData;
    std::size_t FSize;
};

// For tests: Hook runs on the calling thread whenever a decoding has been split between two
// threads, before either part is decoded. An empty one removes it. Not for use while a decoding
// runs.
void SetJpegSplitHook(std::function<void()> Hook);
