#include "jpeg_bridge/IjlCodec.h"

#include "base/AtomicFile.h"
#include "base/FileHandle.h"
#include "jpeg_bridge/JpegDescriptorSource.h"
#include "jpeg_bridge/JpegEncoding.h"
#include "jpeg_bridge/LibJpeg.h"
#include "raster/PictureLimits.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::uint32_t InitialisedValue = 0x494A4C31u;

// Row pointers handed to libjpeg per call; enough for any row group it produces at once.
constexpr int RowBatch = 16;

bool IsInitialised(const JPEG_CORE_PROPERTIES* Props) noexcept {
    return Props->InitialisedMark == InitialisedValue;
}

int OpenErrorCode(int ErrorNumber) noexcept {
    switch (ErrorNumber) {
    case ENOENT:
    case ENOTDIR:
        return IJL_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
        return IJL_FILE_ACCESS_DENIED;
    case EISDIR:
        return IJL_FILE_IS_FOLDER;
    default:
        return IJL_FILE_OPEN_FAILED;
    }
}

int WriteErrorCode(int ErrorNumber, int Otherwise) noexcept {
    switch (ErrorNumber) {
    case ENOENT:
    case ENOTDIR:
        return IJL_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return IJL_FILE_ACCESS_DENIED;
    case EISDIR:
        return IJL_FILE_IS_FOLDER;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return IJL_DISK_FULL;
    case ENOMEM:
        return IJL_OUT_OF_MEMORY;
    default:
        return Otherwise;
    }
}

int DecodeErrorCode(const TLibJpegErrors& Errors) noexcept {
    if (Errors.ScanLimitExceeded)
        return IJL_DATA_DAMAGED;
    switch (Errors.MessageCode) {
    case JERR_NO_SOI:
    case JERR_INPUT_EMPTY:
        return IJL_NOT_JPEG;
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EOF:
        return IJL_DATA_TRUNCATED;
    default:
        break;
    }
    // Whatever went wrong after the file ended early went wrong because it ended early.
    if (Errors.SawEndOfData)
        return IJL_DATA_TRUNCATED;
    switch (Errors.MessageCode) {
    case JERR_OUT_OF_MEMORY:
        return IJL_OUT_OF_MEMORY;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        return IJL_IMAGE_TOO_LARGE;
    case JERR_CONVERSION_NOTIMPL:
        return IJL_UNSUPPORTED_CONVERSION;
    default:
        return IJL_DATA_DAMAGED;
    }
}

int EncodeErrorCode(const TLibJpegErrors& Errors) noexcept {
    switch (Errors.MessageCode) {
    case JERR_FILE_WRITE:
        return WriteErrorCode(Errors.SystemErrorCode, IJL_FILE_WRITE_FAILED);
    case JERR_OUT_OF_MEMORY:
        return IJL_OUT_OF_MEMORY;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        return IJL_IMAGE_TOO_LARGE;
    case JERR_EMPTY_IMAGE:
        return IJL_INVALID_DIB;
    default:
        return IJL_FILE_WRITE_FAILED;
    }
}

// Opens a regular file for reading; folders, devices and pipes are refused.
int OpenForReading(const char* FileName, TFileHandle& File) noexcept {
    // O_NONBLOCK keeps a named pipe from blocking the open; it is refused below in any case.
    TFileHandle Handle(::open(FileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!Handle.IsOpen())
        return OpenErrorCode(errno);
    struct stat Status {};
    if (::fstat(Handle.Get(), &Status) != 0)
        return OpenErrorCode(errno);
    if (S_ISDIR(Status.st_mode))
        return IJL_FILE_IS_FOLDER;
    if (!S_ISREG(Status.st_mode))
        return IJL_FILE_OPEN_FAILED;
    File = std::move(Handle);
    return IJL_OK;
}

// The pixel buffer of a job: Height rows of Stride bytes, bottom row first when BottomUp.
struct TDibRows {
    std::uint8_t* Bits;
    std::size_t Stride;
    int Width;
    int Height;
    bool BottomUp;

    std::uint8_t* Row(JDIMENSION TopRow) const noexcept {
        const std::size_t Index =
            BottomUp ? static_cast<std::size_t>(Height) - 1 - TopRow : std::size_t{TopRow};
        return Bits + Index * Stride;
    }
};

TDibRows DibRowsOf(const JPEG_CORE_PROPERTIES& Props) noexcept {
    return TDibRows{Props.DIBBytes,
                    static_cast<std::size_t>(Props.DIBWidth) *
                            static_cast<std::size_t>(Props.DIBChannels) +
                        static_cast<std::size_t>(Props.DIBPadBytes),
                    Props.DIBWidth, std::abs(Props.DIBHeight), Props.DIBHeight < 0};
}

enum class TDecoding { Grey, Colour, FourChannel };

// CMYK as libjpeg delivers it to red, green, blue and opacity 255, in place. Files with an Adobe
// marker (all that Adobe's programs write) hold the ink amounts inverted, 255 meaning no ink.
void CmykToRgba(std::uint8_t* Pixels, int Count, bool Inverted) noexcept {
    for (int X = 0; X < Count; ++X, Pixels += 4) {
        int C = Pixels[0], M = Pixels[1], Y = Pixels[2], K = Pixels[3];
        if (!Inverted) {
            C = 255 - C;
            M = 255 - M;
            Y = 255 - Y;
            K = 255 - K;
        }
        Pixels[0] = static_cast<std::uint8_t>((C * K + 127) / 255);
        Pixels[1] = static_cast<std::uint8_t>((M * K + 127) / 255);
        Pixels[2] = static_cast<std::uint8_t>((Y * K + 127) / 255);
        Pixels[3] = 255;
    }
}

// Reads the header. Returns IJL_OK or an error code.
int ReadParams(int File, JPEG_CORE_PROPERTIES* Props) noexcept {
    TLibJpegErrors Errors;
    Errors.EndOfDataIsFatal = true;
    jpeg_decompress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            UseDescriptorSource(Info, File);
            jpeg_read_header(&Info, TRUE);
            Props->JPGWidth = static_cast<int>(Info.image_width);
            Props->JPGHeight = static_cast<int>(Info.image_height);
            Props->JPGChannels = Info.num_components;
        }))
        return DecodeErrorCode(Errors);
    return IJL_OK;
}

// Rows [First, End) of the picture, counted from the top.
struct TRowRange {
    JDIMENSION First;
    JDIMENSION End;
};

// The decoder's work for DecodeRows once the header is read. Returns IJL_OK or an error code.
int DecodeRowsOfHeader(jpeg_decompress_struct& Info, TLibJpegErrors& Errors, const TDibRows& Dib,
                       TDecoding Decoding, TRowRange Range) {
    const int Components = Decoding == TDecoding::Grey ? 1 : Decoding == TDecoding::Colour ? 3 : 4;
    // The file may have changed since its parameters were read: the buffer must still fit.
    if (static_cast<int>(Info.image_width) != Dib.Width ||
        static_cast<int>(Info.image_height) != Dib.Height)
        return IJL_INVALID_DIB;
    if (Info.num_components != Components)
        return IJL_UNSUPPORTED_CONVERSION;
    if (std::int64_t{Dib.Width} * Dib.Height > MaxJpegPixels)
        return IJL_IMAGE_TOO_LARGE;
    Info.out_color_space = Decoding == TDecoding::FourChannel ? JCS_CMYK : JCS_EXT_BGR;
    const bool Inverted = Info.saw_Adobe_marker;
    jpeg_start_decompress(&Info);
    if (static_cast<int>(Info.output_width) != Dib.Width ||
        static_cast<int>(Info.output_height) != Dib.Height ||
        Info.output_components != (Decoding == TDecoding::FourChannel ? 4 : 3))
        return IJL_INVALID_DIB;
    if (Range.First > 0 && jpeg_skip_scanlines(&Info, Range.First) != Range.First)
        return IJL_DATA_TRUNCATED;
    while (Info.output_scanline < Range.End) {
        const JDIMENSION First = Info.output_scanline;
        const JDIMENSION Count = std::min<JDIMENSION>(RowBatch, Range.End - First);
        JSAMPROW Rows[RowBatch];
        for (JDIMENSION I = 0; I < Count; ++I)
            Rows[I] = Dib.Row(First + I);
        const JDIMENSION Read = jpeg_read_scanlines(&Info, Rows, Count);
        if (Read == 0)
            break;
        if (Decoding == TDecoding::FourChannel)
            for (JDIMENSION I = 0; I < Read; ++I)
                CmykToRgba(Rows[I], Dib.Width, Inverted);
    }
    if (Info.output_scanline < Range.End)
        return IJL_DATA_TRUNCATED;
    if (Range.End == Info.output_height) {
        // The picture is complete; a missing end marker after it does not matter.
        Errors.EndOfDataIsFatal = false;
        jpeg_finish_decompress(&Info);
    }
    return IJL_OK;
}

// Decodes the rows Range of the picture into the buffer; rows above Range are skipped (their
// data is read but not turned into pixels). Returns IJL_OK or an error code.
int DecodeRows(int File, const TDibRows& Dib, TDecoding Decoding, TRowRange Range) noexcept {
    TLibJpegErrors Errors;
    Errors.EndOfDataIsFatal = true;
    jpeg_decompress_struct Info;
    int Code = IJL_OK;
    if (!RunLibJpeg(Info, Errors, [&] {
            UseDescriptorSource(Info, File);
            jpeg_read_header(&Info, TRUE);
            Code = DecodeRowsOfHeader(Info, Errors, Dib, Decoding, Range);
        }))
        return DecodeErrorCode(Errors);
    return Code;
}

// Where a decoding may be split between two threads: at the returned row, a whole number of
// row groups (iMCU rows) from the top; 0 when it is not worth it or cannot be done, that is for
// small pictures and for files of several scans (progressive ones above all), whose every scan
// covers the whole picture.
JDIMENSION SplitRow(int File) noexcept {
    TLibJpegErrors Errors;
    jpeg_decompress_struct Info;
    JDIMENSION Row = 0;
    if (!RunLibJpeg(Info, Errors, [&] {
            UseDescriptorSource(Info, File);
            jpeg_read_header(&Info, TRUE);
            if (!jpeg_has_multiple_scans(&Info) &&
                std::uint64_t{Info.image_width} * Info.image_height >= IJL_SPLIT_MIN_PIXELS) {
                const JDIMENSION Group = static_cast<JDIMENSION>(Info.max_v_samp_factor) * DCTSIZE;
                // The lower part's thread also reads the data of the rows it skips, which takes
                // about 60 % of decoding them; 70 % of the rows above the split balance the two
                // threads.
                Row = Info.image_height * 7 / 10 / Group * Group;
            }
        }))
        return 0;
    return Row;
}

std::function<void()>& SplitHook() {
    static std::function<void()> Hook;
    return Hook;
}

// Decodes the whole picture into the buffer, on two threads where that pays. The file is opened
// once, and both threads read that one open file, each at its own place: the picture comes from
// one file, whatever is put under its name meanwhile. Returns IJL_OK or an error code.
int DecodeWhole(const char* FileName, const TDibRows& Dib, TDecoding Decoding) noexcept {
    TFileHandle File;
    if (const int Code = OpenForReading(FileName, File); Code != IJL_OK)
        return Code;
    const JDIMENSION Height = static_cast<JDIMENSION>(Dib.Height);
    const JDIMENSION Split = std::thread::hardware_concurrency() > 1 ? SplitRow(File.Get()) : 0;
    if (Split > 0 && Split < Height) {
        try {
            if (SplitHook())
                SplitHook()();
            int LowerCode = IJL_OK;
            std::thread LowerPart([&] {
                LowerCode = DecodeRows(File.Get(), Dib, Decoding, TRowRange{Split, Height});
            });
            const int UpperCode = DecodeRows(File.Get(), Dib, Decoding, TRowRange{0, Split});
            LowerPart.join();
            return UpperCode != IJL_OK ? UpperCode : LowerCode;
        } catch (...) {
            // No second thread to be had (or a test hook that failed): decode on this one alone.
        }
    }
    return DecodeRows(File.Get(), Dib, Decoding, TRowRange{0, Height});
}

// Encodes the buffer into File. Returns IJL_OK or an error code.
int EncodeWhole(std::FILE* File, const TDibRows& Dib, const TJpegEncoding& Encoding) noexcept {
    TLibJpegErrors Errors;
    jpeg_compress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_stdio_dest(&Info, File);
            StartBgrCompress(Info, Dib.Width, Dib.Height, Encoding);
            WriteBgrRowsAndFinish(Info, [&](JDIMENSION Y) { return Dib.Row(Y); });
        }))
        return EncodeErrorCode(Errors);
    return IJL_OK;
}

// Which decoding the record asks for, or an error code as a negative number in Code.
bool ChooseDecoding(const JPEG_CORE_PROPERTIES& Props, TDecoding& Decoding, int& Code) noexcept {
    const int From = Props.JPGColor, To = Props.DIBColor;
    if (From == IJL_G && Props.JPGChannels == 1 && To == IJL_BGR && Props.DIBChannels == 3)
        Decoding = TDecoding::Grey;
    else if (From == IJL_YCBCR && Props.JPGChannels == 3 && To == IJL_BGR && Props.DIBChannels == 3)
        Decoding = TDecoding::Colour;
    else if (From == IJL_YCBCRA_FPX && Props.JPGChannels == 4 && To == IJL_RGBA_FPX &&
             Props.DIBChannels == 4)
        Decoding = TDecoding::FourChannel;
    else {
        const bool KnownChannels =
            Props.JPGChannels == 1 || Props.JPGChannels == 3 || Props.JPGChannels == 4;
        Code = From == IJL_OTHER || !KnownChannels ? IJL_UNSUPPORTED_CHANNELS
                                                   : IJL_UNSUPPORTED_CONVERSION;
        return false;
    }
    return true;
}

bool DibFitsPicture(const JPEG_CORE_PROPERTIES& Props) noexcept {
    return Props.JPGWidth > 0 && Props.JPGHeight > 0 && Props.DIBWidth == Props.JPGWidth &&
           (Props.DIBHeight == Props.JPGHeight || Props.DIBHeight == -Props.JPGHeight) &&
           Props.DIBPadBytes >= 0;
}

int ReadWholeImage(JPEG_CORE_PROPERTIES* Props) noexcept {
    TDecoding Decoding{};
    int Code = IJL_OK;
    if (!ChooseDecoding(*Props, Decoding, Code))
        return Code;
    if (!Props->DIBBytes)
        return IJL_INVALID_POINTER;
    if (!DibFitsPicture(*Props))
        return IJL_INVALID_DIB;
    if (std::int64_t{Props->JPGWidth} * Props->JPGHeight > MaxJpegPixels)
        return IJL_IMAGE_TOO_LARGE;
    return DecodeWhole(Props->JPGFile, DibRowsOf(*Props), Decoding);
}

} // namespace

int ijlInit(JPEG_CORE_PROPERTIES* Props) noexcept {
    if (!Props)
        return IJL_INVALID_POINTER;
    Props->DIBColor = IJL_BGR;
    Props->DIBChannels = 3;
    Props->JPGColor = IJL_YCBCR;
    Props->JPGChannels = 3;
    Props->jquality = 75;
    Props->JPGDensityUnit = 0;
    Props->JPGXDensity = 1;
    Props->JPGYDensity = 1;
    Props->JPGDensityNumerator = 0;
    Props->JPGDensityDenominator = 1;
    Props->InitialisedMark = InitialisedValue;
    return IJL_OK;
}

int ijlRead(JPEG_CORE_PROPERTIES* Props, int IoType) noexcept {
    if (!Props)
        return IJL_INVALID_POINTER;
    if (!IsInitialised(Props))
        return IJL_NOT_INITIALISED;
    if (IoType != IJL_JFILE_READPARAMS && IoType != IJL_JFILE_READWHOLEIMAGE)
        return IJL_INVALID_MODE;
    if (!Props->JPGFile || !*Props->JPGFile)
        return IJL_INVALID_FILENAME;
    if (IoType == IJL_JFILE_READWHOLEIMAGE)
        return ReadWholeImage(Props);
    TFileHandle File;
    if (const int Code = OpenForReading(Props->JPGFile, File); Code != IJL_OK)
        return Code;
    return ReadParams(File.Get(), Props);
}

int ijlWrite(JPEG_CORE_PROPERTIES* Props, int IoType) noexcept {
    if (!Props)
        return IJL_INVALID_POINTER;
    if (!IsInitialised(Props))
        return IJL_NOT_INITIALISED;
    if (IoType != IJL_JFILE_WRITEWHOLEIMAGE)
        return IJL_INVALID_MODE;
    if (!Props->JPGFile || !*Props->JPGFile)
        return IJL_INVALID_FILENAME;
    if (!Props->DIBBytes)
        return IJL_INVALID_POINTER;
    if (Props->DIBColor != IJL_BGR || Props->DIBChannels != 3 || Props->JPGColor != IJL_YCBCR ||
        Props->JPGChannels != 3)
        return IJL_UNSUPPORTED_CONVERSION;
    if (!DibFitsPicture(*Props))
        return IJL_INVALID_DIB;
    const TJpegEncoding Encoding{
        std::clamp(Props->jquality, 1, 100), std::clamp(Props->JPGDensityUnit, 0, 2),
        std::clamp(Props->JPGXDensity, 1, 65535), std::clamp(Props->JPGYDensity, 1, 65535),
        TPrintDensity{Props->JPGDensityNumerator, Props->JPGDensityDenominator}};
    TAtomicFile Output;
    if (const int ErrorNumber = Output.Create(Props->JPGFile))
        return WriteErrorCode(ErrorNumber, IJL_FILE_CREATE_FAILED);
    if (const int Code = EncodeWhole(Output.Stream(), DibRowsOf(*Props), Encoding))
        return Code;
    if (const int ErrorNumber = Output.Commit())
        return WriteErrorCode(ErrorNumber, IJL_FILE_WRITE_FAILED);
    return IJL_OK;
}

void SetIjlSplitHook(std::function<void()> Hook) {
    SplitHook() = std::move(Hook);
}

const char* ijlErrorStr(int Code) noexcept {
    switch (Code) {
    case IJL_OK:
        return "No error";
    case IJL_INVALID_POINTER:
        return "No properties record or no pixel buffer was given";
    case IJL_NOT_INITIALISED:
        return "The properties record is not initialised";
    case IJL_INVALID_MODE:
        return "Unknown read or write mode";
    case IJL_INVALID_FILENAME:
        return "No file name was given";
    case IJL_FILE_NOT_FOUND:
        return "The file or its folder does not exist";
    case IJL_FILE_ACCESS_DENIED:
        return "Access to the file is denied";
    case IJL_FILE_IS_FOLDER:
        return "The name is that of a folder";
    case IJL_FILE_OPEN_FAILED:
        return "The file cannot be opened";
    case IJL_FILE_CREATE_FAILED:
        return "The file cannot be created";
    case IJL_FILE_WRITE_FAILED:
        return "The file cannot be written";
    case IJL_DISK_FULL:
        return "The disk is full";
    case IJL_NOT_JPEG:
        return "The file holds no JPEG data";
    case IJL_DATA_TRUNCATED:
        return "The JPEG data ends before the picture is complete";
    case IJL_DATA_DAMAGED:
        return "The JPEG data is damaged or of an unsupported kind";
    case IJL_UNSUPPORTED_CHANNELS:
        return "Pictures with this number of channels are not supported";
    case IJL_UNSUPPORTED_CONVERSION:
        return "This colour conversion is not supported";
    case IJL_INVALID_DIB:
        return "The pixel buffer does not fit the picture";
    case IJL_IMAGE_TOO_LARGE:
        return "The picture has more pixels than can be held";
    case IJL_OUT_OF_MEMORY:
        return "Out of memory";
    default:
        return "Unknown error";
    }
}

int ijlFree(JPEG_CORE_PROPERTIES* Props) noexcept {
    if (!Props)
        return IJL_INVALID_POINTER;
    if (!IsInitialised(Props))
        return IJL_NOT_INITIALISED;
    Props->InitialisedMark = 0;
    return IJL_OK;
}
