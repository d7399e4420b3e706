// The TIFF writer of picture_codecs/LosslessInlayFile.h, on libtiff, encoding into memory so that
// a pipe or a device can take the file too (libtiff seeks while it writes).

#include "picture_codecs/EncodedFile.h"
#include "picture_codecs/LosslessInlayFile.h"

#include "jpeg_bridge/JpegFile.h"
#include "picture_codecs/DecodedPicture.h"

#include "picture_codecs/TiffGlue.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The file as libtiff writes it, and the first error it reported.
struct TTiffTarget {
    std::vector<std::uint8_t> Bytes;
    toff_t At = 0;
    char Message[512] = {};
};

TTiffTarget& TargetOf(thandle_t Handle) {
    return *static_cast<TTiffTarget*>(Handle);
}

tmsize_t ReadTarget(thandle_t Handle, void* Data, tmsize_t Length) {
    TTiffTarget& Target = TargetOf(Handle);
    if (Length < 0)
        return -1;
    const toff_t Left = Target.At < Target.Bytes.size() ? Target.Bytes.size() - Target.At : 0;
    const auto Count = static_cast<tmsize_t>(std::min<toff_t>(static_cast<toff_t>(Length), Left));
    if (Count > 0)
        std::memcpy(Data, Target.Bytes.data() + Target.At, static_cast<std::size_t>(Count));
    Target.At += static_cast<toff_t>(Count);
    return Count;
}

tmsize_t WriteTarget(thandle_t Handle, void* Data, tmsize_t Length) {
    TTiffTarget& Target = TargetOf(Handle);
    if (Length < 0)
        return -1;
    const toff_t End = Target.At + static_cast<toff_t>(Length);
    try {
        if (End > Target.Bytes.size())
            Target.Bytes.resize(static_cast<std::size_t>(End));
    } catch (...) {
        return -1; // libtiff reports the short write
    }
    std::memcpy(Target.Bytes.data() + Target.At, Data, static_cast<std::size_t>(Length));
    Target.At = End;
    return Length;
}

toff_t SeekTarget(thandle_t Handle, toff_t Offset, int Whence) {
    TTiffTarget& Target = TargetOf(Handle);
    const toff_t Place = TiffSeekPlace(Target.At, Target.Bytes.size(), Offset, Whence);
    if (Place != static_cast<toff_t>(-1))
        Target.At = Place;
    return Place;
}

int CloseTarget(thandle_t) {
    return 0;
}

toff_t TargetSize(thandle_t Handle) {
    return TargetOf(Handle).Bytes.size();
}

int OnTargetError(TIFF*, void* UserData, const char* Module, const char* Format,
                  va_list Arguments) {
    TTiffTarget& Target = *static_cast<TTiffTarget*>(UserData);
    KeepFirstTiffError(Target.Message, sizeof Target.Message, Module, Format, Arguments);
    return 1;
}

// Closes the file when it is left; Finish closes it at once, which writes the directory.
class TTiffWriting {
public:
    explicit TTiffWriting(TIFF* Tiff) : FTiff(Tiff) {}
    ~TTiffWriting() { Finish(); }
    TTiffWriting(const TTiffWriting&) = delete;
    TTiffWriting& operator=(const TTiffWriting&) = delete;
    TIFF* Get() const noexcept { return FTiff; }
    void Finish() noexcept {
        if (FTiff)
            TIFFClose(FTiff);
        FTiff = nullptr;
    }

private:
    TIFF* FTiff;
};

} // namespace

void SaveTiffFile(const TBitmap32& Bitmap, const std::string& FileName,
                  const TPrintDensity& Density) {
    if (Bitmap.IsEmpty())
        throw Exception(NoImageToSaveMessage);
    TTiffTarget Target;
    const auto Fail = [&Target](const char* Otherwise) {
        throw ELosslessWriteError(std::string("TIFF error: ") +
                                  (Target.Message[0] != '\0' ? Target.Message : Otherwise));
    };
    {
        const TTiffOptions Options;
        TIFFOpenOptionsSetErrorHandlerExtR(Options.Get(), OnTargetError, &Target);
        TIFFOpenOptionsSetWarningHandlerExtR(Options.Get(), IgnoreTiffWarning, &Target);
        // "m": never a mapping; "l": little-endian, as most programs write it.
        TIFF* const Opened = TIFFClientOpenExt("inlay", "wml", &Target, ReadTarget, WriteTarget,
                                               SeekTarget, CloseTarget, TargetSize, NoTiffMapping,
                                               NoTiffUnmapping, Options.Get());
        if (!Opened)
            Fail("cannot start the file");
        TTiffWriting Tiff(Opened);
        const auto Width = static_cast<std::uint32_t>(Bitmap.Width());
        const auto Height = static_cast<std::uint32_t>(Bitmap.Height());
        TIFF* const T = Tiff.Get();
        bool Set = TIFFSetField(T, TIFFTAG_IMAGEWIDTH, Width) &&
                   TIFFSetField(T, TIFFTAG_IMAGELENGTH, Height) &&
                   TIFFSetField(T, TIFFTAG_BITSPERSAMPLE, 8) &&
                   TIFFSetField(T, TIFFTAG_SAMPLESPERPIXEL, 3) &&
                   TIFFSetField(T, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) &&
                   TIFFSetField(T, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
                   TIFFSetField(T, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
                   TIFFSetField(T, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE) &&
                   TIFFSetField(T, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(T, 0));
        if (Set && Density.IsSet()) {
            // libtiff keeps the density as a number and writes it as a rational.
            const double DotsPerInch =
                static_cast<double>(Density.Numerator) / static_cast<double>(Density.Denominator);
            Set = TIFFSetField(T, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) &&
                  TIFFSetField(T, TIFFTAG_XRESOLUTION, DotsPerInch) &&
                  TIFFSetField(T, TIFFTAG_YRESOLUTION, DotsPerInch);
        }
        if (!Set)
            Fail("cannot describe the picture");
        std::vector<std::uint8_t> Row(static_cast<std::size_t>(Width) * 3);
        for (std::uint32_t Y = 0; Y < Height; ++Y) {
            BitmapRgbRow(Bitmap, static_cast<int>(Y), Row.data());
            if (TIFFWriteScanline(T, Row.data(), Y, 0) < 0)
                Fail("cannot write the picture");
        }
        if (!TIFFFlush(T))
            Fail("cannot finish the file");
        Tiff.Finish();
    }
    WriteEncodedFile(FileName, Target.Bytes);
}
