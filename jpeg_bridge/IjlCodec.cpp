#include "jpeg_bridge/IjlCodec.h"

#include "base/ReadableFile.h"

#include "base/FileHandle.h"
#include "jpeg_bridge/JpegRowDecoder.h"
#include "jpeg_bridge/JpegRowWriter.h"
#include "jpeg_bridge/LibJpeg.h"
#include "raster/PictureLimits.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::uint32_t InitialisedValue = 0x494A4C31u;

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

int DecodeErrorCode(const TJpegResult& Errors) noexcept {
    if (Errors.Changed)
        return IJL_INVALID_DIB;
    if (Errors.CutShort)
        return IJL_DATA_TRUNCATED;
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

int EncodeErrorCode(int MessageCode, int SystemErrorCode) noexcept {
    switch (MessageCode) {
    case JERR_FILE_WRITE:
        return WriteErrorCode(SystemErrorCode, IJL_FILE_WRITE_FAILED);
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

// Opens a regular file for reading (OpenFileForReading); folders, devices and pipes are refused.
int OpenForReading(const char* FileName, TFileHandle& File) noexcept {
    switch (const int Error = OpenFileForReading(FileName, File)) {
    case 0:
        return IJL_OK;
    case EISDIR:
        return IJL_FILE_IS_FOLDER;
    case NotAFileToReadError:
        return IJL_FILE_OPEN_FAILED;
    default:
        return OpenErrorCode(Error);
    }
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

// Reads the header. Returns IJL_OK or an error code.
int ReadParams(int File, JPEG_CORE_PROPERTIES* Props) noexcept {
    TJpegHeader Header;
    const TJpegResult Result = TJpegRowDecoder::OfFile(File).ReadHeader(Header, true);
    if (!Result.Ok())
        return DecodeErrorCode(Result);
    Props->JPGWidth = Header.Width;
    Props->JPGHeight = Header.Height;
    Props->JPGChannels = Header.Components;
    return IJL_OK;
}

// Which pixels the record asks for, and the channels of the file that gives them; or an error
// code as a negative number in Code.
bool ChooseDecoding(const JPEG_CORE_PROPERTIES& Props, TJpegRowPixels& Pixels, int& Components,
                    int& Code) noexcept {
    const int From = Props.JPGColor, To = Props.DIBColor;
    const bool Grey = From == IJL_G && Props.JPGChannels == 1;
    const bool Colour = From == IJL_YCBCR && Props.JPGChannels == 3;
    if ((Grey || Colour) && To == IJL_BGR && (Props.DIBChannels == 3 || Props.DIBChannels == 4)) {
        Pixels = Props.DIBChannels == 3 ? TJpegRowPixels::Bgr : TJpegRowPixels::Bgra;
        Components = Props.JPGChannels;
    } else if (From == IJL_YCBCRA_FPX && Props.JPGChannels == 4 && To == IJL_RGBA_FPX &&
               Props.DIBChannels == 4) {
        Pixels = TJpegRowPixels::CmykAsRgba;
        Components = 4;
    } else {
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

// Decodes the whole picture into the buffer, on two threads where that pays. The file is opened
// once and every decoder reads that one open file: the picture comes from one file, whatever is
// put under its name meanwhile.
int ReadWholeImage(JPEG_CORE_PROPERTIES* Props) noexcept {
    Props->JPGDamage = 0;
    Props->JPGDamageText[0] = '\0';
    TJpegRowPixels Pixels{};
    int Components = 0;
    int Code = IJL_OK;
    if (!ChooseDecoding(*Props, Pixels, Components, Code))
        return Code;
    if (!Props->DIBBytes)
        return IJL_INVALID_POINTER;
    if (!DibFitsPicture(*Props))
        return IJL_INVALID_DIB;
    if (std::int64_t{Props->JPGWidth} * Props->JPGHeight > MaxJpegPixels)
        return IJL_IMAGE_TOO_LARGE;

    TFileHandle File;
    if (const int OpenCode = OpenForReading(Props->JPGFile, File); OpenCode != IJL_OK)
        return OpenCode;
    const TJpegRowDecoder Decoder = TJpegRowDecoder::OfFile(File.Get());
    TJpegHeader Header;
    if (const TJpegResult Result = Decoder.ReadHeader(Header, true); !Result.Ok())
        return DecodeErrorCode(Result);
    // The file may have changed since its parameters were read: the buffer must still fit.
    const TDibRows Dib = DibRowsOf(*Props);
    if (Header.Width != Dib.Width || Header.Height != Dib.Height)
        return IJL_INVALID_DIB;
    if (Header.Components != Components)
        return IJL_UNSUPPORTED_CONVERSION;
    TJpegDecodeJob Job;
    Job.Pixels = Pixels;
    Job.RowPixels = Header.Width;
    Job.RowOf = [&Dib](int Y) { return Dib.Row(static_cast<JDIMENSION>(Y)); };
    Job.EndOfDataIsFatal = true;
    Job.TwoThreads = true;
    const TJpegResult Result = Decoder.Decode(Header, Job);
    if (!Result.Ok())
        return DecodeErrorCode(Result);
    Props->JPGDamage = Result.DamageCode;
    std::memcpy(Props->JPGDamageText, Result.DamageText, sizeof Props->JPGDamageText);
    return IJL_OK;
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
    if (Props->DIBColor != IJL_BGR || (Props->DIBChannels != 3 && Props->DIBChannels != 4) ||
        Props->JPGColor != IJL_YCBCR || Props->JPGChannels != 3)
        return IJL_UNSUPPORTED_CONVERSION;
    if (!DibFitsPicture(*Props))
        return IJL_INVALID_DIB;
    const TJpegEncoding Encoding{
        std::clamp(Props->jquality, 1, 100), std::clamp(Props->JPGDensityUnit, 0, 2),
        std::clamp(Props->JPGXDensity, 1, 65535), std::clamp(Props->JPGYDensity, 1, 65535),
        TPrintDensity{Props->JPGDensityNumerator, Props->JPGDensityDenominator}};
    const TDibRows Dib = DibRowsOf(*Props);
    const TJpegWriteResult Result = WriteJpegRows(
        Props->JPGFile, Dib.Width, Dib.Height, Props->DIBChannels, Encoding,
        [&Dib](int Y) -> const std::uint8_t* { return Dib.Row(static_cast<JDIMENSION>(Y)); });
    switch (Result.Stage) {
    case TJpegWriteResult::TStage::Done:
        return IJL_OK;
    case TJpegWriteResult::TStage::Create:
        return WriteErrorCode(Result.SystemErrorCode, IJL_FILE_CREATE_FAILED);
    case TJpegWriteResult::TStage::Encode:
        return EncodeErrorCode(Result.MessageCode, Result.SystemErrorCode);
    case TJpegWriteResult::TStage::Commit:
        break;
    }
    return WriteErrorCode(Result.SystemErrorCode, IJL_FILE_WRITE_FAILED);
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
