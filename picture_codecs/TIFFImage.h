#pragma once

// TTIFFImage: a TIFF picture for the picture registry, read with libtiff's RGBA interface: the
// first picture of the file, 1 to 16 bits per channel, grey, palette, colour, CMYK and YCbCr,
// uncompressed or compressed in the ways libtiff reads, with or without an alpha channel, turned
// upright by its orientation tag where libtiff does that (the mirrorings). 16-bit channels are
// scaled to 8 bits; transparent pixels are laid over white.

#include "picture_codecs/DecodedPicture.h"

// A TIFF file that cannot be read; the message is "TIFF error: " and libtiff's reason.
DECLARE_EXCEPTION_CLASS(ETIFFError, Exception);

class TTIFFImage : public TDecodedPicture {
public:
    const char* ClassName() const noexcept override { return "TTIFFImage"; }

protected:
    TDecodedFile Decode(TFileStream& Stream) const override;
};
