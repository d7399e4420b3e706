#pragma once

// TPNGImage: a PNG picture for the picture registry, read with libpng: 1, 2, 4, 8 and 16 bits per
// channel, grey, palette and colour, with or without transparency (an alpha channel or a
// transparent colour), interlaced or not. 16-bit channels are scaled to 8 bits with rounding;
// transparent pixels are laid over white. Gamma and colour profiles are not applied: the
// samples are taken as they are stored.

#include "picture_codecs/DecodedPicture.h"

// A PNG file that cannot be read; the message is "PNG error: " and libpng's reason.
DECLARE_EXCEPTION_CLASS(EPNGError, Exception);

class TPNGImage : public TDecodedPicture {
public:
    const char* ClassName() const noexcept override { return "TPNGImage"; }

protected:
    TDecodedFile Decode(TFileStream& Stream) const override;
};
