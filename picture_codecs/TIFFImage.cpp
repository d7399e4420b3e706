#include "picture_codecs/TIFFImage.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// libtiff may take this much for one block of its own (a strip, a tile, a table), enough for an
// uncompressed 16-bit RGBA strip of the largest picture accepted.
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr tmsize_t MaxTiffAllocation = tmsize_t{1} << 30;
#else
constexpr tmsize_t MaxTiffAllocation = tmsize_t{1} << 25;
#endif

// The file's bytes as libtiff reads them, and the first error it reported.
struct TTiffSource {
    const std::uint8_t* Data;
    toff_t Size;
    toff_t At;
    char Message[512];
};

TTiffSource& SourceOf(thandle_t Handle) {
    return *static_cast<TTiffSource*>(Handle);
}

tmsize_t ReadData(thandle_t Handle, void* Target, tmsize_t Length) {
    TTiffSource& Source = SourceOf(Handle);
    if (Length < 0)
        return -1;
    const toff_t Left = Source.At < Source.Size ? Source.Size - Source.At : 0;
    const auto Count = static_cast<tmsize_t>(std::min<toff_t>(static_cast<toff_t>(Length), Left));
    if (Count > 0)
        std::memcpy(Target, Source.Data + Source.At, static_cast<std::size_t>(Count));
    Source.At += static_cast<toff_t>(Count);
    return Count;
}

tmsize_t WriteData(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t Seek(thandle_t Handle, toff_t Offset, int Whence) {
    TTiffSource& Source = SourceOf(Handle);
    // Offsets relative to the current place or the end come as unsigned values of signed ones.
    const auto Relative = static_cast<std::int64_t>(Offset);
    std::int64_t Position = 0;
    switch (Whence) {
    case SEEK_SET:
        Position = Relative;
        break;
    case SEEK_CUR:
        Position = static_cast<std::int64_t>(Source.At) + Relative;
        break;
    case SEEK_END:
        Position = static_cast<std::int64_t>(Source.Size) + Relative;
        break;
    default:
        return static_cast<toff_t>(-1);
    }
    if (Position < 0)
        return static_cast<toff_t>(-1);
    Source.At = static_cast<toff_t>(Position);
    return Source.At;
}

int Close(thandle_t) {
    return 0;
}

toff_t Size(thandle_t Handle) {
    return SourceOf(Handle).Size;
}

int Map(thandle_t, void**, toff_t*) {
    return 0;
}

void Unmap(thandle_t, void*, toff_t) {}

// Keeps the first error (the later ones follow from it) and tells libtiff it was handled, so
// that nothing is printed.
int OnError(TIFF*, void* UserData, const char* Module, const char* Format, va_list Arguments) {
    TTiffSource& Source = *static_cast<TTiffSource*>(UserData);
    if (Source.Message[0] != '\0')
        return 1;
    char Text[400];
    std::vsnprintf(Text, sizeof Text, Format, Arguments);
    std::snprintf(Source.Message, sizeof Source.Message, "%s%s%s", Module ? Module : "",
                  Module ? ": " : "", Text);
    return 1;
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

class TTiffOptions {
public:
    TTiffOptions() : FOptions(TIFFOpenOptionsAlloc()) {
        if (!FOptions)
            ThrowOutOfMemory();
    }
    ~TTiffOptions() { TIFFOpenOptionsFree(FOptions); }
    TTiffOptions(const TTiffOptions&) = delete;
    TTiffOptions& operator=(const TTiffOptions&) = delete;
    TIFFOpenOptions* Get() const noexcept { return FOptions; }

private:
    TIFFOpenOptions* FOptions;
};

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

} // namespace

TDecodedPixels TTIFFImage::Decode(const std::vector<std::uint8_t>& Data) const {
    TTiffSource Source{Data.data(), Data.size(), 0, {}};
    const TTiffOptions Options;
    TIFFOpenOptionsSetErrorHandlerExtR(Options.Get(), OnError, &Source);
    TIFFOpenOptionsSetWarningHandlerExtR(Options.Get(), OnWarning, &Source);
    TIFFOpenOptionsSetMaxSingleMemAlloc(Options.Get(), MaxTiffAllocation);
    // "m": libtiff reads through the procedures above, never through a mapping.
    TIFF* const Opened = TIFFClientOpenExt("picture", "rm", &Source, ReadData, WriteData, Seek,
                                           Close, Size, Map, Unmap, Options.Get());
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
    TDecodedPixels Picture;
    SizeDecodedPixels<ETIFFError>(Picture, Width, Height, "TIFF");
    if (!TIFFReadRGBAImageOriented(Tiff.Get(), Width, Height, Picture.Pixels.data(),
                                   ORIENTATION_TOPLEFT, 1))
        throw ETIFFError(ErrorText(Source, "the picture data is damaged or cut short"));

    // libtiff gives red in the low byte and colours multiplied by their opacity.
    for (TColor32& P : Picture.Pixels) {
        const unsigned Alpha = TIFFGetA(P);
        P = 0xFF000000u | std::uint32_t{PremultipliedOverWhite(TIFFGetR(P), Alpha)} << 16 |
            std::uint32_t{PremultipliedOverWhite(TIFFGetG(P), Alpha)} << 8 |
            PremultipliedOverWhite(TIFFGetB(P), Alpha);
    }
    return Picture;
}
