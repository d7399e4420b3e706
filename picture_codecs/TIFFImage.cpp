#include "picture_codecs/TIFFImage.h"

#include "base/FileStream.h"
#include "picture_codecs/CieLabToSrgb.h"

#include "picture_codecs/TiffGlue.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// libtiff may take this much for one block of its own (a strip, a tile, a table), enough for an
// uncompressed 16-bit RGBA strip of the largest picture accepted.
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr tmsize_t MaxTiffAllocation = tmsize_t{1} << 30;
#else
constexpr tmsize_t MaxTiffAllocation = tmsize_t{1} << 25;
#endif

// A strip or tile that decodes to more than this must bring at least a 1 / MaxDataRatio part
// of that in data: no compression of a real picture packs tighter (deflate at most about
// 1 : 1032), and libtiff clears a block's whole buffer before it reads the data.
constexpr std::uint64_t LargeBlockBytes = std::uint64_t{64} << 20;
constexpr std::uint64_t MaxDataRatio = 4096;

// The file as libtiff reads it, where it reads next, and the first error it reported. libtiff
// reads only the parts its directories point to.
struct TTiffSource {
    TFileStream* Stream;
    toff_t Size;
    toff_t At;
    char Message[512];
};

TTiffSource& SourceOf(thandle_t Handle) {
    return *static_cast<TTiffSource*>(Handle);
}

tmsize_t ReadSource(thandle_t Handle, void* Target, tmsize_t Length) {
    TTiffSource& Source = SourceOf(Handle);
    if (Length < 0)
        return -1;
    try {
        const std::size_t Count =
            Source.Stream->ReadAt(Source.At, Target, static_cast<std::size_t>(Length));
        Source.At += Count;
        return static_cast<tmsize_t>(Count);
    } catch (const Exception& Error) {
        if (Source.Message[0] == '\0')
            std::snprintf(Source.Message, sizeof Source.Message, "%s", Error.Message().c_str());
        return -1;
    }
}

tmsize_t WriteSource(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t SeekSource(thandle_t Handle, toff_t Offset, int Whence) {
    TTiffSource& Source = SourceOf(Handle);
    const toff_t Place = TiffSeekPlace(Source.At, Source.Size, Offset, Whence);
    if (Place != static_cast<toff_t>(-1))
        Source.At = Place;
    return Place;
}

int CloseSource(thandle_t) {
    return 0;
}

toff_t SourceSize(thandle_t Handle) {
    return SourceOf(Handle).Size;
}

// Keeps the first error (the later ones follow from it) and tells libtiff it was handled, so
// that nothing is printed.
int OnSourceError(TIFF*, void* UserData, const char* Module, const char* Format,
                  va_list Arguments) {
    TTiffSource& Source = *static_cast<TTiffSource*>(UserData);
    KeepFirstTiffError(Source.Message, sizeof Source.Message, Module, Format, Arguments);
    return 1;
}

class TTiffFile {
public:
    explicit TTiffFile(TIFF* Tiff) : FTiff(Tiff) {}
    ~TTiffFile() { TIFFClose(FTiff); }
    TTiffFile(const TTiffFile&) = delete;
    TTiffFile& operator=(const TTiffFile&) = delete;
    TIFF* Get() const noexcept { return FTiff; }

private:
    TIFF* FTiff;
};

std::string ErrorText(const TTiffSource& Source, const char* Otherwise) {
    return std::string("TIFF error: ") + (Source.Message[0] != '\0' ? Source.Message : Otherwise);
}

// Whether every strip or tile of the picture lies inside the file and brings enough data for
// what it decodes to (LargeBlockBytes): a file that claims more than it holds is refused before
// any block of it is decoded.
bool HoldsItsBlocks(TIFF* Tiff, toff_t FileSize) {
    const bool Tiled = TIFFIsTiled(Tiff) != 0;
    const std::uint32_t Blocks = Tiled ? TIFFNumberOfTiles(Tiff) : TIFFNumberOfStrips(Tiff);
    const tmsize_t BlockSize = Tiled ? TIFFTileSize(Tiff) : TIFFStripSize(Tiff);
    for (std::uint32_t Block = 0; Block < Blocks; ++Block) {
        int Error = 0;
        const std::uint64_t Offset = TIFFGetStrileOffsetWithErr(Tiff, Block, &Error);
        const std::uint64_t Bytes = TIFFGetStrileByteCountWithErr(Tiff, Block, &Error);
        if (Error != 0 || Offset > FileSize || Bytes > FileSize - Offset)
            return false;
        if (static_cast<std::uint64_t>(BlockSize) > LargeBlockBytes &&
            Bytes < static_cast<std::uint64_t>(BlockSize) / MaxDataRatio)
            return false;
    }
    return true;
}

// Rows per band of decoding: whole strips or rows of tiles, so that none is decoded twice, and
// about 4 MB of pixels or more.
int BandRows(TIFF* Tiff, std::uint32_t Width, std::uint32_t Height) {
    std::uint32_t BlockRows = 0;
    if (TIFFIsTiled(Tiff))
        TIFFGetFieldDefaulted(Tiff, TIFFTAG_TILELENGTH, &BlockRows);
    else
        TIFFGetFieldDefaulted(Tiff, TIFFTAG_ROWSPERSTRIP, &BlockRows);
    BlockRows = std::clamp<std::uint32_t>(BlockRows, 1, Height);
    const std::uint32_t Wanted = std::max<std::uint32_t>(1, (4u << 20) / (Width * 4u));
    const std::uint32_t Blocks = std::max<std::uint32_t>(1, Wanted / BlockRows);
    return static_cast<int>(std::min<std::uint64_t>(std::uint64_t{Blocks} * BlockRows, Height));
}

// libtiff's conversion state, and the CIELab conversion its put routine for CIELab pixels uses.
// The routine is given the libtiff part alone: it is the first member, so the whole is found
// from it.
struct TConversion {
    TIFFRGBAImage Image;
    const TCieLabToSrgb* Lab;
};

// Turns a block of CIELab pixels (8 or 16 bits per sample, contiguous, extra samples ignored)
// into libtiff's packed colours, with sRGB properly encoded (libtiff's own conversion takes a
// simple gamma and no chromatic adaptation, which leaves its colours far off).
void PutCieLab(TIFFRGBAImage* Image, std::uint32_t* Out, std::uint32_t, std::uint32_t,
               std::uint32_t Width, std::uint32_t Height, std::int32_t FromSkew,
               std::int32_t ToSkew, unsigned char* In) {
    const TCieLabToSrgb& Lab = *reinterpret_cast<TConversion*>(Image)->Lab;
    const bool Wide = Image->bitspersample == 16;
    const std::size_t Step = std::size_t{Image->samplesperpixel} * (Wide ? 2 : 1);
    for (; Height > 0; --Height) {
        for (std::uint32_t X = Width; X > 0; --X) {
            double L = 0;
            double A = 0;
            double B = 0;
            if (Wide) {
                std::uint16_t Samples[3];
                std::memcpy(Samples, In, sizeof Samples);
                L = Samples[0] * 100.0 / 65535;
                A = static_cast<std::int16_t>(Samples[1]) / 256.0;
                B = static_cast<std::int16_t>(Samples[2]) / 256.0;
            } else {
                L = In[0] * 100.0 / 255;
                A = static_cast<std::int8_t>(In[1]);
                B = static_cast<std::int8_t>(In[2]);
            }
            const auto Rgb = Lab.Convert(L, A, B);
            *Out++ =
                0xFF000000u | std::uint32_t{Rgb[2]} << 16 | std::uint32_t{Rgb[1]} << 8 | Rgb[0];
            In += Step;
        }
        Out += ToSkew;
        In += static_cast<std::ptrdiff_t>(FromSkew) * static_cast<std::ptrdiff_t>(Step);
    }
}

class TRgbaImage {
public:
    TRgbaImage() = default;
    ~TRgbaImage() {
        if (FBegun)
            TIFFRGBAImageEnd(&FConversion.Image);
    }
    TRgbaImage(const TRgbaImage&) = delete;
    TRgbaImage& operator=(const TRgbaImage&) = delete;
    // Starts the conversion; false, with libtiff's reason in Reason, when it cannot be done.
    bool Begin(TIFF* Tiff, char (&Reason)[1024]) {
        FBegun = TIFFRGBAImageBegin(&FConversion.Image, Tiff, 1, Reason) != 0;
        TIFFRGBAImage& Image = FConversion.Image;
        if (FBegun && Image.photometric == PHOTOMETRIC_CIELAB && Image.isContig &&
            (Image.bitspersample == 8 || Image.bitspersample == 16)) {
            float* White = nullptr;
            const bool HasWhite = TIFFGetField(Tiff, TIFFTAG_WHITEPOINT, &White) && White;
            FLab.emplace(HasWhite ? White[0] : 0.0, HasWhite ? White[1] : 0.0);
            FConversion.Lab = &*FLab;
            Image.put.contig = PutCieLab;
        }
        return FBegun;
    }
    TIFFRGBAImage& Get() noexcept { return FConversion.Image; }

private:
    TConversion FConversion{};
    std::optional<TCieLabToSrgb> FLab;
    bool FBegun = false;
};

} // namespace

TDecodedFile TTIFFImage::Decode(TFileStream& Stream) const {
    // Only the header is read before the signature is known.
    std::uint8_t Signature[4] = {};
    const bool LittleEndian = Stream.ReadAt(0, Signature, 4) == 4 && Signature[0] == 'I' &&
                              Signature[1] == 'I' && (Signature[2] == 42 || Signature[2] == 43) &&
                              Signature[3] == 0;
    const bool BigEndian = Signature[0] == 'M' && Signature[1] == 'M' && Signature[2] == 0 &&
                           (Signature[3] == 42 || Signature[3] == 43);
    if (!LittleEndian && !BigEndian)
        throw ETIFFError("TIFF error: not a TIFF file, or its header is damaged");
    TTiffSource Source{&Stream, Stream.Size(), 0, {}};
    const TTiffOptions Options;
    TIFFOpenOptionsSetErrorHandlerExtR(Options.Get(), OnSourceError, &Source);
    TIFFOpenOptionsSetWarningHandlerExtR(Options.Get(), IgnoreTiffWarning, &Source);
    TIFFOpenOptionsSetMaxSingleMemAlloc(Options.Get(), MaxTiffAllocation);
    // "m": libtiff reads through the procedures above, never through a mapping.
    TIFF* const Opened =
        TIFFClientOpenExt("picture", "rm", &Source, ReadSource, WriteSource, SeekSource,
                          CloseSource, SourceSize, NoTiffMapping, NoTiffUnmapping, Options.Get());
    if (!Opened)
        throw ETIFFError(ErrorText(Source, "not a TIFF file, or its header is damaged"));
    const TTiffFile Tiff(Opened);

    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    TIFFGetField(Tiff.Get(), TIFFTAG_IMAGEWIDTH, &Width);
    TIFFGetField(Tiff.Get(), TIFFTAG_IMAGELENGTH, &Height);
    char Reason[1024] = {};
    if (!TIFFRGBAImageOK(Tiff.Get(), Reason))
        throw ETIFFError(std::string("TIFF error: ") + Reason);
    TDecodedFile Picture;
    SizeDecodedPixels<ETIFFError>(Picture.Pixels, Width, Height, "TIFF");
    if (!HoldsItsBlocks(Tiff.Get(), Source.Size))
        throw ETIFFError("TIFF error: the picture data is damaged or cut short");
    // libtiff turns only some of the eight orientations; the pixels are taken as stored and
    // turned when drawn.
    std::uint16_t Orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(Tiff.Get(), TIFFTAG_ORIENTATION, &Orientation);
    Picture.Orientation = Orientation;
    TIFFSetField(Tiff.Get(), TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);

    TRgbaImage Image;
    if (!Image.Begin(Tiff.Get(), Reason))
        throw ETIFFError(std::string("TIFF error: ") + Reason);
    Image.Get().req_orientation = ORIENTATION_TOPLEFT;
    const int Rows = BandRows(Tiff.Get(), Width, Height);
    Picture.Pixels.SetSize(static_cast<int>(Width), static_cast<int>(Height), Rows);
    for (int Y = 0; Y < static_cast<int>(Height); Y += Rows) {
        const int Count = std::min(Rows, static_cast<int>(Height) - Y);
        TColor32* const Band = Picture.Pixels.Row(Y);
        Image.Get().row_offset = Y;
        if (!TIFFRGBAImageGet(&Image.Get(), Band, Width, static_cast<std::uint32_t>(Count)))
            throw ETIFFError(ErrorText(Source, "the picture data is damaged or cut short"));
        // libtiff gives red in the low byte and colours multiplied by their opacity.
        for (TColor32* P = Band; P != Band + std::size_t{Width} * static_cast<std::size_t>(Count);
             ++P) {
            const unsigned Alpha = TIFFGetA(*P);
            *P = 0xFF000000u | std::uint32_t{PremultipliedOverWhite(TIFFGetR(*P), Alpha)} << 16 |
                 std::uint32_t{PremultipliedOverWhite(TIFFGetG(*P), Alpha)} << 8 |
                 PremultipliedOverWhite(TIFFGetB(*P), Alpha);
        }
    }
    return Picture;
}
