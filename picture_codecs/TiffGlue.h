#pragma once

// What the TIFF reader and the TIFF inlay writer share of libtiff: the options a file is opened
// with, and error and warning handlers that print nothing.

#include "picture_codecs/DecodedPicture.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>

// libtiff's options for one TIFFClientOpenExt, freed when the holder goes.
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

// Keeps libtiff's first error in Message (the later ones follow from it), as "MODULE: TEXT".
inline void KeepFirstTiffError(char* Message, std::size_t Size, const char* Module,
                               const char* Format, va_list Arguments) {
    if (Message[0] != '\0')
        return;
    char Text[400];
    std::vsnprintf(Text, sizeof Text, Format, Arguments);
    std::snprintf(Message, Size, "%s%s%s", Module ? Module : "", Module ? ": " : "", Text);
}

// Tells libtiff a warning was handled, so that nothing is printed.
inline int IgnoreTiffWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// The file is read and written through its own procedures, never mapped into memory.
inline int NoTiffMapping(thandle_t, void**, toff_t*) {
    return 0;
}
inline void NoTiffUnmapping(thandle_t, void*, toff_t) {}

// The place a libtiff seek asks for: Offset from the start, from the current place At or from
// the end (Size), an offset from either of the last two coming as the unsigned value of a signed
// one. (toff_t)-1 for an unknown Whence or a place before the start.
inline toff_t TiffSeekPlace(toff_t At, toff_t Size, toff_t Offset, int Whence) {
    const auto Relative = static_cast<std::int64_t>(Offset);
    std::int64_t Position = 0;
    switch (Whence) {
    case SEEK_SET:
        Position = Relative;
        break;
    case SEEK_CUR:
        Position = static_cast<std::int64_t>(At) + Relative;
        break;
    case SEEK_END:
        Position = static_cast<std::int64_t>(Size) + Relative;
        break;
    default:
        return static_cast<toff_t>(-1);
    }
    return Position < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(Position);
}
