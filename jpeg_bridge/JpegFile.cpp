#include "jpeg_bridge/JpegFile.h"

#include "jpeg_bridge/IjlCodec.h"
#include "jpeg_bridge/JPEGImage.h"
#include "raster/Bitmap.h"

#include <algorithm>
#include <optional>

namespace {

// The codec's properties record of one call: zero-filled and initialised on creation, released
// with ijlFree when the call ends. Declared before the intermediate bitmap, so the bitmap goes
// first.
class TIjlRecord {
public:
    explicit TIjlRecord(const std::string& FileName) {
        if (const int Code = ijlInit(&FProps))
            throw EIJLError(IjlErrorMessage("initialising for", FileName, Code));
        FInitialised = true;
    }
    ~TIjlRecord() {
        if (FInitialised)
            ijlFree(&FProps);
    }
    TIjlRecord(const TIjlRecord&) = delete;
    TIjlRecord& operator=(const TIjlRecord&) = delete;

    JPEG_CORE_PROPERTIES& Props() noexcept { return FProps; }

private:
    JPEG_CORE_PROPERTIES FProps{}; // value-initialised: every byte zero
    bool FInitialised = false;
};

struct TChannelDecoding {
    int JpgColor;
    int DibChannels;
    int DibColor;
    TPixelFormat Format;
};

TChannelDecoding DecodingFor(int JpgChannels) {
    switch (JpgChannels) {
    case 1:
        return {IJL_G, 3, IJL_BGR, TPixelFormat::pf24bit};
    case 3:
        return {IJL_YCBCR, 3, IJL_BGR, TPixelFormat::pf24bit};
    case 4:
        return {IJL_YCBCRA_FPX, 4, IJL_RGBA_FPX, TPixelFormat::pf32bit};
    default:
        return {IJL_OTHER, JpgChannels, IJL_OTHER, TPixelFormat::pfNone};
    }
}

TBitmapStorage StorageOf(TBitmap& Bitmap) {
    const std::optional<TBitmapStorage> Storage = Bitmap.QueryStorage();
    if (!Storage)
        throw EOutOfMemory(OutOfMemoryMessage);
    return *Storage;
}

} // namespace

std::string IjlErrorMessage(const std::string& Stage, const std::string& FileName, int Code) {
    return "Error " + Stage + " image:\r" + FileName + "\rError: " + ijlErrorStr(Code) +
           "\rIJL Error number: " + std::to_string(Code);
}

int DibPadBytes(int Width, int Channels) {
    const std::int64_t RowBytes = std::int64_t{Width} * Channels;
    return static_cast<int>((RowBytes + 3) / 4 * 4 - RowBytes);
}

void ConvertFourChannelPixels(std::uint8_t* Pixels, std::size_t PixelCount) {
    for (std::size_t I = 0; I < PixelCount; ++I, Pixels += 4) {
        const unsigned B0 = Pixels[0], B1 = Pixels[1], B2 = Pixels[2], A = Pixels[3];
        Pixels[0] = static_cast<std::uint8_t>((B2 * A + 1) / 256);
        Pixels[1] = static_cast<std::uint8_t>((B1 * A + 1) / 256);
        Pixels[2] = static_cast<std::uint8_t>((B0 * A + 1) / 256);
    }
}

void LoadJpegFile(TBitmap32* Bitmap, const std::string& FileName) {
    if (!Bitmap)
        throw Exception(BitmapNotInitialisedMessage);
    TIjlRecord Record(FileName);
    JPEG_CORE_PROPERTIES& Props = Record.Props();
    TBitmap Intermediate;

    Props.JPGFile = FileName.c_str();
    if (const int Code = ijlRead(&Props, IJL_JFILE_READPARAMS))
        throw EIJLError(IjlErrorMessage("reading parameters of", FileName, Code));

    // A header can claim far more pixels than the file could ever fill; such a file is refused
    // before the buffer for it is taken.
    if (std::int64_t{Props.JPGWidth} * Props.JPGHeight > MaxJpegPixels)
        throw EIJLError(IjlErrorMessage("reading", FileName, IJL_IMAGE_TOO_LARGE));

    const TChannelDecoding Decoding = DecodingFor(Props.JPGChannels);
    Props.JPGColor = Decoding.JpgColor;
    Props.DIBChannels = Decoding.DibChannels;
    Props.DIBColor = Decoding.DibColor;
    Intermediate.SetPixelFormat(Decoding.Format);
    Intermediate.SetSize(Props.JPGWidth, Props.JPGHeight);
    const TBitmapStorage Storage = StorageOf(Intermediate);

    Props.DIBWidth = Props.JPGWidth;
    Props.DIBHeight = -Props.JPGHeight;
    Props.DIBPadBytes = DibPadBytes(Props.JPGWidth, Props.DIBChannels);
    Props.DIBBytes = Storage.Bits;
    if (const int Code = ijlRead(&Props, IJL_JFILE_READWHOLEIMAGE))
        throw EIJLError(IjlErrorMessage("reading", FileName, Code));

    // Rows of 4-byte pixels have no padding: the buffer is one run of pixels.
    if (Props.DIBColor == IJL_RGBA_FPX)
        ConvertFourChannelPixels(Storage.Bits, static_cast<std::size_t>(Props.JPGWidth) *
                                                   static_cast<std::size_t>(Props.JPGHeight));
    Bitmap->CopyFrom(Intermediate);
}

void SaveJpegFile(const TBitmap32& Bitmap, const std::string& FileName, std::uint8_t Quality,
                  const TPrintDensity& Density) {
    if (Bitmap.IsEmpty())
        throw Exception(NoImageToSaveMessage);
    TIjlRecord Record(FileName);
    JPEG_CORE_PROPERTIES& Props = Record.Props();
    TBitmap Intermediate;
    Bitmap.CopyTo(Intermediate, TPixelFormat::pf24bit); // alpha dropped, no blending
    const TBitmapStorage Storage = StorageOf(Intermediate);

    Props.DIBWidth = Storage.Width;
    Props.DIBHeight = -Storage.Height;
    Props.DIBChannels = 3;
    Props.DIBColor = IJL_BGR;
    Props.DIBPadBytes = DibPadBytes(Storage.Width, 3);
    Props.DIBBytes = Storage.Bits;
    Props.JPGChannels = 3;
    Props.JPGColor = IJL_YCBCR;
    Props.JPGFile = FileName.c_str();
    Props.jquality = Quality;
    Props.JPGWidth = Storage.Width;
    Props.JPGHeight = Storage.Height;
    if (Density.IsSet()) {
        Props.JPGDensityUnit = 1;
        Props.JPGXDensity = Density.RoundedDotsPerInch();
        Props.JPGYDensity = Props.JPGXDensity;
        Props.JPGDensityNumerator = Density.Numerator;
        Props.JPGDensityDenominator = Density.Denominator;
    }
    if (const int Code = ijlWrite(&Props, IJL_JFILE_WRITEWHOLEIMAGE))
        throw EIJLError(IjlErrorMessage("Saving", FileName, Code));
}
