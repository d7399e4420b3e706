#pragma once

// The JPEG codec layer: five calls and a properties record in the manner of a classic JPEG codec
// library, built on libjpeg-turbo. The caller fills the record with zero bytes, hands it to
// ijlInit, sets the fields of the job and calls ijlRead or ijlWrite, which open, decode, encode
// and write the file named in JPGFile themselves; ijlFree ends the record's use. Each call
// returns IJL_OK (0) or a negative error code, for which ijlErrorStr gives a text.
//
// The pixel buffer (the "DIB") is DIBWidth by |DIBHeight| pixels of DIBChannels bytes, each row
// followed by DIBPadBytes bytes. A negative DIBHeight means the buffer holds the bottom row first
// (the layout of a device-independent bitmap), a positive one the top row first; either way the
// picture's top row is the file's top row.
//
// Conversions ijlRead performs (JPGColor, JPGChannels -> DIBColor, DIBChannels):
//   IJL_G, 1          -> IJL_BGR, 3        grey to blue, green, red
//   IJL_YCBCR, 3      -> IJL_BGR, 3        colour (YCbCr or RGB files) to blue, green, red
//   IJL_G, 1          -> IJL_BGR, 4        the same as blue, green, red, 255: with DIBHeight
//   IJL_YCBCR, 3      -> IJL_BGR, 4        positive and no padding, a TBitmap32's store
//   IJL_YCBCRA_FPX, 4 -> IJL_RGBA_FPX, 4   CMYK or YCCK files to red, green, blue, opacity 255
// ijlWrite encodes IJL_BGR, 3 (or 4, the fourth byte not written: a TBitmap32's store) to a
// baseline JFIF file of IJL_YCBCR, 3 at quality jquality, with an EXIF resolution block after
// the JFIF block when the record gives an exact density.
//
// Both work through the program's one decoder and one writer (jpeg_bridge/JpegRowDecoder.h,
// jpeg_bridge/JpegRowWriter.h): ijlRead opens the file once and decodes large single-scan
// pictures on two threads where the machine has two cores, with the same result.

#include <cstdint>
#include <type_traits>

struct JPEG_CORE_PROPERTIES {
    // The pixel buffer.
    std::uint8_t* DIBBytes;
    int DIBWidth;
    int DIBHeight;
    int DIBPadBytes;
    int DIBChannels;
    int DIBColor;

    // The JPEG file: its name (zero-terminated, 8-bit), size, channels and colour space.
    const char* JPGFile;
    int JPGWidth;
    int JPGHeight;
    int JPGChannels;
    int JPGColor;

    // Encoder quality, 0 to 100 (below 1 counts as 1, above 100 as 100).
    int jquality;

    // Pixel density written into the JFIF header: unit 0 (only the aspect ratio), 1 (dots per
    // inch) or 2 (dots per centimetre), densities 1 to 65535.
    int JPGDensityUnit;
    int JPGXDensity;
    int JPGYDensity;
    // The exact print density, JPGDensityNumerator / JPGDensityDenominator dots per inch, written
    // besides as the EXIF resolution when both are above 0 (ijlInit sets 0: none).
    std::int64_t JPGDensityNumerator;
    std::int64_t JPGDensityDenominator;

    // After a successful IJL_JFILE_READWHOLEIMAGE: libjpeg's code and words for the first damage
    // in the data that the decoder went past (a segment cut short, a code that decodes to
    // nothing), whose rows came out grey or garbled; 0 and empty for sound data.
    int JPGDamage;
    char JPGDamageText[200];

    // Private to the codec.
    std::uint32_t InitialisedMark;
};
static_assert(std::is_trivial_v<JPEG_CORE_PROPERTIES>, "the record is filled with zero bytes");

// Colour spaces.
inline constexpr int IJL_BGR = 2;
inline constexpr int IJL_YCBCR = 3;
inline constexpr int IJL_G = 4;
inline constexpr int IJL_RGBA_FPX = 5;
inline constexpr int IJL_YCBCRA_FPX = 6;
inline constexpr int IJL_OTHER = 255;

// Read and write modes.
inline constexpr int IJL_JFILE_READPARAMS = 0;
inline constexpr int IJL_JFILE_READWHOLEIMAGE = 2;
inline constexpr int IJL_JFILE_WRITEWHOLEIMAGE = 8;

// Results.
inline constexpr int IJL_OK = 0;
inline constexpr int IJL_INVALID_POINTER = -1;
inline constexpr int IJL_NOT_INITIALISED = -2;
inline constexpr int IJL_INVALID_MODE = -3;
inline constexpr int IJL_INVALID_FILENAME = -4;
inline constexpr int IJL_FILE_NOT_FOUND = -5;
inline constexpr int IJL_FILE_ACCESS_DENIED = -6;
inline constexpr int IJL_FILE_IS_FOLDER = -7;
inline constexpr int IJL_FILE_OPEN_FAILED = -8;
inline constexpr int IJL_FILE_CREATE_FAILED = -9;
inline constexpr int IJL_FILE_WRITE_FAILED = -10;
inline constexpr int IJL_DISK_FULL = -11;
inline constexpr int IJL_NOT_JPEG = -12;
inline constexpr int IJL_DATA_TRUNCATED = -13;
inline constexpr int IJL_DATA_DAMAGED = -14;
inline constexpr int IJL_UNSUPPORTED_CHANNELS = -15;
inline constexpr int IJL_UNSUPPORTED_CONVERSION = -16;
inline constexpr int IJL_INVALID_DIB = -17;
inline constexpr int IJL_IMAGE_TOO_LARGE = -18;
inline constexpr int IJL_OUT_OF_MEMORY = -19;

// Readies a zero-filled record: sets the defaults (IJL_YCBCR and IJL_BGR with 3 channels,
// quality 75, no density unit with densities 1, no exact density) and marks it initialised.
int ijlInit(JPEG_CORE_PROPERTIES* Props) noexcept;

// IJL_JFILE_READPARAMS: reads the header of JPGFile into JPGWidth, JPGHeight and JPGChannels.
// IJL_JFILE_READWHOLEIMAGE: decodes JPGFile into DIBBytes with one of the conversions above.
// The DIB fields must describe the file's picture (DIBWidth = JPGWidth, |DIBHeight| =
// JPGHeight), and a picture of more than MaxJpegPixels pixels is refused with
// IJL_IMAGE_TOO_LARGE before anything is decoded. Not validated: the buffer holds
// |DIBHeight| rows of DIBWidth * DIBChannels + DIBPadBytes bytes. A file that ends before the
// picture is complete gives IJL_DATA_TRUNCATED; after a failure the buffer's content is open.
int ijlRead(JPEG_CORE_PROPERTIES* Props, int IoType) noexcept;

// IJL_JFILE_WRITEWHOLEIMAGE: encodes the buffer into a JPEG file named JPGFile, through a
// TAtomicFile (base/AtomicFile.h): a file is replaced only when the new one is complete, a
// device or a pipe is written into, a file the user may not write is refused
// (IJL_FILE_ACCESS_DENIED); after a failure no temporary file is left.
int ijlWrite(JPEG_CORE_PROPERTIES* Props, int IoType) noexcept;

// The text for a result code; unknown codes give "Unknown error". The text is static.
const char* ijlErrorStr(int Code) noexcept;

// Ends the use of an initialised record. The record may be initialised again afterwards.
int ijlFree(JPEG_CORE_PROPERTIES* Props) noexcept;
