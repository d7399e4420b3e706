#include "jpeg_bridge/JpegFile.h"

#include "jpeg_bridge/IjlCodec.h"
#include "jpeg_bridge/JpegEncoding.h"
#include "raster/Orientation.h"
#include "raster/PictureLimits.h"

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
};

// Grey and colour files arrive as blue, green, red, 255 in the bitmap's store; 4-channel files as
// the codec's red, green, blue, opacity, converted in place afterwards.
TChannelDecoding DecodingFor(int JpgChannels) {
    switch (JpgChannels) {
    case 1:
        return {IJL_G, 4, IJL_BGR};
    case 3:
        return {IJL_YCBCR, 4, IJL_BGR};
    case 4:
        return {IJL_YCBCRA_FPX, 4, IJL_RGBA_FPX};
    default:
        return {IJL_OTHER, JpgChannels, IJL_OTHER};
    }
}

// Decodes FileName into a bitmap of its own and hands that over to Bitmap once complete.
void LoadInto(TBitmap32* Bitmap, const std::string& FileName, std::string* Damage) {
    if (!Bitmap)
        throw Exception(BitmapNotInitialisedMessage);
    TIjlRecord Record(FileName);
    JPEG_CORE_PROPERTIES& Props = Record.Props();

    Props.JPGFile = FileName.c_str();
    if (const int Code = ijlRead(&Props, IJL_JFILE_READPARAMS))
        throw EIJLError(IjlErrorMessage("reading parameters of", FileName, Code));

    // A header can claim far more pixels than the file could ever fill; such a file is refused
    // before the memory for it is taken.
    if (std::int64_t{Props.JPGWidth} * Props.JPGHeight > MaxJpegPixels)
        throw EIJLError(IjlErrorMessage("reading", FileName, IJL_IMAGE_TOO_LARGE));

    const TChannelDecoding Decoding = DecodingFor(Props.JPGChannels);
    Props.JPGColor = Decoding.JpgColor;
    Props.DIBChannels = Decoding.DibChannels;
    Props.DIBColor = Decoding.DibColor;
    // The picture is decoded into a bitmap of its own, so that a failure leaves Bitmap as it was.
    TBitmap32 Loaded;
    const bool Supported = Decoding.DibColor != IJL_OTHER;
    if (Supported)
        Loaded.SetDimensions(Props.JPGWidth, Props.JPGHeight);
    Props.DIBWidth = Props.JPGWidth;
    Props.DIBHeight = Props.JPGHeight; // top row first, as the store holds its rows
    Props.DIBPadBytes = DibPadBytes(Props.JPGWidth, Props.DIBChannels);
    Props.DIBBytes =
        Supported ? reinterpret_cast<std::uint8_t*>(Loaded.PixelsForOverwrite(Loaded.FullArea()))
                  : nullptr;
    if (const int Code = ijlRead(&Props, IJL_JFILE_READWHOLEIMAGE))
        throw EIJLError(IjlErrorMessage("reading", FileName, Code));

    if (Props.DIBColor == IJL_RGBA_FPX)
        ConvertFourChannelPixels(Props.DIBBytes, static_cast<std::size_t>(Props.JPGWidth) *
                                                     static_cast<std::size_t>(Props.JPGHeight));
    if (Damage)
        *Damage = Props.JPGDamage != 0 ? Props.JPGDamageText : "";
    TakePixelsKeepingSettings(*Bitmap, Loaded);
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
    LoadInto(Bitmap, FileName, nullptr);
}

void LoadJpegFile(TBitmap32& Bitmap, const std::string& FileName, std::string& Damage) {
    LoadInto(&Bitmap, FileName, &Damage);
}

void SaveJpegFile(const TBitmap32& Bitmap, const std::string& FileName, std::uint8_t Quality,
                  const TPrintDensity& Density) {
    if (Bitmap.IsEmpty())
        throw Exception(NoImageToSaveMessage);
    TIjlRecord Record(FileName);
    JPEG_CORE_PROPERTIES& Props = Record.Props();
    // The codec reads the bitmap's own store: blue, green, red and alpha, which is not written.
    Props.DIBWidth = Bitmap.Width();
    Props.DIBHeight = Bitmap.Height(); // top row first
    Props.DIBChannels = 4;
    Props.DIBColor = IJL_BGR;
    Props.DIBPadBytes = DibPadBytes(Bitmap.Width(), 4);
    Props.DIBBytes =
        const_cast<std::uint8_t*>(reinterpret_cast<const std::uint8_t*>(Bitmap.PixelData()));
    Props.JPGChannels = 3;
    Props.JPGColor = IJL_YCBCR;
    Props.JPGFile = FileName.c_str();
    Props.JPGWidth = Bitmap.Width();
    Props.JPGHeight = Bitmap.Height();
    const TJpegEncoding Encoding = SaveEncoding(Quality, Density);
    Props.jquality = Encoding.Quality;
    Props.JPGDensityUnit = Encoding.DensityUnit;
    Props.JPGXDensity = Encoding.XDensity;
    Props.JPGYDensity = Encoding.YDensity;
    Props.JPGDensityNumerator = Encoding.ExactDensity.Numerator;
    Props.JPGDensityDenominator = Encoding.ExactDensity.Denominator;
    if (const int Code = ijlWrite(&Props, IJL_JFILE_WRITEWHOLEIMAGE))
        throw EIJLError(IjlErrorMessage("Saving", FileName, Code));
}
